#include <windows.h>

#include "platform/date_time.h"
#include "platform/tick_count.h"

uint32_t TickCount() {
  return GetTickCount();
}

TSystemTime LocalSystemTime() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  TSystemTime t;
  t.Year = st.wYear;
  t.Month = st.wMonth;
  t.Day = st.wDay;
  t.Hour = st.wHour;
  t.Minute = st.wMinute;
  t.Second = st.wSecond;
  t.MilliSecond = st.wMilliseconds;
  return t;
}

int64_t UnixTimeOfLocal(const TSystemTime& local) {
  SYSTEMTIME wall{};
  wall.wYear = static_cast<WORD>(local.Year);
  wall.wMonth = static_cast<WORD>(local.Month);
  wall.wDay = static_cast<WORD>(local.Day);
  wall.wHour = static_cast<WORD>(local.Hour);
  wall.wMinute = static_cast<WORD>(local.Minute);
  wall.wSecond = static_cast<WORD>(local.Second);
  SYSTEMTIME utc{};
  FILETIME file{};
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &wall, &utc) || !SystemTimeToFileTime(&utc, &file))
    return 0;
  // 100-nanosecond steps since 1601.
  const uint64_t steps = (static_cast<uint64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
  return static_cast<int64_t>(steps / 10000000) - 11644473600LL;
}
