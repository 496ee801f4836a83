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
