#include "platform/date_time.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Days from 1 March of year 0 arithmetic (proleptic Gregorian calendar);
// exact integer conversions both ways.
constexpr int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe;
}

void CivilFromDays(int64_t z, TSystemTime& t) {
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  t.Day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.Year = static_cast<int>(yoe + era * 400 + (t.Month <= 2));
}

constexpr int64_t kBaseDay = DaysFromCivil(1899, 12, 30);

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

}  // namespace

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

int EncodeDaySerial(int year, int month, int day) {
  return static_cast<int>(DaysFromCivil(year, month, day) - kBaseDay);
}

TSystemTime DecodeDaySerial(int serial) {
  TSystemTime t;
  CivilFromDays(serial + kBaseDay, t);
  return t;
}

TDateTime EncodeDateTime(const TSystemTime& time) {
  const double day = EncodeDaySerial(time.Year, time.Month, time.Day);
  const double fraction =
      (((time.Hour * 60.0 + time.Minute) * 60.0 + time.Second) * 1000.0 + time.MilliSecond) /
      kMSecsPerDay;
  // Before the base day the date counts down but the time of day still adds.
  return day < 0 ? day - fraction : day + fraction;
}

TSystemTime DecodeDateTime(TDateTime value) {
  // Rounded to the millisecond first, so 23:59:59.9996 becomes the next day.
  const int64_t total = std::llround(value * kMSecsPerDay);
  const int64_t day = total / kMSecsPerDay;
  int64_t ms = std::llabs(total) % kMSecsPerDay;
  TSystemTime t = DecodeDaySerial(static_cast<int>(day));
  t.MilliSecond = static_cast<int>(ms % 1000);
  ms /= 1000;
  t.Second = static_cast<int>(ms % 60);
  ms /= 60;
  t.Minute = static_cast<int>(ms % 60);
  t.Hour = static_cast<int>(ms / 60);
  return t;
}

TDateTime LocalNow() {
  return EncodeDateTime(LocalSystemTime());
}
