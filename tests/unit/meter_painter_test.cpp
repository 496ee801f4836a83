#include "controls/meter_painter.h"

#include <gtest/gtest.h>

#include "unit/meter_test_support.h"

namespace {

constexpr TColor kGreen = 0x00FF00;
constexpr TColor kRed = 0x0000FF;

// 200 x 100, integer scale fixed at 100 with labels "0" ... "125" (18 pixels
// at most): the plot spans x 30 ... 191 and y 10 ... 92, a value v lies at
// y = 92 - Round(0.82 v), and the grid lines run along rows 71, 50 and 29.
class MeterPainterTest : public testing::Test {
 protected:
  MeterPainterTest() {
    meter.SetScale(sInteger);
    meter.SetMaxValueType(tmvFixed);
    meter.SetMaxValue(100);
    meter.SetGridColor(kGreen);
    meter.SetBorderColor(kRed);
  }
  bool Paint(int width = 200, int height = 100) {
    main.Texts.clear();
    return PaintAndKeepLayout(meter, main, super, width, height);
  }
  void AddFlat(int count, int32_t value1) {
    for (int i = 0; i < count; ++i) meter.AddValues(value1, 0);
  }
  uint32_t At(int x, int y) { return PixelAt(main, x, y); }
  int Blue(int x, int y) { return At(x, y) >> 16; }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& t : main.Texts) texts.push_back(t.Text);
    return texts;
  }

  TTestClock clock;
  TTestMeter meter{clock};
  TRecordingCanvas main;
  TGlyphCanvas super;
};

struct LayoutCase {
  const char* Name;
  TYAxisDisplay Display;
  bool ShowVScale;
  TRect Plot;
};

class MeterLayoutTest : public MeterPainterTest, public testing::WithParamInterface<LayoutCase> {};

TEST_P(MeterLayoutTest, MarginsMakeRoomForLabels) {
  meter.SetYaxisDisplay(GetParam().Display);
  meter.SetShowVScale(GetParam().ShowVScale);
  ASSERT_TRUE(Paint());
  EXPECT_EQ(meter.PlotRect(), GetParam().Plot);
  EXPECT_EQ(meter.VisibleCount(), GetParam().Plot.Right - GetParam().Plot.Left);
}

INSTANTIATE_TEST_SUITE_P(
    Displays, MeterLayoutTest,
    testing::Values(LayoutCase{"None", yaNone, false, {1, 1, 199, 100}},
                    LayoutCase{"NoneTimeLabels", yaNone, true, {1, 1, 199, 83}},
                    LayoutCase{"Left", yaLeft, false, {30, 10, 191, 92}},
                    LayoutCase{"LeftTimeLabels", yaLeft, true, {30, 10, 191, 83}},
                    LayoutCase{"Right", yaRight, false, {9, 10, 170, 92}},
                    LayoutCase{"Both", yaBoth, false, {30, 10, 170, 92}}),
    [](const auto& info) { return info.param.Name; });

TEST_F(MeterPainterTest, MarginsAddToTheLabelRoom) {
  meter.SetMarginLeft(5);
  meter.SetMarginTop(3);
  meter.SetMarginRight(7);
  meter.SetMarginBottom(2);
  meter.SetHScale(2);
  ASSERT_TRUE(Paint());
  EXPECT_EQ(meter.PlotRect(), (TRect{35, 13, 184, 90}));
  EXPECT_EQ(meter.VisibleCount(), 74);
}

// At 144 pixels per inch: a margin of 2 is 3, the gaps of 4 are 6; the
// labels' room follows their font, which the test canvas does not change.
TEST_F(MeterPainterTest, MarginsAndGapsScaleWithTheScreen) {
  meter.SetPixelsPerInch(144);
  meter.SetMarginTop(2);
  meter.SetShowVScale(true);
  ASSERT_TRUE(Paint());
  EXPECT_EQ(meter.PlotRect(), (TRect{30, 15, 191, 81}));
}

TEST_F(MeterPainterTest, AxisLabelsSitBesideTheirGridLines) {
  meter.SetYaxisDisplay(yaBoth);
  ASSERT_TRUE(Paint());
  const std::vector<std::tuple<int, int, std::string>> expected = {
      {11, 64, "25"}, {176, 64, "25"}, {11, 43, "50"}, {176, 43, "50"},
      {11, 22, "75"}, {176, 22, "75"}, {5, 2, "100"},  {176, 2, "100"}};
  ASSERT_EQ(main.Texts.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(main.Texts[i].X, std::get<0>(expected[i])) << i;
    EXPECT_EQ(main.Texts[i].Y, std::get<1>(expected[i])) << i;
    EXPECT_EQ(main.Texts[i].Text, std::get<2>(expected[i])) << i;
  }
  for (int y : {71, 50, 29}) EXPECT_EQ(At(100, y), kGreen) << y;
  EXPECT_EQ(At(100, 70), 0u);
}

TEST_F(MeterPainterTest, KilobitLabelsStateThePlottedRate) {
  meter.SetScale(sKBits);
  meter.SetYAxisSuffex(true);
  meter.SetMaxValue(3200000);  // bits: 400 kilobytes a second
  ASSERT_TRUE(Paint());
  EXPECT_EQ(Texts(), (std::vector<std::string>{"800 Kbps", "1.60 Mbps", "2.40 Mbps", "3.20 Mbps"}));
}

TEST_F(MeterPainterTest, GridStyles) {
  meter.SetGridStyle(gDotted);
  ASSERT_TRUE(Paint());
  int green = 0;
  for (int x = 30; x < 191; ++x) green += At(x, 50) == kGreen;
  EXPECT_GT(green, 60);
  EXPECT_LT(green, 100);
  meter.SetGridStyle(gNone);
  ASSERT_TRUE(Paint());
  for (int x = 30; x < 191; ++x) ASSERT_EQ(At(x, 50), 0u) << x;
  EXPECT_EQ(Texts().size(), 4u);  // labels stay
}

TEST_F(MeterPainterTest, BorderFramesThePlot) {
  ASSERT_TRUE(Paint());
  EXPECT_EQ(At(29, 60), kRed);
  EXPECT_EQ(At(191, 60), kRed);
  EXPECT_EQ(At(100, 9), kRed);
  EXPECT_EQ(At(100, 92), kRed);
  EXPECT_EQ(At(30, 60), 0u);
  EXPECT_EQ(At(100, 91), 0u);
  // Outside lies the button face.
  EXPECT_EQ(At(28, 60), main.ColorToRgb(clBtnFace));
  EXPECT_EQ(At(100, 93), main.ColorToRgb(clBtnFace));
}

TEST_F(MeterPainterTest, TooNarrowPaintsNothing) {
  ASSERT_TRUE(Paint(41, 100));  // 41 - 9 - 30 - 1 = 1 pixel of plot
  const TRect plot = meter.PlotRect();
  const TPixels before = main.Pixels();
  const std::vector<uint8_t> pixels(before.Bits, before.Bits + before.Stride * before.Height);
  AddFlat(10, 50);
  EXPECT_FALSE(Paint(40, 100));
  EXPECT_EQ(meter.PlotRect(), plot);
  const TPixels after = main.Pixels();
  EXPECT_EQ(std::vector<uint8_t>(after.Bits, after.Bits + after.Stride * after.Height), pixels);
}

struct RowCase {
  const char* Name;
  int32_t Value;
  int Row;
};

class MeterRowTest : public MeterPainterTest, public testing::WithParamInterface<RowCase> {};

// A full view of one value: one row of blue, the rows beside it untouched.
TEST_P(MeterRowTest, FlatSeriesLiesOnOneRow) {
  AddFlat(200, GetParam().Value);
  ASSERT_TRUE(Paint());
  const int row = GetParam().Row;
  for (int x = 31; x < 190; ++x) {
    ASSERT_GT(Blue(x, row), 0) << x;
    ASSERT_EQ(Blue(x, row - 1), 0) << x;
    ASSERT_EQ(Blue(x, row + 1), 0) << x;
  }
}

INSTANTIATE_TEST_SUITE_P(Values, MeterRowTest,
                         testing::Values(RowCase{"AboveTheTop", 1000, 11},
                                         RowCase{"AtTheTop", 100, 10}, RowCase{"Middle", 60, 43},
                                         RowCase{"Zero", 0, 91}, RowCase{"Negative", -5, 91}),
                         [](const auto& info) { return info.param.Name; });

TEST_F(MeterPainterTest, ShortHistoryRisesFromTheBottomAtTheRight) {
  meter.SetHScale(2);
  AddFlat(10, 60);
  ASSERT_TRUE(Paint());
  // Samples at x = 172 ... 190; the first segment climbs from (172, 92).
  EXPECT_EQ(Blue(171, 43), 0);
  EXPECT_GT(Blue(172, 43), 0);
  EXPECT_GT(Blue(190, 43), 0);
  EXPECT_EQ(Blue(191, 43), 0);
  EXPECT_GT(Blue(172, 80), 0);
  EXPECT_EQ(Blue(150, 43), 0);
}

TEST_F(MeterPainterTest, AreaFillCoversBothColumnsAtTwoPixelsASample) {
  meter.SetSolid(true);
  meter.SetHScale(2);
  AddFlat(200, 60);
  ASSERT_TRUE(Paint());
  // Samples at even x; both columns below the line at 55 %.
  EXPECT_EQ(At(100, 60), 140u << 16);
  EXPECT_EQ(At(101, 60), 140u << 16);
  meter.SetHScale(3);
  ASSERT_TRUE(Paint());
  EXPECT_EQ(At(30 + 2 * 3 + 2, 60), 0u);
}

class MeterFillTest : public MeterPainterTest, public testing::WithParamInterface<int> {};

// At two pixels a sample the fill covers both columns evenly at any factor.
TEST_P(MeterFillTest, AreaFillHasNoStripes) {
  meter.SetAntiAlias(static_cast<uint8_t>(GetParam()));
  meter.SetSolid(true);
  meter.SetHScale(2);
  AddFlat(200, 60);
  ASSERT_TRUE(Paint());
  ASSERT_GT(Blue(100, 60), 0);
  for (int x = 40; x < 180; ++x) ASSERT_EQ(At(x, 60), At(100, 60)) << x;
}

INSTANTIATE_TEST_SUITE_P(Factors, MeterFillTest, testing::Values(0, 1, 2, 3));

class MeterAntiAliasTest : public MeterPainterTest, public testing::WithParamInterface<int> {};

// A filled series over the whole plot: the grid row below it shows through
// only when the series is supersampled.
TEST_P(MeterAntiAliasTest, GridUnderPlainSeriesOverSupersampledOnes) {
  const int antiAlias = GetParam();
  meter.SetAntiAlias(static_cast<uint8_t>(antiAlias));
  meter.SetSolid(true);
  AddFlat(200, 100);
  ASSERT_TRUE(Paint());
  const int factor = antiAlias + 1;
  // Supersampled a strip at a time, not the whole width at once.
  EXPECT_LE(super.Pixels().Width, 64 * factor);
  EXPECT_EQ(super.Pixels().Height, antiAlias > 0 ? 100 * factor : 0);
  EXPECT_GT(Blue(100, 60), 0);
  if (antiAlias == 0)
    EXPECT_NE(At(100, 50), kGreen);
  else
    EXPECT_EQ(At(100, 50), kGreen);
  EXPECT_EQ(At(100, 92), kRed);  // the border always comes last
}

INSTANTIATE_TEST_SUITE_P(Factors, MeterAntiAliasTest, testing::Values(0, 1, 2, 3));

struct HitCase {
  const char* Name;
  int HScale;
  int Samples;
  int BrowseTo;  // 0: live
  int Spike;
  int X;  // where it is drawn
};

class MeterHitTest : public MeterPainterTest, public testing::WithParamInterface<HitCase> {};

// One sample at the top, the others at 0: row 10 shows the spike's column
// alone, and the hit test must find that sample there.
TEST_P(MeterHitTest, HitTestFindsTheSampleDrawnAtX) {
  const HitCase& c = GetParam();
  meter.SetHScale(c.HScale);
  for (int i = 0; i < c.Samples; ++i) meter.AddValues(i == c.Spike ? 100 : 0, 0);
  ASSERT_TRUE(Paint());
  meter.BrowseTo(c.BrowseTo);
  ASSERT_TRUE(Paint());
  std::vector<int> columns;
  for (int x = 30; x < 191; ++x)
    if (Blue(x, 10) > 0) columns.push_back(x);
  ASSERT_EQ(columns, std::vector<int>{c.X});
  EXPECT_EQ(meter.HitTest(c.X, 50), c.Spike);
  EXPECT_EQ(meter.HitTest(c.X - c.HScale + 1, 50), c.Spike);
  EXPECT_EQ(meter.HitTest(c.X - c.HScale, 50), c.Spike - 1);
  EXPECT_EQ(meter.HitTest(c.X + 1, 50), c.Spike + 1);
}

INSTANTIATE_TEST_SUITE_P(Views, MeterHitTest,
                         testing::Values(HitCase{"LiveOnePixel", 1, 200, 0, 150, 142},
                                         HitCase{"LiveTwoPixels", 2, 200, 0, 150, 92},
                                         HitCase{"LiveThreePixels", 3, 100, 0, 60, 73},
                                         HitCase{"ShortHistory", 2, 20, 0, 5, 162},
                                         HitCase{"Browsing", 1, 400, 100, 200, 92}),
                         [](const auto& info) { return info.param.Name; });

TEST_F(MeterPainterTest, WideLabelsOutstayTheirValuesForAWhile) {
  meter.SetMaxValue(100000);  // labels up to "125000"
  ASSERT_TRUE(Paint());
  EXPECT_EQ(meter.PlotRect().Left, 48);
  // 18 pixels narrower: kept for 18 s per pixel a sample, plus one second.
  meter.SetMaxValue(100);
  clock.Tick += 18999;
  ASSERT_TRUE(Paint());
  EXPECT_EQ(meter.PlotRect().Left, 48);
  clock.Tick += 1;
  ASSERT_TRUE(Paint());
  EXPECT_EQ(meter.PlotRect().Left, 30);
  meter.SetMaxValue(100000);
  ASSERT_TRUE(Paint());
  EXPECT_EQ(meter.PlotRect().Left, 48);
  // Changing the label side forgets the old width at once.
  meter.SetMaxValue(100);
  meter.SetYaxisDisplay(yaRight);
  meter.SetYaxisDisplay(yaLeft);
  ASSERT_TRUE(Paint());
  EXPECT_EQ(meter.PlotRect().Left, 30);
}

// Browsing at three pixels a sample, the series ends with the last sample
// that fits (x 189 of the plot's 30 ... 191) and reads none after it.
TEST_F(MeterPainterTest, BrowsingDrawsOnlyTheSamplesInView) {
  meter.SetHScale(3);
  AddFlat(500, 50);
  ASSERT_TRUE(Paint());
  meter.BrowseTo(100);
  const std::optional<TMeterFrame> frame = PlanMeter(meter, main, 200, 100);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->First, 346);
  EXPECT_EQ(frame->Last, 399);
}

// Samples a minute apart from 1 PM; painted two days later. With time labels
// the plot ends at y 83, the lines stand every 30 pixels from x 191.
class MeterTimeLineTest : public MeterPainterTest {
 protected:
  MeterTimeLineTest() {
    meter.SetVLine(true);
    meter.SetShowVScale(true);
    meter.SetVPos(30);
    const TDateTime start = EncodeDateTime({2026, 3, 14, 13, 0});
    for (int i = 0; i < 200; ++i) {
      clock.Now = start + i / 1440.0;
      meter.AddValues(0, 0);
    }
    clock.Now += 2;
  }
};

TEST_F(MeterTimeLineTest, LabelsNameTheSampleSixtyBackPerLine) {
  ASSERT_TRUE(Paint());
  for (int x : {161, 131, 101, 71, 41}) EXPECT_EQ(At(x, 40), kGreen) << x;
  EXPECT_EQ(At(160, 40), 0u);
  std::vector<TRecordingCanvas::TText> times;
  for (const auto& t : main.Texts)
    if (t.Text.find("PM") != std::string::npos) times.push_back(t);
  ASSERT_EQ(times.size(), 3u);
  EXPECT_EQ(times[0].Text, "3:19 PM (2)");  // sample 139 at x 161, 66 pixels wide
  EXPECT_EQ(times[0].X, 128);
  EXPECT_EQ(times[0].Y, 86);
  EXPECT_EQ(times[1].Text, "2:19 PM (2)");
  EXPECT_EQ(times[1].X, 98);
  EXPECT_EQ(times[2].Text, "1:19 PM (2)");
}

TEST_F(MeterTimeLineTest, LabelsCutOffByTheEdgeAreLeftOut) {
  meter.SetVPos(20);
  ASSERT_TRUE(Paint());
  // The line at x 171 would need up to x 204 for its label.
  std::vector<std::string> times;
  for (const auto& text : Texts())
    if (text.find("PM") != std::string::npos) times.push_back(text);
  ASSERT_FALSE(times.empty());
  EXPECT_EQ(times[0], "2:19 PM (2)");
}

TEST_F(MeterTimeLineTest, BrowsingLabelsTheSamplesShown) {
  ASSERT_TRUE(Paint());
  meter.BrowseTo(10);
  ASSERT_TRUE(Paint());
  std::vector<std::string> times;
  for (const auto& text : Texts())
    if (text.find("PM") != std::string::npos) times.push_back(text);
  EXPECT_EQ(times, (std::vector<std::string>{"3:09 PM (2)", "2:09 PM (2)", "1:09 PM (2)"}));
}

}  // namespace
