#include <ctime>

#include "platform/date_time.h"
#include "platform/tick_count.h"

uint32_t TickCount() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + ts.tv_nsec / 1000000;
  return static_cast<uint32_t>(ms);
}

TSystemTime LocalSystemTime() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  TSystemTime t;
  t.Year = local.tm_year + 1900;
  t.Month = local.tm_mon + 1;
  t.Day = local.tm_mday;
  t.Hour = local.tm_hour;
  t.Minute = local.tm_min;
  t.Second = local.tm_sec;
  t.MilliSecond = static_cast<int>(ts.tv_nsec / 1000000);
  return t;
}

int64_t UnixTimeOfLocal(const TSystemTime& local) {
  tm time{};
  time.tm_year = local.Year - 1900;
  time.tm_mon = local.Month - 1;
  time.tm_mday = local.Day;
  time.tm_hour = local.Hour;
  time.tm_min = local.Minute;
  time.tm_sec = local.Second;
  time.tm_isdst = -1;  // as the zone's rules have it on that date
  return static_cast<int64_t>(mktime(&time));
}
