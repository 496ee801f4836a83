// Throughput of the container's building blocks on 1 MiB of month-file text
// and of random bytes; the label gives the compressed size.
#include <benchmark/benchmark.h>

#include "../tests/unit/sample_inputs.h"
#include "codec/blowfish.h"
#include "codec/stream_checksum.h"
#include "codec/stream_codec.h"

namespace {

constexpr size_t kSize = 1 << 20;

const std::string& Input(int64_t kind) {
  static const std::string text = MonthFileText(kSize), random = RandomBytes(kSize);
  return kind == 0 ? text : random;
}

const char* KindName(int64_t kind) {
  return kind == 0 ? "month text" : "random";
}

void BM_Compress(benchmark::State& state) {
  const std::string& input = Input(state.range(0));
  size_t packedSize = 0;
  for (auto _ : state) packedSize = CompressStream(input).size();
  state.SetBytesProcessed(state.iterations() * input.size());
  state.SetLabel(std::string(KindName(state.range(0))) + ", " + std::to_string(packedSize) +
                 " bytes packed");
}

void BM_Decompress(benchmark::State& state) {
  const std::string& input = Input(state.range(0));
  const std::string packed = CompressStream(input);
  for (auto _ : state) benchmark::DoNotOptimize(DecompressStream(packed));
  state.SetBytesProcessed(state.iterations() * input.size());
  state.SetLabel(KindName(state.range(0)));
}

void BM_Checksum(benchmark::State& state) {
  const std::string& input = Input(0);
  for (auto _ : state)
    benchmark::DoNotOptimize(StreamChecksum(0xFFFFFFFF, input.data(), input.size()));
  state.SetBytesProcessed(state.iterations() * input.size());
}

void BM_BlowfishEncrypt(benchmark::State& state) {
  std::string buffer = Input(0);
  const auto key = BlowfishSetKey("month file password");
  for (auto _ : state) {
    BlowfishEncryptBuffer(*key, buffer.data(), buffer.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * buffer.size());
}

// The schedule runs the cipher 521 times: paid once per file written or read.
void BM_BlowfishSetKey(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(BlowfishSetKey("month file password"));
}

BENCHMARK(BM_Compress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decompress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Checksum)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlowfishEncrypt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlowfishSetKey)->Unit(benchmark::kMicrosecond);

}  // namespace
