#include "platform/date_time.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct SerialCase {
  int Year, Month, Day, Serial;
};

class DaySerialTest : public testing::TestWithParam<SerialCase> {};

TEST_P(DaySerialTest, ConvertsBothWays) {
  const SerialCase& c = GetParam();
  EXPECT_EQ(EncodeDaySerial(c.Year, c.Month, c.Day), c.Serial);
  const TSystemTime t = DecodeDaySerial(c.Serial);
  EXPECT_EQ(t.Year, c.Year);
  EXPECT_EQ(t.Month, c.Month);
  EXPECT_EQ(t.Day, c.Day);
}

// Serials as the month files name them.
INSTANTIATE_TEST_SUITE_P(
    KnownDays, DaySerialTest,
    testing::Values(SerialCase{1899, 12, 30, 0}, SerialCase{1899, 12, 31, 1},
                    SerialCase{1900, 1, 1, 2}, SerialCase{1900, 3, 1, 61},
                    SerialCase{1899, 12, 29, -1}, SerialCase{2000, 1, 1, 36526},
                    SerialCase{2000, 2, 29, 36585}, SerialCase{2026, 12, 1, 46357},
                    SerialCase{2026, 12, 7, 46363}, SerialCase{1, 1, 1, -693593},
                    SerialCase{9999, 12, 31, 2958465}));

TEST(DaySerialTest, EveryDayFollowsTheDayBefore) {
  TSystemTime prev = DecodeDaySerial(-693593);
  for (int serial = -693592; serial <= 2958465; ++serial) {
    const TSystemTime t = DecodeDaySerial(serial);
    const bool nextDay = t.Year == prev.Year && t.Month == prev.Month && t.Day == prev.Day + 1;
    const bool nextMonth = t.Year == prev.Year && t.Month == prev.Month + 1 && t.Day == 1 &&
                           prev.Day == DaysInMonth(prev.Year, prev.Month);
    const bool nextYear =
        t.Year == prev.Year + 1 && t.Month == 1 && t.Day == 1 && prev.Month == 12 && prev.Day == 31;
    ASSERT_TRUE(nextDay || nextMonth || nextYear) << serial;
    ASSERT_EQ(EncodeDaySerial(t.Year, t.Month, t.Day), serial);
    prev = t;
  }
}

TEST(DateTimeTest, TimeOfDayIsTheFraction) {
  TSystemTime t{2026, 12, 7, 18, 0, 0, 0};
  EXPECT_DOUBLE_EQ(EncodeDateTime(t), 46363.75);
  t = {1899, 12, 29, 6, 0, 0, 0};
  EXPECT_DOUBLE_EQ(EncodeDateTime(t), -1.25);  // the day counts down, the hours still add

  const TSystemTime back = DecodeDateTime(-1.25);
  EXPECT_EQ(back.Day, 29);
  EXPECT_EQ(back.Hour, 6);
}

TEST(DateTimeTest, EveryMillisecondOfADaySurvivesTheRoundTrip) {
  for (int ms = 0; ms < kMSecsPerDay; ms += 997) {
    TSystemTime t{2026, 2, 28, ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000};
    const TSystemTime back = DecodeDateTime(EncodeDateTime(t));
    ASSERT_EQ(back.Day, 28);
    ASSERT_EQ(back.Hour * 3600000 + back.Minute * 60000 + back.Second * 1000 + back.MilliSecond,
              ms);
  }
}

TEST(DateTimeTest, HalfAMillisecondBeforeMidnightIsTheNextDay) {
  const TSystemTime t = DecodeDateTime(46363.0 + (kMSecsPerDay - 0.4) / kMSecsPerDay);
  EXPECT_EQ(t.Day, 8);
  EXPECT_EQ(t.Hour, 0);
  EXPECT_EQ(t.MilliSecond, 0);
}

TEST(DateTimeTest, ValidatesCalendarDates) {
  EXPECT_TRUE(IsValidDate(2024, 2, 29));
  EXPECT_FALSE(IsValidDate(2023, 2, 29));
  EXPECT_FALSE(IsValidDate(1900, 2, 29));
  EXPECT_TRUE(IsValidDate(2000, 2, 29));
  EXPECT_FALSE(IsValidDate(2026, 13, 1));
  EXPECT_FALSE(IsValidDate(2026, 4, 31));
  EXPECT_FALSE(IsValidDate(0, 1, 1));
}

TEST(DateTimeTest, LocalNowIsToday) {
  const TSystemTime clock = LocalSystemTime();
  const TDateTime now = LocalNow();
  EXPECT_NEAR(std::floor(now), EncodeDaySerial(clock.Year, clock.Month, clock.Day), 1);
}

}  // namespace
