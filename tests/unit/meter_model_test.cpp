#include "controls/meter_model.h"

#include <gtest/gtest.h>

#include <functional>

#include "unit/meter_test_support.h"

namespace {

class MeterModelTest : public testing::Test {
 protected:
  // 200 x 100 with labels up to "125": the plot spans x 30 ... 191 and y 10
  // ... 92, so 161 samples fit at one pixel each.
  void LayOut() {
    meter.SetScale(sInteger);
    meter.SetMaxValueType(tmvFixed);
    meter.SetMaxValue(100);
    ASSERT_TRUE(PaintAndKeepLayout(meter, main, super, 200, 100));
    ASSERT_EQ(meter.PlotRect(), (TRect{30, 10, 191, 92}));
    ASSERT_EQ(meter.VisibleCount(), 161 / meter.HScale());
  }
  // Samples whose first value counts on from `from`.
  void Add(int count, int32_t from = 0) {
    for (int i = 0; i < count; ++i) meter.AddValues(from + i, 0);
  }
  int32_t FirstShownValue() const { return meter.Sample(meter.HitTest(30, 50)).Value1; }

  TTestClock clock;
  TTestMeter meter{clock};
  TGlyphCanvas main, super;
};

TEST_F(MeterModelTest, StartsWithTheDefaults) {
  EXPECT_EQ(meter.BackgroundColor(), 0x8000000Fu);
  EXPECT_EQ(meter.GraphBackgroundColor(), 0u);
  EXPECT_EQ(meter.Bar1Color(), 0xFF0000u);
  EXPECT_EQ(meter.Bar2Color(), 0x0000FFu);
  EXPECT_EQ(meter.GridColor() | meter.BorderColor() | meter.TextColor(), 0u);
  EXPECT_EQ(meter.MarginBottom() | meter.MarginLeft() | meter.MarginRight() | meter.MarginTop(), 0);
  EXPECT_EQ(meter.YaxisDisplay(), yaLeft);
  EXPECT_FALSE(meter.YAxisSuffex());
  EXPECT_TRUE(meter.ShowGrid());
  EXPECT_EQ(meter.GridStyle(), gLine);
  EXPECT_EQ(meter.HScale(), 1);
  EXPECT_FALSE(meter.VLine());
  EXPECT_FALSE(meter.ShowVScale());
  EXPECT_EQ(meter.VPos(), 60);
  EXPECT_EQ(meter.MaxValue(), 1);
  EXPECT_EQ(meter.MinMaxValue(), 1);
  EXPECT_EQ(meter.MaxValueType(), tmvAuto);
  EXPECT_EQ(meter.HistoryMax(), 10000);
  EXPECT_FALSE(meter.Solid());
  EXPECT_EQ(meter.Scale(), sKBytes);
  EXPECT_EQ(meter.AntiAlias(), 0);
  EXPECT_EQ(meter.LineWidth(), 1);
  EXPECT_EQ(meter.BrowseOffset(), -1);
  EXPECT_EQ(meter.SampleCount(), 0);
  EXPECT_EQ(meter.ScrollMax(), 0);
  EXPECT_EQ(meter.Repaints, 0);
}

struct PropertyCase {
  const char* Name;
  std::function<void(TMeterModel&)> Change;
  bool Repaints;
};

class MeterPropertyTest : public testing::TestWithParam<PropertyCase> {};

TEST_P(MeterPropertyTest, RepaintsOnlyForWhatShows) {
  TTestClock clock;
  TTestMeter meter(clock);
  GetParam().Change(meter);
  EXPECT_EQ(meter.Repaints, GetParam().Repaints ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Properties, MeterPropertyTest,
    testing::Values(
        PropertyCase{"BackgroundColor", [](auto& m) { m.SetBackgroundColor(1); }, true},
        PropertyCase{"GraphBackgroundColor", [](auto& m) { m.SetGraphBackgroundColor(1); }, true},
        PropertyCase{"Bar1Color", [](auto& m) { m.SetBar1Color(1); }, true},
        PropertyCase{"Bar2Color", [](auto& m) { m.SetBar2Color(1); }, true},
        PropertyCase{"GridColor", [](auto& m) { m.SetGridColor(1); }, true},
        PropertyCase{"BorderColor", [](auto& m) { m.SetBorderColor(1); }, true},
        PropertyCase{"TextColor", [](auto& m) { m.SetTextColor(1); }, true},
        PropertyCase{"MarginBottom", [](auto& m) { m.SetMarginBottom(2); }, true},
        PropertyCase{"MarginLeft", [](auto& m) { m.SetMarginLeft(2); }, true},
        PropertyCase{"MarginRight", [](auto& m) { m.SetMarginRight(2); }, true},
        PropertyCase{"MarginTop", [](auto& m) { m.SetMarginTop(2); }, true},
        PropertyCase{"YaxisDisplay", [](auto& m) { m.SetYaxisDisplay(yaBoth); }, true},
        PropertyCase{"ShowGrid", [](auto& m) { m.SetShowGrid(false); }, true},
        PropertyCase{"GridStyle", [](auto& m) { m.SetGridStyle(gDotted); }, true},
        PropertyCase{"HScale", [](auto& m) { m.SetHScale(2); }, true},
        PropertyCase{"MaxValue", [](auto& m) { m.SetMaxValue(5); }, true},
        PropertyCase{"MinMaxValue", [](auto& m) { m.SetMinMaxValue(5); }, true},
        PropertyCase{"MaxValueType", [](auto& m) { m.SetMaxValueType(tmvFixed); }, true},
        PropertyCase{"Solid", [](auto& m) { m.SetSolid(true); }, true},
        PropertyCase{"Scale", [](auto& m) { m.SetScale(sKBits); }, true},
        PropertyCase{"YAxisSuffex", [](auto& m) { m.SetYAxisSuffex(true); }, false},
        PropertyCase{"VLine", [](auto& m) { m.SetVLine(true); }, false},
        PropertyCase{"ShowVScale", [](auto& m) { m.SetShowVScale(true); }, false},
        PropertyCase{"VPos", [](auto& m) { m.SetVPos(120); }, false},
        PropertyCase{"HistoryMax", [](auto& m) { m.SetHistoryMax(5); }, false},
        PropertyCase{"AntiAlias", [](auto& m) { m.SetAntiAlias(2); }, false},
        PropertyCase{"LineWidth", [](auto& m) { m.SetLineWidth(2); }, false},
        PropertyCase{"HScaleZeroIgnored", [](auto& m) { m.SetHScale(0); }, false},
        PropertyCase{"SameValueAgain", [](auto& m) { m.SetBar1Color(0xFF0000); }, false}),
    [](const auto& info) { return info.param.Name; });

TEST_F(MeterModelTest, PropertiesWithSideEffects) {
  meter.SetGridStyle(gNone);
  EXPECT_FALSE(meter.ShowGrid());
  meter.SetGridStyle(gDotted);
  EXPECT_TRUE(meter.ShowGrid());
  meter.SetHScale(-3);
  EXPECT_EQ(meter.HScale(), 1);
  // The factor is capped where the box filter stops reading more pixels.
  meter.SetAntiAlias(200);
  EXPECT_EQ(meter.AntiAlias(), 3);
  // A floor and a scale change take effect at once, without waiting a second.
  meter.SetMinMaxValue(5000);
  EXPECT_EQ(meter.MaxValue(), 5000);
  meter.SetScale(sKBits);
  EXPECT_EQ(meter.MaxValue(), 40000);
  meter.SetMaxValueType(tmvFixed);
  meter.SetMaxValue(77);
  meter.SetMinMaxValue(6000);
  EXPECT_EQ(meter.MaxValue(), 77);
  meter.SetMaxValueType(tmvAuto);
  EXPECT_EQ(meter.MaxValue(), 48000);
}

TEST_F(MeterModelTest, HistoryLevelsOffTwoAboveHistoryMax) {
  meter.SetHistoryMax(10);
  for (int i = 0; i < 20; ++i) {
    clock.Now = 46000 + i;
    meter.AddValues(i, -i);
    EXPECT_EQ(meter.SampleCount(), std::min(i + 1, 12));
  }
  EXPECT_EQ(meter.Sample(0).Value1, 8);
  EXPECT_EQ(meter.Sample(11).Value1, 19);
  EXPECT_EQ(meter.Sample(11).Value2, -19);
  EXPECT_EQ(meter.Sample(11).Time, 46019);
}

TEST_F(MeterModelTest, NegativeHistoryMaxKeepsTwoSamples) {
  meter.SetHistoryMax(-5);
  Add(5);
  EXPECT_EQ(meter.SampleCount(), 2);
}

TEST_F(MeterModelTest, BrowsingStaysOnTheSamplesWhileTheHistoryGrows) {
  LayOut();
  Add(400);
  meter.BrowseTo(50);
  EXPECT_EQ(meter.BrowseOffset(), 211);
  EXPECT_EQ(FirstShownValue(), 188);
  Add(5, 400);
  EXPECT_EQ(meter.BrowseOffset(), 216);
  EXPECT_EQ(FirstShownValue(), 188);
}

TEST_F(MeterModelTest, BrowsingAFullHistoryMovesForwardWithTheData) {
  meter.SetHistoryMax(398);
  LayOut();
  Add(400);
  meter.BrowseTo(50);
  EXPECT_EQ(FirstShownValue(), 188);
  Add(5, 400);
  EXPECT_EQ(meter.SampleCount(), 400);
  EXPECT_EQ(meter.BrowseOffset(), 211);
  EXPECT_EQ(FirstShownValue(), 193);
}

TEST_F(MeterModelTest, BrowseToAndRepaints) {
  LayOut();
  Add(400);
  const int repaints = meter.Repaints;
  meter.BrowseTo(0);
  EXPECT_EQ(meter.BrowseOffset(), -1);
  meter.BrowseTo(50);
  EXPECT_EQ(meter.BrowseOffset(), 211);
  EXPECT_EQ(meter.Repaints, repaints + 1);
  meter.BrowseTo(50);
  meter.AddValues(1, 1);  // browsing: no repaint
  meter.AddValues(1, 1, true);
  EXPECT_EQ(meter.BrowseOffset(), 213);
  meter.BrowseTo(-1);  // live again, shown by the next append
  EXPECT_EQ(meter.BrowseOffset(), -1);
  EXPECT_EQ(meter.Repaints, repaints + 1);
  meter.AddValues(1, 1, false);
  EXPECT_EQ(meter.Repaints, repaints + 1);
  meter.AddValues(1, 1);
  EXPECT_EQ(meter.Repaints, repaints + 2);
  meter.BrowseTo(50);
  const int before = meter.Repaints;
  meter.ShowLive();  // live again at once
  EXPECT_EQ(meter.BrowseOffset(), -1);
  EXPECT_EQ(meter.Repaints, before + 1);
}

TEST_F(MeterModelTest, ScrollMaxAndTheForcedLiveView) {
  LayOut();
  Add(100);
  EXPECT_EQ(meter.ScrollMax(), 0);
  // Too few samples to scroll: the next append returns to the live view.
  meter.BrowseTo(5);
  EXPECT_EQ(meter.BrowseOffset(), 166);
  Add(100);
  EXPECT_EQ(meter.ScrollMax(), 39);
  EXPECT_EQ(meter.BrowseOffset(), -1);
  meter.BrowseTo(10);
  const int repaints = meter.Repaints;
  meter.Clear();
  EXPECT_EQ(meter.SampleCount(), 0);
  EXPECT_EQ(meter.ScrollMax(), 0);
  EXPECT_EQ(meter.BrowseOffset(), -1);
  EXPECT_EQ(meter.Repaints, repaints + 1);
}

TEST_F(MeterModelTest, AutomaticMaximumAtMostOnceASecond) {
  LayOut();
  meter.SetMaxValueType(tmvAuto);  // recalculated now: no samples yet
  EXPECT_EQ(meter.MaxValue(), 1);
  clock.Tick += 1000;
  meter.AddValues(5000, 0);
  EXPECT_EQ(meter.MaxValue(), 1);
  clock.Tick += 1;
  meter.AddValues(10, 20);
  EXPECT_EQ(meter.MaxValue(), 5000);
  // The tick count wraps after 49.7 days; intervals still count.
  clock.Tick = 0xFFFFFF00;
  meter.RecalcAutoMax(true);
  clock.Tick = 0xE7;
  meter.AddValues(7000, 0);
  EXPECT_EQ(meter.MaxValue(), 5000);
  clock.Tick = 0x2F0;
  meter.AddValues(0, 0);
  EXPECT_EQ(meter.MaxValue(), 7000);
}

TEST_F(MeterModelTest, AutomaticMaximumLooksAtTheSamplesShown) {
  LayOut();
  meter.SetMaxValueType(tmvAuto);
  meter.AddValues(0, 9000);
  for (int i = 0; i < 200; ++i) meter.AddValues(300, 0);
  meter.RecalcAutoMax(true);
  EXPECT_EQ(meter.MaxValue(), 300);  // the peak scrolled out of the live view
  meter.BrowseTo(39);                // back to the oldest sample
  EXPECT_EQ(meter.MaxValue(), 9000);
  // The floor is compared in bytes, before the conversion to bits.
  meter.BrowseTo(-1);
  meter.SetMinMaxValue(1000);
  meter.SetScale(sKBits);
  EXPECT_EQ(meter.MaxValue(), 8000);
}

TEST_F(MeterModelTest, HitTestCoversEachSampleUpToItsX) {
  EXPECT_EQ(meter.HitTest(100, 50), -1);  // not laid out yet
  meter.SetHScale(2);
  LayOut();
  Add(10);
  // Ten samples at x = 172, 174, ... 190: the oldest also takes 170 and 171.
  EXPECT_EQ(meter.HitTest(169, 50), -1);
  EXPECT_EQ(meter.HitTest(170, 50), 0);
  EXPECT_EQ(meter.HitTest(172, 50), 0);
  EXPECT_EQ(meter.HitTest(173, 50), 1);
  EXPECT_EQ(meter.HitTest(190, 50), 9);
  // Outside the plot nothing hits.
  EXPECT_EQ(meter.HitTest(190, 92), -1);
  EXPECT_EQ(meter.HitTest(191, 50), -1);
  EXPECT_EQ(meter.HitTest(172, 9), -1);
}

TEST_F(MeterModelTest, MouseMovesDecideTheHint) {
  LayOut();
  Add(200);
  EXPECT_EQ(meter.MouseMove(100, 50, false), THintStep::StartTimer);
  EXPECT_EQ(meter.MouseMove(100, 50, false), THintStep::None);
  EXPECT_EQ(meter.MouseMove(101, 50, true), THintStep::ShowNow);
  EXPECT_EQ(meter.MouseMove(5, 50, true), THintStep::Hide);
  EXPECT_EQ(meter.MouseMove(6, 50, false), THintStep::None);
  EXPECT_EQ(meter.MouseMove(100, 50, false), THintStep::StartTimer);
  meter.MouseLeave();  // the same spot counts again after leaving
  EXPECT_EQ(meter.MouseMove(100, 50, false), THintStep::StartTimer);
}

TEST_F(MeterModelTest, HintTextIsTheHandlersForTheHoveredSample) {
  LayOut();
  Add(200, 1000);
  meter.OnFormatHint = [](const THistoryData& phd, std::string& s) {
    EXPECT_TRUE(s.empty());
    s = "D/L " + std::to_string(phd.Value1);
  };
  EXPECT_EQ(meter.HintText(100, 50), "");  // nothing hovered yet
  meter.MouseMove(100, 50, false);
  const std::string expected = "D/L " + std::to_string(meter.Sample(meter.HitTest(100, 50)).Value1);
  EXPECT_EQ(meter.HintText(100, 50), expected);
  EXPECT_EQ(meter.HintText(5, 50), "");  // the mouse has left the plot since
  // Appends that drop the hovered record still show the sample hovered.
  meter.SetHistoryMax(10);
  meter.AddValues(1, 1);
  EXPECT_EQ(meter.HintText(100, 50), expected);
  meter.Clear();
  EXPECT_EQ(meter.HintText(100, 50), "");
}

}  // namespace
