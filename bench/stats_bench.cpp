// The statistics window's reading: the connection log of 100,000 lines read
// and sorted newest first, and the totals of a range over 10 years of month
// files, each read anew.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "month_history.h"
#include "reports/connection_log.h"
#include "reports/stats_model.h"
#include "traffic/usage_book.h"

namespace {

// A folder holding a "Connection.log" of the given number of lines, in an
// order other than the list's: entries from a dozen, some quoted, lasting
// from seconds to hours.
class TLogFolder {
 public:
  explicit TLogFolder(int lines)
      : FFolder(std::filesystem::temp_directory_path() / "tallyline-bench-log") {
    std::filesystem::remove_all(FFolder);
    std::filesystem::create_directories(FFolder);
    std::ofstream log(FFolder / "Connection.log", std::ios::binary);
    for (int i = 0; i < lines; ++i) {
      const TDateTime start = 36526 + (i * 7919 % lines) * 0.04;
      const std::string entry = i % 3 ? "ISP " + std::to_string(i % 12) : "Work,VPN";
      log << ConnectionLogLine(start, start + (i % 5000) / 86400.0, 1 + i % 2, entry, i * 1013LL,
                               i * 97LL, i % 4 ? '.' : ',')
          << "\r\n";
    }
  }
  ~TLogFolder() { std::filesystem::remove_all(FFolder); }
  std::string Folder() const { return FFolder.string() + "/"; }

 private:
  std::filesystem::path FFolder;
};

void BM_ReadConnectionLog(benchmark::State& state) {
  const TLogFolder folder(static_cast<int>(state.range(0)));
  size_t records = 0;
  for (auto _ : state) {
    const TConnectionLog log = ReadConnectionLog(folder.Folder());
    records = log.Records.size();
    benchmark::DoNotOptimize(records);
  }
  state.SetLabel(std::to_string(records) + " records");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * records));
}
BENCHMARK(BM_ReadConnectionLog)->ArgName("lines")->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_RangeTotals(benchmark::State& state) {
  const int years = static_cast<int>(state.range(0));
  const THistory history("stats", years);
  const TStatsChoice range{true, 0, EncodeDaySerial(2000, 1, 1),
                           EncodeDaySerial(2000 + years - 1, 12, 31)};
  int64_t calls = 0;
  for (auto _ : state) {
    TStatsReader reader(history.Folder());
    calls = reader.Totals(range, "Home ISP").EntryPeriod.Calls;
    benchmark::DoNotOptimize(calls);
  }
  state.SetLabel(std::to_string(calls / 2) + " days");
}
BENCHMARK(BM_RangeTotals)->ArgName("years")->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
