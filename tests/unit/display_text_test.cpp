#include "app/display_text.h"

#include <gtest/gtest.h>

#include "platform/date_time.h"

namespace {

TFormatSettings German() {
  TFormatSettings fs;
  fs.ThousandSeparator = '.';
  fs.DecimalSeparator = ',';
  fs.ShortDateFormat = "dd.MM.yyyy";
  fs.LongTimeFormat = "HH:mm:ss";
  return fs;
}

TEST(DisplayTextTest, FormatSpeedSwitchesUnitsAtPowersOf1024) {
  const TFormatSettings fs;
  EXPECT_EQ(FormatSpeed(0, fs), "0.0 KB/s");
  EXPECT_EQ(FormatSpeed(1023.96, fs), "1,024.0 KB/s");  // the unit changes only at 1024
  EXPECT_EQ(FormatSpeed(1024, fs), "1.00 MB/s");
  EXPECT_EQ(FormatSpeed(1536000, fs), "1.46 GB/s");
  EXPECT_EQ(FormatSpeed(1536, German()), "1,50 MB/s");
}

TEST(DisplayTextTest, FormatDurationPadsAndRounds) {
  const TFormatSettings fs;
  EXPECT_EQ(FormatDuration(0, fs), "00:00");
  EXPECT_EQ(FormatDuration(59, fs), "00:59");
  EXPECT_EQ(FormatDuration(3661, fs), "01:01:01");
  EXPECT_EQ(FormatDuration(360000, fs), "100:00:00");
  EXPECT_EQ(FormatDuration(89.6, fs), "01:30");  // seconds rounded, as the "00" picture does
}

TEST(DisplayTextTest, LinkSpeedInKbpsAndMbps) {
  const TFormatSettings fs;
  EXPECT_EQ(LinkSpeedText(28800, fs), "28.80 Kbps");
  EXPECT_EQ(LinkSpeedText(999999, fs), "1000.00 Kbps");
  EXPECT_EQ(LinkSpeedText(1000000, fs), "1 Mbps");
  EXPECT_EQ(LinkSpeedText(1544000, fs), "2 Mbps");
  EXPECT_EQ(LinkSpeedText(10000000, fs), "10 Mbps");
  EXPECT_EQ(LinkSpeedText(500, fs), ".50 Kbps");  // the picture has no digit before the point
  EXPECT_EQ(LinkSpeedText(28800, German()), "28,80 Kbps");
}

TEST(DisplayTextTest, SpeedPartInBytesAndBits) {
  const TFormatSettings fs;
  EXPECT_EQ(SpeedPart(1536, {1, " KB/s"}, fs), " @ 1.5 KB/s");
  EXPECT_EQ(SpeedPart(1579.5, {8, " kbps"}, fs), " @ 12.34 kbps");
  EXPECT_EQ(SpeedPart(1048576, {8, " Kbps"}, fs), " @ 8192.00 Kbps");
}

TEST(DisplayTextTest, NotConnectedIsBlackOnLightAndWhiteOnDark) {
  EXPECT_EQ(NotConnectedColor(0xFFFFFF), 0x000000u);  // 2*255 + 5*255 + 255 = 2040
  EXPECT_EQ(NotConnectedColor(0x000000), 0xFFFFFFu);
  EXPECT_EQ(NotConnectedColor(0x00D000), 0x000000u);    // green weighs most: 5 * 208 >= 1024
  EXPECT_EQ(NotConnectedColor(0x00C800), 0xFFFFFFu);    // 5 * 200 < 1024
  EXPECT_EQ(NotConnectedColor(0xFF00FF), 0xFFFFFFu);    // 2*255 + 255 = 765
  EXPECT_EQ(NotConnectedColor(0x8000000F), 0xFFFFFFu);  // a system colour is taken as stored
}

TEST(DisplayTextTest, GraphHintGivesBothRatesAndTheTime) {
  TSystemTime t{2026, 12, 7, 15, 4, 5, 0};
  const TDateTime when = EncodeDateTime(t);
  EXPECT_EQ(GraphHintText(2048, 512, when, {1, " KB/s"}, TFormatSettings{}),
            "D/L: 2.0 KB/s\rU/L: 0.5 KB/s\rAT:  12/7/2026 3:04:05 PM");
  EXPECT_EQ(GraphHintText(1280, 0, when, {8, " kbps"}, German()),
            "D/L: 10,00 kbps\rU/L: 0,00 kbps\rAT:  07.12.2026 15:04:05");
}

}  // namespace
