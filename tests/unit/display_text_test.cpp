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
