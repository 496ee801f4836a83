// tallyline-cli report: the rows of the basic reports, a day's hours and the
// top days, from the same model as the window.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli_commands.h"
#include "formatting/date_format.h"
#include "platform/date_time.h"
#include "reports/json_text.h"
#include "reports/report_model.h"

const char* const kReportUsage =
    "       tallyline-cli report daily|weekly|monthly|yearly [--entry KEY] [--folder DIR]\n"
    "           [--csv|--json]\n"
    "       tallyline-cli report hourly [--day YYYY-MM-DD] [--entry KEY] [--folder DIR]\n"
    "           [--csv|--json]\n"
    "       tallyline-cli report top [--count N] [--entry KEY] [--folder DIR] [--csv|--json]\n";

namespace {

// The lists after the window's tabs.
enum { kHourly = static_cast<int>(kReportTabNames.size()), kTop };

int ListOf(const std::string& name) {
  if (name == "hourly") return kHourly;
  if (name == "top") return kTop;
  for (size_t i = 0; i < kReportTabNames.size(); ++i) {
    std::string lower = kReportTabNames[i];
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name == lower) return static_cast<int>(i);
  }
  return -1;
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

// Nothing to print is said, and is no failure; the entry is named, so that
// a mistyped key shows.
void TellNoFigures(std::string what, const std::string& entry) {
  if (!entry.empty()) what += " for the entry \"" + entry + "\"";
  std::fprintf(stderr, "tallyline-cli: %s\n", what.c_str());
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

}  // namespace

int ReportCommand(int argc, char** argv) {
  const char* const lists = "daily, weekly, monthly, yearly, hourly or top";
  if (argc < 1) throw EUsage("report", std::string("needs ") + lists);
  const int list = ListOf(argv[0]);
  if (list < 0) throw EUsage(argv[0], std::string("is no report (") + lists + ")");
  TFolderOptions options;
  int day = static_cast<int>(LocalNow());  // whole days
  size_t count = 10;
  std::string entry;
  ReadFolderOptions(argc - 1, argv + 1, options, [&](TArguments& args) {
    if (args.Take("--entry", 1)) {
      if (!entry.empty()) throw EUsage("--entry", "only once");
      entry = args.Values()[0];
      // Empty would be the totals, which are asked for without --entry.
      if (entry.empty()) throw EUsage("--entry", "needs a value");
      return true;
    }
    if (args.Take("--day", 1)) {
      if (list != kHourly) throw EUsage("--day", "only for report hourly");
      day = ParseDay("--day", args.Values()[0]);
      return true;
    }
    if (args.Take("--count", 1)) {
      if (list != kTop) throw EUsage("--count", "only for report top");
      count = ParseCount(args.Values()[0]);
      return true;
    }
    return false;
  });
  RequireFolder(options.Folder);
  if (list == kHourly) {
    // Only the day's month file is read.
    TReadNotes notes;
    const std::vector<TReportRow> hours = HourlyRows(options.Folder, day, notes, entry);
    const int status = TellNotes(notes);
    // Booked before hours were, or not at all: said, and no failure.
    if (hours.empty() && !notes.Failed())
      TellNoFigures(FormatDateTimePicture(day, "yyyy-MM-dd") + " has no hourly figures", entry);
    PrintRows(hours, options, true);
    return status;
  }
  const TReport report = LoadReport(options.Folder, FormatSettings(), entry);
  const int status = TellNotes(report.Notes);
  if (!entry.empty() && report.Rows[rtDaily].empty()) TellNoFigures("no figures", entry);
  PrintRows(list == kTop ? TopDays(report.Rows[rtDaily], count) : report.Rows[list], options,
            false);
  return status;
}
