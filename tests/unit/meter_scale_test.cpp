#include "controls/meter_scale.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct ScaleCase {
  const char* Name;
  TScale Scale;
  int PlotHeight;
  int32_t Max;
  int64_t Top, Count, Step;
};

class ComputeScaleTest : public testing::TestWithParam<ScaleCase> {};

TEST_P(ComputeScaleTest, RoundsTheAxis) {
  const ScaleCase& c = GetParam();
  const TScaleGrid grid = ComputeScale(c.Scale, c.PlotHeight, 13, c.Max);
  EXPECT_EQ(grid.Top, c.Top);
  EXPECT_EQ(grid.Count, c.Count);
  EXPECT_EQ(grid.Step, c.Step);
}

INSTANTIATE_TEST_SUITE_P(Cases, ComputeScaleTest,
                         testing::Values(
                             // 8 lines; 20000 >= 16384 takes whole kilobytes: 20480 in steps of
                             // 3072, Round(6.67) = 7 of them.
                             ScaleCase{"WorkedExample", sKBytes, 200, 20000, 21504, 7, 3072},
                             ScaleCase{"HalfKilobyteFloor", sKBytes, 82, 1, 512, 1, 512},
                             ScaleCase{"ZeroMaxCountsAsOne", sKBytes, 82, 0, 512, 1, 512},
                             ScaleCase{"BelowWholeKilobytes", sKBytes, 200, 16383, 16384, 8, 2048},
                             ScaleCase{"WholeKilobytesFrom16", sKBytes, 200, 16385, 18432, 6, 3072},
                             // 78 / 26 = 3 lines, made even: 4.
                             ScaleCase{"OddLineCountMadeEven", sInteger, 78, 100, 100, 4, 25},
                             ScaleCase{"TwoLines", sInteger, 52, 100, 100, 2, 50},
                             // 57 / 8 = 7.1 steps of 8 round to 7, which end below the maximum.
                             ScaleCase{"RoundedDownCountRaisesTop", sInteger, 208, 57, 64, 7, 8},
                             ScaleCase{"NoRoomStillOneLine", sInteger, -10, 10, 10, 1, 10},
                             ScaleCase{"KilobitsHalfGranule", sKBits, 82, 3000, 3000, 3, 1000},
                             ScaleCase{"KilobitsWhole", sKBits, 82, 3200000, 3200000, 4, 800000},
                             ScaleCase{"LargestValueDoesNotOverflow", sKBits, 82, INT32_MAX,
                                       2147484000, 4, 536871000}),
                         [](const auto& info) { return info.param.Name; });

TEST(ToScaleUnitsTest, BitsForKilobitsAndNoWrapAround) {
  EXPECT_EQ(ToScaleUnits(1000, sKBytes), 1000);
  EXPECT_EQ(ToScaleUnits(1000, sInteger), 1000);
  EXPECT_EQ(ToScaleUnits(1000, sKBits), 8000);
  // 300 MB/s is 2.4 Gbit/s: beyond 32 bits it stays at the largest value.
  EXPECT_EQ(ToScaleUnits(300000000, sKBits), INT32_MAX);
  EXPECT_EQ(ToScaleUnits(-300000000, sKBits), INT32_MIN);
}

TEST(LabelFormatTest, WholeLabelsOnlyForWholeUnitSteps) {
  EXPECT_EQ(LabelFormatFor(sKBytes, 512), TLabelFormat::OneDecimal);
  EXPECT_EQ(LabelFormatFor(sKBytes, 1024), TLabelFormat::Whole);
  EXPECT_EQ(LabelFormatFor(sKBytes, 1536), TLabelFormat::OneDecimal);
  EXPECT_EQ(LabelFormatFor(sKBits, 500), TLabelFormat::OneDecimal);
  EXPECT_EQ(LabelFormatFor(sKBits, 3000), TLabelFormat::Whole);
  EXPECT_EQ(LabelFormatFor(sKBits, 1500), TLabelFormat::OneDecimal);
  EXPECT_EQ(LabelFormatFor(sInteger, 1), TLabelFormat::Whole);
}

}  // namespace
