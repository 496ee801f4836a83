// Loading the basic reports: every day of 5, 10 and 20 years, one month file
// per month, each day booked for two dial-up entries as the program books it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/date_time.h"
#include "reports/report_model.h"

namespace {

// A folder of month files from January 2000 on; removed with the object.
class THistory {
 public:
  explicit THistory(int years)
      : FFolder(std::filesystem::temp_directory_path() /
                ("tallyline-bench-" + std::to_string(years))) {
    std::filesystem::remove_all(FFolder);
    std::filesystem::create_directories(FFolder / "data");
    for (int month = 0; month < 12 * years; ++month) WriteMonth(2000 + month / 12, month % 12 + 1);
  }
  ~THistory() { std::filesystem::remove_all(FFolder); }
  std::string Folder() const { return FFolder.string() + "/"; }

 private:
  void WriteMonth(int year, int month) {
    const int first = EncodeDaySerial(year, month, 1);
    std::ofstream file(FFolder / "data" / (std::to_string(first) + ".dat"), std::ios::binary);
    for (int day = first; day < first + DaysInMonth(year, month); ++day) {
      file << "[" << day << "]\r\n";
      for (const char* entry : {"Home ISP-", "Work VPN-"})
        file << entry << "Calls=2\r\n"
             << entry << "Hours=" << day % 7000 << "\r\n"
             << entry << "Recv=" << day * 1013LL << "\r\n"
             << entry << "Xmit=" << day * 97LL << "\r\n";
      file << "Calls=4\r\nHours=" << day % 14000 << "\r\nRecv=" << day * 2026LL
           << "\r\nXmit=" << day * 194LL << "\r\n\r\n";
    }
  }
  std::filesystem::path FFolder;
};

void BM_LoadReport(benchmark::State& state) {
  const THistory history(static_cast<int>(state.range(0)));
  size_t days = 0;
  for (auto _ : state) {
    const TReport report = LoadReport(history.Folder());
    days = report.Rows[rtDaily].size();
    benchmark::DoNotOptimize(days);
  }
  state.SetLabel(std::to_string(days) + " days");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * days));
}
BENCHMARK(BM_LoadReport)->ArgName("years")->Arg(5)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace
