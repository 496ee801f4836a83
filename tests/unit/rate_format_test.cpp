#include "formatting/rate_format.h"

#include <gtest/gtest.h>

namespace {

TFormatSettings German() {
  TFormatSettings fs;
  fs.ThousandSeparator = '.';
  fs.DecimalSeparator = ',';
  return fs;
}

TEST(RateFormatTest, FormatSpeedSwitchesUnitsAtPowersOf1024) {
  const TFormatSettings fs;
  EXPECT_EQ(FormatSpeed(0, fs), "0.0 KB/s");
  EXPECT_EQ(FormatSpeed(1023.96, fs), "1,024.0 KB/s");  // the unit changes only at 1024
  EXPECT_EQ(FormatSpeed(1024, fs), "1.00 MB/s");
  EXPECT_EQ(FormatSpeed(1536000, fs), "1.46 GB/s");
  EXPECT_EQ(FormatSpeed(1536, German()), "1,50 MB/s");
}

TEST(RateFormatTest, FormatDurationPadsAndRounds) {
  const TFormatSettings fs;
  EXPECT_EQ(FormatDuration(0, fs), "00:00");
  EXPECT_EQ(FormatDuration(59, fs), "00:59");
  EXPECT_EQ(FormatDuration(3661, fs), "01:01:01");
  EXPECT_EQ(FormatDuration(360000, fs), "100:00:00");
  EXPECT_EQ(FormatDuration(89.6, fs), "01:30");  // seconds rounded, as the "00" picture does
}

TEST(RateFormatTest, LinkSpeedInKbpsAndMbps) {
  const TFormatSettings fs;
  EXPECT_EQ(LinkSpeedText(28800, fs), "28.80 Kbps");
  EXPECT_EQ(LinkSpeedText(999999, fs), "1000.00 Kbps");
  EXPECT_EQ(LinkSpeedText(1000000, fs), "1 Mbps");
  EXPECT_EQ(LinkSpeedText(1544000, fs), "2 Mbps");
  EXPECT_EQ(LinkSpeedText(10000000, fs), "10 Mbps");
  EXPECT_EQ(LinkSpeedText(500, fs), ".50 Kbps");  // the picture has no digit before the point
  EXPECT_EQ(LinkSpeedText(28800, German()), "28,80 Kbps");
}

TEST(RateFormatTest, SpeedPartInBytesAndBits) {
  const TFormatSettings fs;
  EXPECT_EQ(SpeedPart(1536, {1, " KB/s"}, fs), " @ 1.5 KB/s");
  EXPECT_EQ(SpeedPart(1579.5, {8, " kbps"}, fs), " @ 12.34 kbps");
  EXPECT_EQ(SpeedPart(1048576, {8, " Kbps"}, fs), " @ 8192.00 Kbps");
}

}  // namespace
