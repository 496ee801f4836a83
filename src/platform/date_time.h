#pragma once

#include <cstdint>

// The day-based date-time used in the data files and the graph: days since
// 30 December 1899, the fraction being the time of day.
using TDateTime = double;

constexpr int kMSecsPerDay = 86400000;

struct TSystemTime {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int MilliSecond = 0;
};

bool IsValidDate(int year, int month, int day);
int DaysInMonth(int year, int month);

// Whole days since 30 December 1899 (the day serial); year 1 to 9999.
int EncodeDaySerial(int year, int month, int day);
TSystemTime DecodeDaySerial(int serial);

// Exact to the millisecond. Before the base day the date part counts
// backwards while the time of day still counts forwards from midnight.
TDateTime EncodeDateTime(const TSystemTime& time);
TSystemTime DecodeDateTime(TDateTime value);

// Local wall-clock time from the system.
TSystemTime LocalSystemTime();
TDateTime LocalNow();
// The seconds since 1 January 1970 UTC of a local wall-clock time, by the
// system's time zone rules for that date.
int64_t UnixTimeOfLocal(const TSystemTime& local);
