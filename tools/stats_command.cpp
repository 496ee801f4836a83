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
#include "reports/stats_model.h"
#include "storage/text_utils.h"

const char* const kStatsUsage =
    "       tallyline-cli stats [--folder DIR]\n"
    "           (--month YYYY-MM-DD | --range YYYY-MM-DD YYYY-MM-DD) [--entry NAME] [--csv]\n";

namespace {

// The choice of --month (one date) or --range (two); none when a date does
// not parse.
std::optional<TStatsChoice> ChoiceOf(const std::vector<std::string>& dates) {
  std::vector<int> days;
  for (const std::string& date : dates) {
    const auto day = ParseDay(date);
    if (!day) return std::nullopt;
    days.push_back(*day);
  }
  if (days.size() == 1) return TStatsChoice{false, days[0]};
  return TStatsChoice{true, 0, days[0], days[1]};
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
  std::vector<std::string> dates;  // one for --month, two for --range
  const bool usable = ReadFolderOptions(argc, argv, options, [&](TArguments& args) {
    if (args.Take("--entry", 1))
      entry = args.Values()[0];
    else if (dates.empty() && (args.Take("--month", 1) || args.Take("--range", 2)))
      dates = args.Values();
    else
      return false;
    return true;
  });
  const auto choice = usable && !dates.empty() ? ChoiceOf(dates) : std::nullopt;
  if (!choice) return 2;
  TStatsReader reader(options.Folder);
  const std::vector<std::string> entries = reader.Entries(*choice);
  const TStatsTotals totals = reader.Totals(*choice, OfferedEntry(entries, entry));
  const std::pair<const char*, TStatsFigures> rows[] = {
      {"entry-day", totals.EntryDay.value_or(TStatsFigures{})},
      {"entry-period", totals.EntryPeriod},
      {"all-day", totals.AllDay},
      {"all-period", totals.AllPeriod}};
  BinaryStandardOutput();
  if (options.Csv) {
    std::fputs("ROW,SECONDS,CALLS,RECEIVED,SENT\r\n", stdout);
    for (const auto& [name, f] : rows) {
      std::string line = name;
      for (const int64_t amount : {f.Seconds, int64_t{f.Calls}, f.Received, f.Sent})
        line += "," + std::to_string(amount);
      std::fputs((line + "\r\n").c_str(), stdout);
    }
    return 0;
  }
  for (const std::string& offered : entries) std::printf("entry\t%s\n", offered.c_str());
  for (const auto& [name, figures] : rows) {
    std::string line = name;
    for (const std::string& text : StatsRowTexts(figures)) line += "\t" + text;
    std::printf("%s\n", line.c_str());
  }
  return 0;
}
