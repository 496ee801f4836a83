// Appending one 16-byte sample to a full history, the oldest deleted from the
// front: what the graph does once a second.
#include <benchmark/benchmark.h>

#include "storage/rec_list.h"

namespace {

struct TSample {
  double Time;
  int32_t Value1, Value2;
};

void BM_AppendToFullHistory(benchmark::State& state) {
  const auto records = static_cast<int32_t>(state.range(0));
  TVdRecList list(sizeof(TSample));
  list.SetCapacity(records);
  TSample sample{0, 1, 2};
  for (int32_t i = 0; i < records; ++i) list.Add(&sample);
  for (auto _ : state) {
    list.Delete(0);
    sample.Time += 1;
    list.Add(&sample);
  }
  benchmark::DoNotOptimize(list.Items(0));
  state.SetLabel(std::to_string(records * sizeof(TSample) / 1024) + " KiB moved per append");
}

// Six hours and 1,920 hours of one sample a second.
BENCHMARK(BM_AppendToFullHistory)->Arg(21600)->Arg(6912000)->Unit(benchmark::kNanosecond);

}  // namespace
