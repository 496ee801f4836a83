// tallyline-cli stats: the day and period totals of the statistics window,
// from the same model.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli_commands.h"
#include "reports/json_text.h"
#include "reports/stats_model.h"
#include "storage/text_utils.h"

const char* const kStatsUsage =
    "       tallyline-cli stats [--folder DIR]\n"
    "           (--month YYYY-MM-DD | --range YYYY-MM-DD YYYY-MM-DD) [--entry NAME]\n"
    "           [--csv|--json]\n";

namespace {

// The choice of --month (one date) or --range (two, in order).
TStatsChoice ChoiceOf(const std::string& option, const std::vector<std::string>& dates) {
  if (dates.size() == 1) return TStatsChoice{false, ParseDay(option, dates[0])};
  const int start = ParseDay(option, dates[0]), end = ParseDay(option, dates[1]);
  if (end < start) throw EUsage(option, dates[1] + " is before " + dates[0]);
  return TStatsChoice{true, 0, start, end};
}

// The entry as the list offers it, when it offers it; empty otherwise.
std::string OfferedEntry(const std::vector<std::string>& entries, const std::string& name) {
  const auto found = std::find_if(entries.begin(), entries.end(), [&](const std::string& e) {
    return CompareTextIgnoringCase(e, name) == 0;
  });
  return found == entries.end() ? "" : *found;
}

}  // namespace

int StatsCommand(int argc, char** argv) {
  TFolderOptions options;
  std::string entry;
  std::optional<TStatsChoice> choice;
  ReadFolderOptions(argc, argv, options, [&](TArguments& args) {
    if (args.Take("--entry", 1)) {
      entry = args.Values()[0];
      return true;
    }
    for (const char* option : {"--month", "--range"}) {
      if (!args.Take(option, option[2] == 'm' ? 1 : 2)) continue;
      if (choice) throw EUsage(option, "only one of --month and --range");
      choice = ChoiceOf(option, args.Values());
      return true;
    }
    return false;
  });
  if (!choice) throw EUsage("stats", "needs --month or --range");
  RequireFolder(options.Folder);
  TStatsReader reader(options.Folder);
  const std::vector<std::string> entries = reader.Entries(*choice);
  const TStatsTotals totals = reader.Totals(*choice, OfferedEntry(entries, entry));
  const int status = TellNotes(reader.Notes());
  const std::pair<const char*, TStatsFigures> rows[] = {
      {"entry-day", totals.EntryDay.value_or(TStatsFigures{})},
      {"entry-period", totals.EntryPeriod},
      {"all-day", totals.AllDay},
      {"all-period", totals.AllPeriod}};
  if (options.Json) {
    std::vector<std::string> objects;
    for (const auto& [name, f] : rows)
      objects.push_back(TJsonObject()
                            .String("row", name)
                            .Number("seconds", f.Seconds)
                            .Number("calls", f.Calls)
                            .Number("received", f.Received)
                            .Number("sent", f.Sent)
                            .Text());
    PrintJson(JsonArray(objects));
    return status;
  }
  BinaryStandardOutput();
  if (options.Csv) {
    std::fputs("ROW,SECONDS,CALLS,RECEIVED,SENT\r\n", stdout);
    for (const auto& [name, f] : rows) {
      std::string line = name;
      for (const int64_t amount : {f.Seconds, f.Calls, f.Received, f.Sent})
        line += "," + std::to_string(amount);
      std::fputs((line + "\r\n").c_str(), stdout);
    }
    return status;
  }
  for (const std::string& offered : entries) std::printf("entry\t%s\n", offered.c_str());
  for (const auto& [name, figures] : rows) {
    std::string line = name;
    for (const std::string& text : StatsRowTexts(figures)) line += "\t" + text;
    std::printf("%s\n", line.c_str());
  }
  return status;
}
