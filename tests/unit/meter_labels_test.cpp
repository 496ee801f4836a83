#include "controls/meter_labels.h"

#include <gtest/gtest.h>

namespace {

TFormatSettings German() {
  TFormatSettings fs;
  fs.ThousandSeparator = '.';
  fs.DecimalSeparator = ',';
  return fs;
}

constexpr auto kDecimal = TLabelFormat::OneDecimal;
constexpr auto kWhole = TLabelFormat::Whole;

struct RateCase {
  const char* Name;
  double Kilobytes;
  TScale Scale;
  TLabelFormat Format;
  const char* English;
  const char* German;
};

class FormatRateTest : public testing::TestWithParam<RateCase> {};

TEST_P(FormatRateTest, PicksUnitAndDecimals) {
  const RateCase& c = GetParam();
  EXPECT_EQ(FormatRate(c.Kilobytes, c.Scale, c.Format, TFormatSettings{}), c.English);
  EXPECT_EQ(FormatRate(c.Kilobytes, c.Scale, c.Format, German()), c.German);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatRateTest,
    testing::Values(
        RateCase{"MegabytesWhole", 2048, sKBytes, kWhole, "2 MB/s", "2 MB/s"},
        RateCase{"WholeFormatKeepsFraction", 1536, sKBytes, kWhole, "1.50 MB/s", "1,50 MB/s"},
        RateCase{"DecimalFormat", 0.5, sKBytes, kDecimal, "0.50 KB/s", "0,50 KB/s"},
        RateCase{"KilobytesGrouped", 1023, sKBytes, kWhole, "1,023 KB/s", "1.023 KB/s"},
        RateCase{"Gigabytes", 2359296, sKBytes, kWhole, "2.25 GB/s", "2,25 GB/s"},
        RateCase{"IntegerScaleUsesBytes", 2048, sInteger, kWhole, "2 MB/s", "2 MB/s"},
        RateCase{"Kilobits", 100, sKBits, kWhole, "800 Kbps", "800 Kbps"},
        RateCase{"KilobitsDecimalFormat", 0.125, sKBits, kDecimal, "1.00 Kbps", "1,00 Kbps"},
        RateCase{"KilobitsKeepTheirHalf", 0.1875, sKBits, kWhole, "1.50 Kbps", "1,50 Kbps"},
        RateCase{"KilobitsBelowMegabit", 124.875, sKBits, kWhole, "999 Kbps", "999 Kbps"},
        RateCase{"Megabit", 125, sKBits, kWhole, "1.00 Mbps", "1,00 Mbps"},
        RateCase{"BelowGigabit", 15624, sKBits, kWhole, "124.99 Mbps", "124,99 Mbps"},
        // Gigabits start at 125 Mbps already.
        RateCase{"GigabitsFrom125Mbps", 15625, sKBits, kWhole, "0.13 Gbps", "0,13 Gbps"},
        RateCase{"Gigabit", 125000, sKBits, kWhole, "1.00 Gbps", "1,00 Gbps"},
        RateCase{"ThousandGigabits", 125000000, sKBits, kWhole, "1,000.00 Gbps", "1.000,00 Gbps"}),
    [](const auto& info) { return info.param.Name; });

// Grid values come in scale units: bytes, or bits in sKBits.
TEST(AxisLabelTest, PlainLabelsCountThousandsOfTheScale) {
  const TFormatSettings fs;
  EXPECT_EQ(AxisLabel(512, sKBytes, false, kDecimal, fs), "0.5");
  EXPECT_EQ(AxisLabel(512, sKBytes, false, kDecimal, German()), "0,5");
  EXPECT_EQ(AxisLabel(4608, sKBytes, false, kDecimal, fs), "4.5");
  EXPECT_EQ(AxisLabel(3072, sKBytes, false, kWhole, fs), "3");
  EXPECT_EQ(AxisLabel(1048576 * 2, sKBytes, false, kWhole, fs), "2048");
  EXPECT_EQ(AxisLabel(800000, sKBits, false, kWhole, fs), "800");
  EXPECT_EQ(AxisLabel(1500, sKBits, false, kDecimal, fs), "1.5");
  EXPECT_EQ(AxisLabel(25, sInteger, false, kWhole, fs), "25");
}

TEST(AxisLabelTest, SuffixedLabelsStateThePlottedRate) {
  const TFormatSettings fs;
  // 800,000 bits a second are 100 kilobytes: 800 Kbps, not 6,400.
  EXPECT_EQ(AxisLabel(800000, sKBits, true, kWhole, fs), "800 Kbps");
  // Half-kilobit lines keep their half.
  EXPECT_EQ(AxisLabel(1500, sKBits, true, kDecimal, fs), "1.50 Kbps");
  EXPECT_EQ(AxisLabel(3000, sKBits, true, kDecimal, fs), "3.00 Kbps");
  EXPECT_EQ(AxisLabel(1000000, sKBits, true, kWhole, fs), "1.00 Mbps");
  EXPECT_EQ(AxisLabel(1600000, sKBits, true, kWhole, fs), "1.60 Mbps");
  EXPECT_EQ(AxisLabel(1000000000, sKBits, true, kWhole, fs), "1.00 Gbps");
  EXPECT_EQ(AxisLabel(2048 * 1024, sKBytes, true, kWhole, fs), "2 MB/s");
  EXPECT_EQ(AxisLabel(512, sKBytes, true, kDecimal, fs), "0.50 KB/s");
}

TEST(TimeLabelTest, TwelveHourClockAndWholeDaysAway) {
  const TDateTime day = EncodeDateTime({2026, 3, 14});
  auto at = [day](int hour, int minute) { return day + (hour * 60 + minute) / 1440.0; };
  EXPECT_EQ(TimeLabel(at(13, 5), at(13, 6)), "1:05 PM");
  EXPECT_EQ(TimeLabel(at(0, 7), at(0, 8)), "12:07 AM");
  EXPECT_EQ(TimeLabel(at(12, 0), at(12, 0)), "12:00 PM");
  EXPECT_EQ(TimeLabel(at(9, 30), at(23, 59)), "9:30 AM");
  EXPECT_EQ(TimeLabel(at(9, 30), at(9, 29) + 2), "9:30 AM (1)");
  EXPECT_EQ(TimeLabel(at(9, 30), at(9, 30) + 2), "9:30 AM (2)");
  // A clock set back leaves samples in the future: still whole days away.
  EXPECT_EQ(TimeLabel(at(9, 30) + 3.5, at(9, 30)), "9:30 PM (3)");
}

}  // namespace
