// tallyline-cli chart: a report's chart as a PNG file, the picture the
// report window saves, drawn by the same code.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/graph_settings.h"
#include "chart_picture.h"
#include "cli_commands.h"
#include "platform/date_time.h"
#include "reports/chart_slots.h"
#include "reports/save_names.h"
#include "storage/ini_file.h"

const char* const kChartUsage =
    "       tallyline-cli chart daily|weekly|monthly|yearly [--from YYYY-MM-DD --to YYYY-MM-DD]\n"
    "           [--entry KEY] [--width W] [--height H] [--folder DIR] --out FILE.png\n"
    "       tallyline-cli chart hourly [--day YYYY-MM-DD] [--entry KEY] [--width W]\n"
    "           [--height H] [--folder DIR] --out FILE.png\n";

namespace {

// Sizes a window may have; the picture is made in memory whole.
constexpr int kMinSize = 64;
constexpr int kMaxSize = 4096;
// Slots enough for 27 years of days; more would be bars thinner than a pixel.
constexpr int64_t kMaxSlots = 10'000;

struct TChartArgs {
  TFolderOptions Options;
  int List = -1;
  std::optional<int> Day, From, To;
  std::string Entry;
  int Width = 640;
  int Height = 240;
  std::string Out;
};

int ParseSize(const char* option, const std::string& text) {
  const EUsage notASize(option, text + " is not a size (" + std::to_string(kMinSize) + " to " +
                                    std::to_string(kMaxSize) + " pixels)");
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos)
    throw notASize;
  const int size = std::stoi(text);
  if (size < kMinSize || size > kMaxSize) throw notASize;
  return size;
}

TChartArgs ReadChartArgs(int argc, char** argv) {
  const std::string lists = "daily, weekly, monthly, yearly or hourly";
  TChartArgs a;
  ReadFolderOptions(argc, argv, a.Options, [&](TArguments& args) {
    if (a.List < 0 && args.TakePlain()) {
      a.List = ReportListNamed(args.Values()[0]);
      if (a.List < 0) throw EUsage(args.Values()[0], "is no chart (" + lists + ")");
      return true;
    }
    if (TakeEntry(args, a.Entry)) return true;
    for (auto [option, day] : {std::pair{"--day", &a.Day}, {"--from", &a.From}, {"--to", &a.To}})
      if (args.Take(option, 1)) return (*day = ParseDay(option, args.Values()[0])), true;
    if (args.Take("--width", 1)) return (a.Width = ParseSize("--width", args.Values()[0])), true;
    if (args.Take("--height", 1)) return (a.Height = ParseSize("--height", args.Values()[0])), true;
    if (args.Take("--out", 1)) {
      a.Out = args.Values()[0];
      if (a.Out.empty()) throw EUsage("--out", "needs a value");
      return true;
    }
    return false;
  });
  if (a.Options.Csv || a.Options.Json)
    throw EUsage(a.Options.Csv ? "--csv" : "--json", "a chart is a picture");
  if (a.List < 0) throw EUsage("chart", "needs " + lists);
  if (a.Out.empty()) throw EUsage("chart", "needs --out FILE.png");
  const bool hourly = a.List == kHourlyList;
  if (a.Day && !hourly)
    throw EUsage("--day", "only for chart hourly (--from and --to for the others)");
  if ((a.From || a.To) && hourly)
    throw EUsage(a.From ? "--from" : "--to", "not for chart hourly (--day)");
  if (a.From.has_value() != a.To.has_value())
    throw EUsage(a.From ? "--from" : "--to", "needs --from and --to together");
  if (a.From && *a.From > *a.To) throw EUsage("--to", "comes before --from");
  if (a.From && ChartSlotCount(a.List, {*a.From, *a.To}) > kMaxSlots)
    throw EUsage("--to",
                 "too long a range for a chart (" + std::to_string(kMaxSlots) + " bars at most)");
  return a;
}

// The graph's colours as folder's settings.ini sets them.
TChartLook LookOf(const std::string& folder, TReadNotes& notes) {
  TMeterModel graph;
  TMainSettings settings;
  if (const std::unique_ptr<TIniFile32> ini = ReadIniFile(folder + "settings.ini", notes))
    settings = ReadMainSettings(*ini);
  ApplyGraphSettings(settings, graph);
  return ReportChartLook(graph);
}

}  // namespace

int ChartCommand(int argc, char** argv) {
  const TChartArgs a = ReadChartArgs(argc, argv);
  RequireFolder(a.Options.Folder);
  TReadNotes notes;
  const TChartLook look = LookOf(a.Options.Folder, notes);
  std::vector<TReportRow> rows;
  TDayRange range;
  if (a.List == kHourlyList) {
    const int day = a.Day.value_or(static_cast<int>(LocalNow()));
    rows = HourlyRows(a.Options.Folder, day, notes, a.Entry);
    range = {day, day};
  } else {
    TReport report = LoadReport(a.Options.Folder, FormatSettings(), a.Entry);
    notes.Add(report.Notes);
    rows = std::move(report.Rows[a.List]);
    range = a.From ? TDayRange{*a.From, *a.To} : ChartRangeAround(a.List, NewestDay(rows), rows);
  }
  const int status = TellNotes(NotesForRows(notes, rows));
  WriteChartPicture(ReportChartOf(a.List, rows, range), look, a.Width, a.Height, a.Out);
  return status;
}
