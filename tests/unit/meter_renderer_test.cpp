#include "controls/meter_renderer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "controls/meter_pixels.h"
#include "unit/meter_test_support.h"

namespace {

struct RenderCase {
  int AntiAlias;
  bool Solid;
  int HScale;
  TGridStyle Grid;
  TYAxisDisplay Axis;
  uint8_t LineWidth;
};

std::string Name(const testing::TestParamInfo<RenderCase>& info) {
  const RenderCase& c = info.param;
  return "AA" + std::to_string(c.AntiAlias) + (c.Solid ? "Area" : "Line") + "H" +
         std::to_string(c.HScale) + "Grid" + std::to_string(c.Grid) + "Axis" +
         std::to_string(c.Axis) + "Width" + std::to_string(c.LineWidth);
}

void PrintTo(const RenderCase& c, std::ostream* out) {
  *out << "AntiAlias " << c.AntiAlias << (c.Solid ? " area" : " line") << " HScale " << c.HScale;
}

// Rates that wander, hit zero and burst, so the automatic maximum moves up
// and down as bursts come into view and leave it.
int32_t Rate(int i, int phase) {
  if ((i + phase) % 53 == 0) return 0;
  const double wave = 3000 + 2500 * std::sin((i + phase) / 6.0) + 900 * std::sin(i * 1.7);
  return static_cast<int32_t>((i + phase) % 90 > 75 ? wave * 9 : wave);
}

class MeterRendererTest : public testing::TestWithParam<RenderCase> {
 protected:
  MeterRendererTest() {
    const RenderCase& c = GetParam();
    meter.SetAntiAlias(static_cast<uint8_t>(c.AntiAlias));
    meter.SetSolid(c.Solid);
    meter.SetHScale(c.HScale);
    meter.SetGridStyle(c.Grid);
    meter.SetYaxisDisplay(c.Axis);
    meter.SetLineWidth(c.LineWidth);
    meter.SetGraphBackgroundColor(0xFFFFFF);
    meter.SetGridColor(0x808080);
    meter.SetYAxisSuffex(true);
    meter.SetVLine(true);
    meter.SetShowVScale(true);
    meter.SetVPos(41);
    clock.Now = EncodeDateTime({2026, 3, 14, 13, 58, 30});
  }
  void Append(int i) {
    clock.Tick += 1001;  // every append recalculates the automatic maximum
    clock.Now += 1 / 86400.0;
    meter.AddValues(Rate(i, 0), Rate(i, 31) / 2);
  }

  TTestClock clock;
  TTestMeter meter{clock};
};

// What the window shows after every paint equals a whole paint, while
// appends scroll it, the maximum, the labels and the time labels change,
// and now and then more than one sample or a change of look comes between
// paints. The window scrolls as told and takes the changed parts from main;
// now and then another window uncovers part of it, which main paints again.
TEST_P(MeterRendererTest, EveryPaintEqualsAWholePaint) {
  constexpr int kWidth = 236, kHeight = 124;
  const TRect whole{0, 0, kWidth, kHeight};
  TMeterRenderer renderer;
  TGlyphCanvas main, super, screen, wholeMain, wholeSuper;
  screen.SetSize(kWidth, kHeight);
  int scrolled = 0, paints = 0;
  for (int i = 0; i < 360; ++i) {
    Append(i);
    if (i % 17 == 5) Append(++i);
    if (i == 200) meter.SetVPos(29);  // a change no repaint announces
    if (i == 300) meter.SetBar2Color(0x00A000);
    const std::optional<TMeterRenderer::TResult> result =
        renderer.Paint(meter, main, super, kWidth, kHeight);
    ASSERT_TRUE(result);
    meter.SetLayout(result->Layout);
    ++paints;
    if (result->Scroll) {
      ++scrolled;
      ShiftLeft(screen.Pixels(), result->Scroll->Area, result->Scroll->Distance);
    }
    CopyPixels(main.Pixels(), screen.Pixels(), result->Changed);
    if (i % 13 == 7) {
      const TRect uncovered = TRect{i % 200, i % 90, i % 200 + 40, i % 90 + 30}.Intersection(whole);
      screen.FillRect(uncovered, 0x00FF00);
      renderer.PaintParts(meter, main, super, {uncovered});
      CopyPixels(main.Pixels(), screen.Pixels(), {uncovered});
    }
    ASSERT_TRUE(PaintMeter(meter, wholeMain, wholeSuper, kWidth, kHeight));
    const std::optional<TPoint> at = FirstDifference(screen, wholeMain);
    ASSERT_FALSE(at) << "after append " << i << " at " << at->X << ", " << at->Y;
  }
  EXPECT_GT(scrolled, paints * 3 / 4);
}

// The button face as the user's colour scheme has it.
class TSchemeCanvas : public TGlyphCanvas {
 public:
  uint32_t Face = 0xC8D0D4;
  uint32_t ColorToRgb(TColor color) const override {
    return color == clBtnFace ? Face : TGlyphCanvas::ColorToRgb(color);
  }
};

TEST(MeterRendererColorTest, ANewColourSchemeRepaintsTheWhole) {
  TTestClock clock;
  TTestMeter meter{clock};
  TMeterRenderer renderer;
  TSchemeCanvas main;
  TGlyphCanvas super;
  for (int i = 0; i < 50; ++i) meter.AddValues(i * 100, 0);
  meter.SetLayout(renderer.Paint(meter, main, super, 200, 100)->Layout);
  meter.AddValues(7, 0);
  main.Face = 0x00FFFF;
  const std::optional<TMeterRenderer::TResult> result =
      renderer.Paint(meter, main, super, 200, 100);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->Changed, (std::vector<TRect>{{0, 0, 200, 100}}));
  EXPECT_EQ(PixelAt(main, 0, 0), 0x00FFFFu);
}

// Every anti-aliasing level, line and area, in three looks: two pixels a
// sample, three on a dotted grid with a wide pen that reaches the labels,
// one without a grid.
std::vector<RenderCase> Cases() {
  std::vector<RenderCase> cases;
  for (int antiAlias = 0; antiAlias <= 3; ++antiAlias)
    for (bool solid : {false, true}) {
      cases.push_back({antiAlias, solid, 2, gLine, yaBoth, 1});
      cases.push_back({antiAlias, solid, 3, gDotted, yaLeft, 9});
      cases.push_back({antiAlias, solid, 1, gNone, yaRight, 2});
    }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Looks, MeterRendererTest, testing::ValuesIn(Cases()), Name);

}  // namespace
