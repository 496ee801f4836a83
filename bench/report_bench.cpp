// Loading the basic reports: every day of 5, 10 and 20 years, one month file
// per month, each day booked for two dial-up entries as the program books it;
// the 20 years also with each day's hours, side by side with the same files
// without them.
#include <benchmark/benchmark.h>

#include <string>

#include "month_history.h"
#include "reports/report_model.h"

namespace {

void BM_LoadReport(benchmark::State& state) {
  const THistory history("report", static_cast<int>(state.range(0)), state.range(1) != 0);
  size_t days = 0;
  for (auto _ : state) {
    const TReport report = LoadReport(history.Folder());
    days = report.Rows[rtDaily].size();
    benchmark::DoNotOptimize(days);
  }
  state.SetLabel(std::to_string(days) + " days");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * days));
}
BENCHMARK(BM_LoadReport)
    ->ArgNames({"years", "hours"})
    ->Args({5, 0})
    ->Args({10, 0})
    ->Args({20, 0})
    ->Args({20, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
