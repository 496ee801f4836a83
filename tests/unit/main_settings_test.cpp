#include "app/main_settings.h"

#include <gtest/gtest.h>

#include "app/graph_settings.h"
#include "scratch_dir.h"

namespace {

class MainSettingsTest : public testing::Test {
 protected:
  TMainSettings Read(const std::string& content) {
    Dir.Write("settings.ini", content);
    TIniFile32 ini(Dir.Path("settings.ini"), false);
    return ReadMainSettings(ini);
  }

  TScratchDir Dir;
  TMeterModel Graph;
};

TEST_F(MainSettingsTest, EmptyFileGivesTheDefaults) {
  const TMainSettings s = Read("");
  EXPECT_FALSE(s.Dialup);
  EXPECT_TRUE(s.MainMenu);
  EXPECT_TRUE(s.Statusbar);
  EXPECT_TRUE(s.GraphTips);
  EXPECT_TRUE(s.ShowActivity);
  EXPECT_EQ(s.CUI, 1);
  EXPECT_FALSE(s.Window);
  EXPECT_FALSE(s.StopWatch.Running);

  ApplyGraphSettings(s, Graph);
  EXPECT_EQ(Graph.MaxValueType(), tmvAuto);
  EXPECT_EQ(Graph.MinMaxValue(), 1024);
  EXPECT_EQ(Graph.HistoryMax(), 21600);
  EXPECT_EQ(Graph.Bar1Color(), 0xFF0000u);
  EXPECT_EQ(Graph.Bar2Color(), 0x0000FFu);
  EXPECT_EQ(Graph.GraphBackgroundColor(), 0xFFFFFFu);
  EXPECT_EQ(Graph.BackgroundColor(), 0x8000000Fu);
  EXPECT_EQ(Graph.HScale(), 2);
  EXPECT_EQ(Graph.VPos(), 120);
  EXPECT_TRUE(Graph.YAxisSuffex());
  EXPECT_TRUE(Graph.VLine());
  EXPECT_EQ(Graph.GridStyle(), gLine);  // 3 is not a style: the graph's own stays
  EXPECT_EQ(Graph.YaxisDisplay(), yaLeft);
  EXPECT_EQ(Graph.LineWidth(), 1);
  EXPECT_EQ(RateUnitsOf(Graph).Units, 1);
}

struct MaximumCase {
  const char* Name;
  const char* Lines;
  TmaxV Type;
  int32_t MaxValue;
};

class GraphMaximumTest : public MainSettingsTest,
                         public testing::WithParamInterface<MaximumCase> {};

TEST_P(GraphMaximumTest, MaxValueTypeSetsTheScale) {
  ApplyGraphSettings(Read(std::string("[Settings]\r\n") + GetParam().Lines), Graph);
  EXPECT_EQ(Graph.MaxValueType(), GetParam().Type);
  if (GetParam().Type == tmvFixed) {
    EXPECT_EQ(Graph.MaxValue(), GetParam().MaxValue);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Types, GraphMaximumTest,
    testing::Values(
        MaximumCase{"Automatic", "MaxValueType=0\r\n", tmvAuto, 0},
        MaximumCase{"Modem336CountsAs36", "MaxValueType=1\r\n", tmvFixed, 4608},
        MaximumCase{"T1", "MaxValueType=11\r\n", tmvFixed, 202342},
        MaximumCase{"Lan100", "MaxValueType=15\r\n", tmvFixed, 13107200},
        MaximumCase{"Custom", "MaxValueType=16\r\nMaxValue=100\r\n", tmvFixed, 102400},
        MaximumCase{"CustomNotANumber", "MaxValueType=16\r\nMaxValue=fast\r\n", tmvFixed, 0},
        MaximumCase{"CustomTooLarge", "MaxValueType=16\r\nMaxValue=9999999\r\n", tmvFixed,
                    INT32_MAX},
        MaximumCase{"CustomNegative", "MaxValueType=16\r\nMaxValue=-5\r\n", tmvFixed, 0},
        MaximumCase{"CustomBeyondAnyNumber",
                    "MaxValueType=16\r\nMaxValue=123456789012345678901\r\n", tmvFixed, INT32_MAX},
        MaximumCase{"BeyondTheListKeepsTheMaximum", "MaxPeak=777\r\nMaxValueType=17\r\n", tmvFixed,
                    777},
        // "MaxValueType", absent, still overrides the peak.
        MaximumCase{"PeakOverriddenByAutomatic", "MaxPeak=5000\r\n", tmvAuto, 0}),
    [](const auto& info) { return info.param.Name; });

TEST_F(MainSettingsTest, EveryKeyIsReadAndApplied) {
  const TMainSettings s = Read(
      "[Settings]\r\nDialup=1\r\nCUI=5\r\nSolidBar=1\r\nAntiAlias=3\r\nLineWidth=1\r\n"
      "vLines=0\r\nGridStyle=2\r\nYaxisDisplay=3\r\nScale=1\r\nBorderless=1\r\n\r\n"
      "[Colors]\r\nDL=255\r\nBackground=-2147483633\r\n\r\n[NIC]\r\nS=eth0 @ 00-11\r\n\r\n"
      "[BrowseMode]\r\nHours=1920\r\n\r\n[StopWatch]\r\nE=1\r\nD=60\r\nTx=5\r\nRx=6\r\nV=1\r\n\r\n"
      "[Window]\r\n1=10\r\n2=20\r\n3=600\r\n4=300\r\n");
  EXPECT_TRUE(s.Dialup);
  EXPECT_EQ(s.CUI, 5);
  EXPECT_EQ(s.Adapters, (TAdapterChoice{false, {"eth0 @ 00-11"}}));
  EXPECT_TRUE(s.Borderless);
  ASSERT_TRUE(s.Window);
  EXPECT_EQ(s.Window->Width, 600);
  EXPECT_TRUE(s.StopWatch.Running && s.StopWatch.Shown);
  EXPECT_EQ(s.StopWatch.Ticks, 60);
  EXPECT_EQ(s.StopWatch.Received, 6);

  ApplyGraphSettings(s, Graph);
  EXPECT_TRUE(Graph.Solid());
  EXPECT_EQ(Graph.AntiAlias(), 3);
  EXPECT_EQ(Graph.LineWidth(), 2);
  EXPECT_FALSE(Graph.VLine());
  EXPECT_FALSE(Graph.ShowVScale());
  EXPECT_EQ(Graph.GridStyle(), gDotted);
  EXPECT_EQ(Graph.YaxisDisplay(), yaBoth);
  EXPECT_EQ(Graph.Scale(), sKBits);
  EXPECT_EQ(Graph.HistoryMax(), 1920 * 3600);
  EXPECT_EQ(Graph.Bar1Color(), 255u);
  EXPECT_EQ(Graph.BackgroundColor(), 0x8000000Fu);
  const TRateUnits units = RateUnitsOf(Graph);
  EXPECT_EQ(units.Units, 8);
  EXPECT_EQ(units.UnitSuffix, " kbps");
}

}  // namespace
