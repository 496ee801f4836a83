#include "reports/save_names.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "platform/date_time.h"

namespace {

constexpr std::array<const char*, 6> kListNames = {"daily",  "weekly", "monthly",
                                                   "yearly", "hourly", "billing-periods"};

std::string Year(int year) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", year);
  return text;
}

std::string Month(const TSystemTime& date) {
  char text[16];
  std::snprintf(text, sizeof text, "-%02d", date.Month);
  return Year(date.Year) + text;
}

std::string Day(int serial) {
  const TSystemTime date = DecodeDaySerial(serial);
  char text[16];
  std::snprintf(text, sizeof text, "-%02d", date.Day);
  return Month(date) + text;
}

// The period a row stands for in a name; empty for none.
std::string PeriodOf(int list, const TReportRow& row) {
  switch (list) {
    case rtDaily: return Month(DecodeDaySerial(row.Day));
    case rtWeekly:
    case rtMonthly: return Year(row.Year);
    case kHourlyList: return Day(row.Day);
    case kBillingPeriodsList: return Day(static_cast<int>(std::floor(row.RowDate)));
  }
  return "";
}

std::string Name(const std::string& what, const std::string& period, const std::string& extension) {
  return "tallyline-" + what + (period.empty() ? "" : "-" + period) + "." + extension;
}

}  // namespace

std::string ReportFileName(int list, const TReportRow* row, const std::string& extension) {
  const bool known = list >= 0 && list < static_cast<int>(kListNames.size());
  return Name(known ? kListNames[list] : "report", row && known ? PeriodOf(list, *row) : "",
              extension);
}

std::string LogFileName(const TConnectionRecord* record, const std::string& extension) {
  return Name("log", record ? Month(DecodeDateTime(RoundToMilliseconds(record->StartTime))) : "",
              extension);
}
