// The graph's recurring costs: one paint of a full view, once a second while
// the window shows, whole or as the window does it after an append; one
// append to a full history, once a sample; and a paint while browsing a
// long history.
#include <benchmark/benchmark.h>

#include <cmath>

#include "controls/meter_model.h"
#include "controls/meter_painter.h"
#include "controls/meter_renderer.h"
#include "ui/glyph_canvas.h"

namespace {

// A clock a second further on at every look, as when samples come once a
// second: every append then recalculates the automatic maximum.
TMeterSystem SteppingClock(uint32_t& tick) {
  TMeterSystem system;
  system.TickCount = [&tick] { return tick += 1001; };
  system.Now = [] { return 46000.5; };
  return system;
}

// Bytes a second that wander and burst, so lines run in every direction.
int32_t Traffic(int i) {
  const double wave = 30000 + 25000 * std::sin(i / 7.0) + 9000 * std::sin(i * 1.7);
  return static_cast<int32_t>(i % 150 > 110 ? wave * 12 : wave);
}

// Paints as the window does, the meter keeping the layout; the sizes here
// always leave room for the plot.
void Paint(TMeterModel& meter, TCanvas& main, TCanvas& super, int width, int height) {
  meter.SetLayout(PaintMeter(meter, main, super, width, height).value());
}

// The main window's look: white plot, labels with units, time lines.
void MainWindowLook(TMeterModel& meter) {
  meter.SetGraphBackgroundColor(0xFFFFFF);
  meter.SetGridColor(0x808080);
  meter.SetTextColor(0x000080);
  meter.SetYAxisSuffex(true);
  meter.SetVLine(true);
  meter.SetShowVScale(true);
  meter.SetHScale(2);
  meter.SetVPos(120);
  meter.SetMinMaxValue(1024);
}

void AppendTraffic(TMeterModel& meter, int i) {
  meter.AddValues(Traffic(i), Traffic(i + 40) / 6);
}

// A full view at the benchmark's width, height, AntiAlias and area setting,
// painted once.
void FillView(benchmark::State& state, TMeterModel& meter, TCanvas& main, TCanvas& super) {
  const auto width = static_cast<int>(state.range(0));
  MainWindowLook(meter);
  meter.SetAntiAlias(static_cast<uint8_t>(state.range(2)));
  meter.SetSolid(state.range(3) != 0);
  for (int i = 0; i < width; ++i) AppendTraffic(meter, i);
  Paint(meter, main, super, width, static_cast<int>(state.range(1)));
  meter.RecalcAutoMax(true);
}

void BM_Paint(benchmark::State& state) {
  uint32_t tick = 0;
  TMeterModel meter(SteppingClock(tick));
  TGlyphCanvas main, super;
  FillView(state, meter, main, super);
  const auto width = static_cast<int>(state.range(0));
  const auto height = static_cast<int>(state.range(1));
  for (auto _ : state) Paint(meter, main, super, width, height);
  state.SetLabel(std::to_string(meter.VisibleCount()) + " samples shown");
}

// As the window paints after each sample: the picture kept and moved on,
// whole only when the scale or the layout changes.
void BM_AppendAndPaint(benchmark::State& state) {
  uint32_t tick = 0;
  TMeterModel meter(SteppingClock(tick));
  TGlyphCanvas main, super;
  FillView(state, meter, main, super);
  const auto width = static_cast<int>(state.range(0));
  const auto height = static_cast<int>(state.range(1));
  TMeterRenderer renderer;
  meter.SetLayout(renderer.Paint(meter, main, super, width, height).value().Layout);
  int i = width, whole = 0;
  for (auto _ : state) {
    AppendTraffic(meter, i++);
    const TMeterRenderer::TResult result =
        renderer.Paint(meter, main, super, width, height).value();
    meter.SetLayout(result.Layout);
    whole += result.Changed.front() == TRect{0, 0, width, height};
  }
  state.SetLabel(std::to_string(meter.VisibleCount()) + " samples shown, " + std::to_string(whole) +
                 " of " + std::to_string(i - width) + " paints whole");
}

void PaintArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"w", "h", "aa", "solid"});
  for (int antiAlias = 0; antiAlias <= 3; ++antiAlias)
    for (auto [width, height] : {std::pair{584, 282}, std::pair{1920, 1080}})
      for (int solid : {0, 1}) b->Args({width, height, antiAlias, solid});
}
BENCHMARK(BM_Paint)->Apply(PaintArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AppendAndPaint)->Apply(PaintArgs)->Unit(benchmark::kMicrosecond);

// The middle of 2,000,000 samples at HScale pixels a sample, 584 x 282.
void BM_PaintBrowsing(benchmark::State& state) {
  constexpr int32_t kSamples = 2000000;
  uint32_t tick = 0;
  TMeterModel meter(SteppingClock(tick));
  MainWindowLook(meter);
  meter.SetHScale(static_cast<int>(state.range(0)));
  meter.SetHistoryMax(kSamples);
  for (int32_t i = 0; i < kSamples; ++i) AppendTraffic(meter, i);
  TGlyphCanvas main, super;
  Paint(meter, main, super, 584, 282);
  meter.BrowseTo(kSamples / 2);
  for (auto _ : state) Paint(meter, main, super, 584, 282);
}
BENCHMARK(BM_PaintBrowsing)->ArgName("hscale")->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

// Six hours and 1,920 hours of one sample a second, the history full.
void BM_AddValues(benchmark::State& state) {
  const auto historyMax = static_cast<int32_t>(state.range(0));
  uint32_t tick = 0;
  TMeterModel meter(SteppingClock(tick));
  MainWindowLook(meter);
  meter.SetHistoryMax(historyMax);
  for (int32_t i = 0; i < historyMax + 2; ++i) meter.AddValues(Traffic(i), Traffic(i) / 6);
  TGlyphCanvas main, super;
  Paint(meter, main, super, 584, 282);  // what the automatic maximum scans
  int i = 0;
  for (auto _ : state) {
    meter.AddValues(Traffic(i), Traffic(i) / 6);
    ++i;
  }
  state.SetLabel(std::to_string(meter.SampleCount()) + " samples held");
}
// Enough appends that the history reclaims its deleted records at least
// twice at the largest size (every 864,000 appends), so that cost is in.
BENCHMARK(BM_AddValues)
    ->Arg(21600)
    ->Arg(6912000)
    ->Iterations(2000000)
    ->Unit(benchmark::kNanosecond);

}  // namespace
