// tallyline-cli report: the rows of the basic reports, a day's hours and the
// top days, from the same model as the window.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "cli_commands.h"
#include "formatting/date_format.h"
#include "platform/date_time.h"
#include "reports/json_text.h"
#include "reports/report_model.h"
#include "reports/save_names.h"

const char* const kReportUsage =
    "       tallyline-cli report daily|weekly|monthly|yearly [--entry KEY] [--folder DIR]\n"
    "           [--csv|--json]\n"
    "       tallyline-cli report hourly [--day YYYY-MM-DD] [--entry KEY] [--folder DIR]\n"
    "           [--csv|--json]\n"
    "       tallyline-cli report top [--count N] [--entry KEY] [--folder DIR] [--csv|--json]\n";

namespace {

// The top days, after the window's lists.
constexpr int kTop = kBillingPeriodsList + 1;

int ListOf(const std::string& name) {
  return name == "top" ? kTop : ReportListNamed(name);
}

// More days than the calendar holds: a larger count changes nothing.
constexpr uint64_t kCountCap = 10'000'000;

size_t ParseCount(const std::string& text) {
  const EUsage notACount("--count", text + " is not a count (a whole number from 1)");
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) throw notACount;
  uint64_t count = 0;
  for (const char digit : text) count = std::min<uint64_t>(count * 10 + (digit - '0'), kCountCap);
  if (count == 0) throw notACount;
  return static_cast<size_t>(count);
}

// The row as an object; "start" is its first day, with the hour for a row
// of hours (its Period).
std::string RowJson(const TReportRow& row, bool hours) {
  std::string start = FormatDateTimePicture(std::floor(row.RowDate), "yyyy-MM-dd");
  if (hours) {
    char hour[8];
    std::snprintf(hour, sizeof hour, "T%02d:00", static_cast<int>(row.Period));
    start += hour;
  }
  return TJsonObject()
      .String("start", start)
      .Number("received", row.Download)
      .Number("sent", row.Upload)
      .Number("total", row.Total)
      .Number("seconds", row.Seconds)
      .Text();
}

void PrintRows(const std::vector<TReportRow>& rows, const TFolderOptions& options, bool hours) {
  if (options.Json) {
    std::vector<std::string> objects;
    for (const TReportRow& row : rows) objects.push_back(RowJson(row, hours));
    PrintJson(JsonArray(objects));
    return;
  }
  BinaryStandardOutput();
  if (options.Csv) {
    std::vector<const TReportRow*> pointers;
    for (const TReportRow& row : rows) pointers.push_back(&row);
    std::fputs(ReportCsv(pointers, hours).c_str(), stdout);
    return;
  }
  for (const TReportRow& row : rows) {
    std::string line = row.Caption;
    for (int column = 1; column <= 4; ++column) line += "\t" + ReportCell(row, column);
    std::printf("%s\n", line.c_str());
  }
}

// What the command was asked for.
struct TReportArgs {
  TFolderOptions Options;
  int List = -1;
  int Day = static_cast<int>(LocalNow());  // whole days
  size_t Count = 10;
  std::string Entry;
};

// The report and its options, in any order.
TReportArgs ReadReportArgs(int argc, char** argv) {
  const std::string lists = "daily, weekly, monthly, yearly, hourly or top";
  TReportArgs a;
  bool dayGiven = false, countGiven = false;
  ReadFolderOptions(argc, argv, a.Options, [&](TArguments& args) {
    if (a.List < 0 && args.TakePlain()) {
      a.List = ListOf(args.Values()[0]);
      if (a.List < 0) throw EUsage(args.Values()[0], "is no report (" + lists + ")");
      return true;
    }
    if (TakeEntry(args, a.Entry)) return true;
    if (args.Take("--day", 1)) {
      a.Day = ParseDay("--day", args.Values()[0]);
      dayGiven = true;
      return true;
    }
    if (args.Take("--count", 1)) {
      a.Count = ParseCount(args.Values()[0]);
      countGiven = true;
      return true;
    }
    return false;
  });
  if (a.List < 0) throw EUsage("report", "needs " + lists);
  if (dayGiven && a.List != kHourlyList) throw EUsage("--day", "only for report hourly");
  if (countGiven && a.List != kTop) throw EUsage("--count", "only for report top");
  return a;
}

// The rows of a list of the report, and what reading them noted.
std::vector<TReportRow> ListRows(const TReportArgs& a, TReadNotes& notes) {
  TReport report = LoadReport(a.Options.Folder, FormatSettings(), a.Entry);
  notes = report.Notes;
  if (a.List == kTop) return TopDays(report.Rows[rtDaily], a.Count);
  return std::move(report.Rows[a.List]);
}

// Nothing to print is said, and is no failure; an entry is named, so that
// a mistyped key shows.
void TellNoFigures(const TReportArgs& a) {
  const auto tell = [](const std::string& text) {
    std::fprintf(stderr, "tallyline-cli: %s\n", text.c_str());
  };
  if (MonthFiles(a.Options.Folder).empty()) return tell("no data yet");
  const std::string entry = a.Entry.empty() ? "" : " for the entry \"" + a.Entry + "\"";
  // A day booked before hours were, or not at all.
  if (a.List == kHourlyList)
    tell(FormatDateTimePicture(a.Day, "yyyy-MM-dd") + " has no hourly figures" + entry);
  else if (!a.Entry.empty())
    tell("no figures" + entry);
}

}  // namespace

int ReportCommand(int argc, char** argv) {
  const TReportArgs a = ReadReportArgs(argc, argv);
  RequireFolder(a.Options.Folder);
  TReadNotes notes;
  const bool hours = a.List == kHourlyList;
  const std::vector<TReportRow> rows =
      hours ? HourlyRows(a.Options.Folder, a.Day, notes, a.Entry) : ListRows(a, notes);
  const int status = TellNotes(NotesForRows(notes, rows));
  if (rows.empty() && !notes.Failed()) TellNoFigures(a);
  PrintRows(rows, a.Options, hours);
  return status;
}
