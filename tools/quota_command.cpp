// tallyline-cli quota: the billing period and the data quota's figures, from
// the same model as the main window's tip.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "cli_commands.h"
#include "formatting/date_format.h"
#include "formatting/number_format.h"
#include "platform/date_time.h"
#include "reports/json_text.h"
#include "reports/quota.h"
#include "storage/ini_file.h"

const char* const kQuotaUsage =
    "       tallyline-cli quota [--folder DIR] [--today YYYY-MM-DD] [--csv|--json]\n";

namespace {

// The quota as folder's settings.ini sets it; the defaults without one, or
// noted when it cannot be read.
TQuotaSettings ReadSettings(const std::string& folder, TReadNotes& notes) {
  const std::unique_ptr<TIniFile32> settings = ReadIniFile(folder + "settings.ini", notes);
  return settings ? ReadQuotaSettings(*settings) : TQuotaSettings{};
}

std::string ShortDate(int32_t day) {
  return FormatDateTimePicture(day, FormatSettings().ShortDateFormat);
}

// The figures as one object, with the export's columns as keys and its
// values, the percent a number.
std::string FiguresJson(const TQuotaFigures& f) {
  return TJsonObject()
      .String("start", FormatDateTimePicture(f.Period.Start, "yyyy-MM-dd"))
      .String("end", FormatDateTimePicture(f.Period.End, "yyyy-MM-dd"))
      .Number("used", f.Used)
      .Number("limit", f.Limit)
      .Raw("percent", QuotaPercentText(f))
      .Number("daysleft", f.DaysLeft)
      .Number("budget", f.Budget)
      .Number("projected", f.Projected)
      .Text();
}

}  // namespace

int QuotaCommand(int argc, char** argv) {
  TFolderOptions options;
  int today = static_cast<int>(LocalNow());  // whole days
  ReadFolderOptions(argc, argv, options, [&](TArguments& args) {
    if (!args.Take("--today", 1)) return false;
    today = ParseDay("--today", args.Values()[0]);
    return true;
  });
  RequireFolder(options.Folder);
  TReadNotes notes;
  const TQuotaSettings quota = ReadSettings(options.Folder, notes);
  // The figures still tell what the period used. Settings not read are no
  // quota turned off.
  if (!quota.Enabled && !notes.Failed())
    std::fputs("tallyline-cli: the quota is not enabled\n", stderr);
  const TQuotaFigures figures = ReadQuotaFigures(options.Folder, quota, today, notes);
  const int status = TellNotes(notes);
  if (options.Json) {
    PrintJson(FiguresJson(figures));
    return status;
  }
  BinaryStandardOutput();
  if (options.Csv) {
    std::fputs(QuotaCsv(figures).c_str(), stdout);
    return status;
  }
  std::printf("Period: %s - %s\n%s\n%s\nProjected: %s\n", ShortDate(figures.Period.Start).c_str(),
              ShortDate(figures.Period.End).c_str(), QuotaTipLine(figures).c_str(),
              QuotaBudgetText(figures).c_str(),
              FormatByteSize(static_cast<double>(figures.Projected)).c_str());
  return status;
}
