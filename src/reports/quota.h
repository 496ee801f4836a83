#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/format_settings.h"
#include "reports/report_model.h"
#include "storage/ini_file.h"

// A data quota over billing periods: its settings, the period a day falls
// in, the figures shown to the user and when to warn. Shared by the main
// window, the reports and the command line, so all show the same.

enum TQuotaCount { qcBoth, qcDownload, qcUpload };

inline constexpr int kMaxQuotaStartDay = 31;
inline constexpr int kMaxQuotaWarnPercent = 100;

struct TQuotaSettings {
  bool Enabled = false;
  int64_t Limit = 0;  // bytes; 0: no limit
  int StartDay = 1;   // of the month, 1 to 31
  TQuotaCount Count = qcBoth;
  int WarnPercent = 80;  // 1 to 100
  // The last warning given: the first day of its period, and its level
  // (a TQuotaLevel).
  int32_t WarnedPeriod = 0;
  int WarnedLevel = 0;
  bool operator==(const TQuotaSettings&) const = default;
};

// The section "Quota" of the settings: "Enabled", "Limit", "StartDay",
// "Count", "WarnPercent", "WarnedPeriod", "WarnedLevel". A value that cannot
// be parsed, or lies out of its range, gives its default.
TQuotaSettings ReadQuotaSettings(TIniFile32& settings);
void WriteQuotaSettings(TIniFile32& settings, const TQuotaSettings& quota);

// Day serials (whole days of a TDateTime), both ends included.
struct TBillingPeriod {
  int32_t Start = 0;
  int32_t End = 0;
  bool operator==(const TBillingPeriod&) const = default;
};

// The period that holds day: from the latest start day on or before it (in
// a month with fewer days, its last day) to the day before the next one.
TBillingPeriod BillingPeriodOf(int32_t day, int startDay);

struct TQuotaFigures {
  TBillingPeriod Period;
  int64_t Used = 0;
  int64_t Limit = 0;
  double Percent = 0;     // used * 100 / limit; 0 without a limit
  int32_t DaysLeft = 0;   // counting today: end - today + 1
  int64_t Budget = 0;     // (limit - used) / days left, rounded down; 0 once passed
  int64_t Projected = 0;  // used * days of the period / days elapsed counting today
};

// The figures of the period that holds today, from the daily rows of the
// report: the days of the period up to and including today (rows outside
// it, and days after today, are left out). A sum stops at the largest
// number, which is noted, as is a day counted that stopped there.
TQuotaFigures QuotaFigures(const TQuotaSettings& quota, const std::vector<TReportRow>& daily,
                           int32_t today, TReadNotes& notes);
// The same from the month files of folder (with a trailing delimiter), read
// as the reports read them; notes gets what the reading noted, but of the
// sums only those of the figures.
TQuotaFigures ReadQuotaFigures(const std::string& folder, const TQuotaSettings& quota,
                               int32_t today, TReadNotes& notes);

// The figures with what was counted since they were read and is not in the
// month files yet (received and sent, at least 0) added as the quota counts
// it; unchanged once today lies outside their period, which the next reading
// starts afresh.
TQuotaFigures WithUnbooked(const TQuotaSettings& quota, TQuotaFigures figures, int64_t received,
                           int64_t sent, int32_t today);

enum TQuotaLevel { qlNone, qlWarning, qlLimit };

// The level the used amount has reached: qlLimit from 100 % of the limit on,
// qlWarning from WarnPercent on; qlNone without a limit.
TQuotaLevel QuotaLevelOf(const TQuotaSettings& quota, const TQuotaFigures& figures);
// The warning due now: the level reached, when it is above the last one
// warned in the same period (a new period warns afresh); qlNone otherwise.
// The caller records the period and level in the settings once it warned.
TQuotaLevel DueQuotaWarning(const TQuotaSettings& quota, const TQuotaFigures& figures);

// "Quota: USED of LIMIT (P%)", sizes by FormatByteSize, P a whole percent
// rounded down; "Quota: USED (no limit)" without a limit.
std::string QuotaTipLine(const TQuotaFigures& figures,
                         const TFormatSettings& fs = FormatSettings());
// "N days left: SIZE a day" (or "1 day left: ..."); "N days left" without
// a limit.
std::string QuotaBudgetText(const TQuotaFigures& figures,
                            const TFormatSettings& fs = FormatSettings());
// The balloon's text for a warning: "USED of LIMIT used (P%) since DATE."
// with the period's first day in the short date format, and for qlLimit
// "The data quota of LIMIT is used up (P%)." on its first line.
std::string QuotaBalloonText(TQuotaLevel level, const TQuotaFigures& figures,
                             const TFormatSettings& fs = FormatSettings());

// The percent used with one decimal, rounded down like the whole percent
// (99.96 % is not yet "100.0"), and "." whatever the locale; "0.0" without
// a limit.
std::string QuotaPercentText(const TQuotaFigures& figures);

// "START,END,USED,LIMIT,PERCENT,DAYSLEFT,BUDGET,PROJECTED" and the line of
// values: dates yyyy-mm-dd, whole numbers, the percent with one decimal and
// "." whatever the locale. Each line ends with "\r\n".
std::string QuotaCsv(const TQuotaFigures& figures);

// The daily rows grouped into billing periods, oldest first, as report rows
// (Download, Upload, Total, Seconds summed, stopping at the largest number;
// RowDate the period's first day; Caption "START - END" in the short date
// format).
std::vector<TReportRow> BillingPeriodRows(const std::vector<TReportRow>& daily, int startDay,
                                          TReadNotes& notes,
                                          const TFormatSettings& fs = FormatSettings());

// A billing period's row as its list shows it: the report's columns, then
// the quota's limit and how much of it the period used.
struct TBillingPeriodRow : TReportRow {
  int64_t Used = 0;   // the bytes the quota counts: down, up or both
  int64_t Limit = 0;  // 0: no limit
};
// The rows above, with what the quota counts of each and its limit.
std::vector<TBillingPeriodRow> BillingPeriodRows(const std::vector<TReportRow>& daily,
                                                 const TQuotaSettings& quota, TReadNotes& notes,
                                                 const TFormatSettings& fs = FormatSettings());
// Columns 5 and 6 of the billing periods' list, after the report's.
inline constexpr std::array<const char*, 2> kBillingPeriodColumns = {"Limit", "Used"};
// Columns 0 to 4 as ReportCell; 5 the limit by FormatByteSize ("no limit"
// without one); 6 the percent used as QuotaPercentText gives it and "%"
// (empty without a limit).
std::string BillingPeriodCell(const TBillingPeriodRow& row, int column,
                              const TFormatSettings& fs = FormatSettings());
// As CompareReportRows, and for columns 5 and 6 by the limit and the bytes
// used.
int CompareBillingPeriodRows(const TBillingPeriodRow& a, const TBillingPeriodRow& b,
                             int32_t parameter);

// value * factor / divisor rounded down, for value and factor of at least 0
// and divisor above 0, without overflow; the largest number when the
// quotient is larger.
int64_t ScaleDown(int64_t value, int64_t factor, int64_t divisor);
