#include "reports/quota.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "formatting/date_format.h"
#include "formatting/number_format.h"
#include "platform/date_time.h"
#include "platform/files.h"
#include "traffic/usage_book.h"

namespace {

constexpr const char* kSection = "Quota";

// An integer key within [low, high]; its default for anything else.
int64_t ReadBounded(TIniFile32& settings, const char* key, int64_t low, int64_t high,
                    int64_t defaultValue) {
  const int64_t value = settings.ReadInt64(kSection, key, defaultValue);
  return value >= low && value <= high ? value : defaultValue;
}

// The day a period starts in a month, counted as year * 12 + month - 1: the
// start day, or the month's last day when it has fewer.
int32_t StartInMonth(int months, int startDay) {
  const int year = months / 12, month = months % 12 + 1;
  return EncodeDaySerial(year, month, std::min(startDay, DaysInMonth(year, month)));
}

// value * factor / divisor rounded down, for value >= 0 and divisor > 0,
// without the overflow of multiplying first: the product would pass 2^63 at
// some 92 PB for a percent, the quotient and remainder alone do not.
int64_t ScaleDown(int64_t value, int64_t factor, int64_t divisor) {
  return value / divisor * factor + value % divisor * factor / divisor;
}

int64_t CountedBytes(const TReportRow& row, TQuotaCount count) {
  switch (count) {
    case qcDownload: return row.Download;
    case qcUpload: return row.Upload;
    case qcBoth: break;
  }
  return row.Download + row.Upload;
}

// The whole percent used, rounded down, so that 100 means the limit is
// reached; 0 without a limit.
int64_t WholePercent(const TQuotaFigures& figures) {
  return figures.Limit > 0 ? ScaleDown(figures.Used, 100, figures.Limit) : 0;
}

std::string Size(int64_t bytes, const TFormatSettings& fs) {
  return FormatByteSize(static_cast<double>(bytes), fs);
}

std::string ShortDate(int32_t day, const TFormatSettings& fs) {
  return FormatDateTimePicture(day, fs.ShortDateFormat, fs);
}

}  // namespace

TQuotaSettings ReadQuotaSettings(TIniFile32& settings) {
  TQuotaSettings q;
  q.Enabled = settings.ReadBool(kSection, "Enabled", q.Enabled);
  q.Limit = ReadBounded(settings, "Limit", 0, INT64_MAX, q.Limit);
  q.StartDay =
      static_cast<int>(ReadBounded(settings, "StartDay", 1, kMaxQuotaStartDay, q.StartDay));
  q.Count = static_cast<TQuotaCount>(ReadBounded(settings, "Count", qcBoth, qcUpload, q.Count));
  q.WarnPercent = static_cast<int>(
      ReadBounded(settings, "WarnPercent", 1, kMaxQuotaWarnPercent, q.WarnPercent));
  q.WarnedPeriod = static_cast<int32_t>(
      ReadBounded(settings, "WarnedPeriod", INT32_MIN, INT32_MAX, q.WarnedPeriod));
  q.WarnedLevel =
      static_cast<int>(ReadBounded(settings, "WarnedLevel", qlNone, qlLimit, q.WarnedLevel));
  return q;
}

void WriteQuotaSettings(TIniFile32& settings, const TQuotaSettings& quota) {
  settings.WriteBool(kSection, "Enabled", quota.Enabled);
  settings.WriteInt64(kSection, "Limit", quota.Limit);
  settings.WriteInteger(kSection, "StartDay", quota.StartDay);
  settings.WriteInteger(kSection, "Count", quota.Count);
  settings.WriteInteger(kSection, "WarnPercent", quota.WarnPercent);
  settings.WriteInteger(kSection, "WarnedPeriod", quota.WarnedPeriod);
  settings.WriteInteger(kSection, "WarnedLevel", quota.WarnedLevel);
}

TBillingPeriod BillingPeriodOf(int32_t day, int startDay) {
  const TSystemTime date = DecodeDaySerial(day);
  int months = date.Year * 12 + date.Month - 1;
  if (day < StartInMonth(months, startDay)) --months;
  return {StartInMonth(months, startDay), StartInMonth(months + 1, startDay) - 1};
}

TQuotaFigures QuotaFigures(const TQuotaSettings& quota, const std::vector<TReportRow>& daily,
                           int32_t today) {
  TQuotaFigures f;
  f.Period = BillingPeriodOf(today, quota.StartDay);
  for (const TReportRow& row : daily)
    if (row.Day >= f.Period.Start && row.Day <= f.Period.End)
      f.Used += CountedBytes(row, quota.Count);
  f.Limit = quota.Limit;
  f.DaysLeft = f.Period.End - today + 1;
  if (f.Limit > 0) {
    f.Percent = static_cast<double>(f.Used) * 100 / static_cast<double>(f.Limit);
    f.Budget = f.Used < f.Limit ? (f.Limit - f.Used) / f.DaysLeft : 0;
  }
  f.Projected = ScaleDown(f.Used, f.Period.End - f.Period.Start + 1, today - f.Period.Start + 1);
  return f;
}

TQuotaFigures ReadQuotaFigures(const std::string& folder, const TQuotaSettings& quota,
                               int32_t today) {
  // A period spans one or two months; this runs after every flush, so the
  // other month files stay unread.
  const TBillingPeriod period = BillingPeriodOf(today, quota.StartDay);
  std::vector<std::string> files;
  for (const int32_t day : {period.Start, period.End}) {
    const std::string path = MonthFileName(folder, day);
    if (FileExists(path) && (files.empty() || files.back() != path)) files.push_back(path);
  }
  return QuotaFigures(quota, LoadReportFiles(folder, files).Rows[rtDaily], today);
}

TQuotaLevel QuotaLevelOf(const TQuotaSettings& quota, const TQuotaFigures& figures) {
  if (figures.Limit <= 0) return qlNone;
  const int64_t percent = WholePercent(figures);
  if (percent >= 100) return qlLimit;
  return percent >= quota.WarnPercent ? qlWarning : qlNone;
}

TQuotaLevel DueQuotaWarning(const TQuotaSettings& quota, const TQuotaFigures& figures) {
  if (!quota.Enabled) return qlNone;
  const TQuotaLevel level = QuotaLevelOf(quota, figures);
  const int warned = quota.WarnedPeriod == figures.Period.Start ? quota.WarnedLevel : qlNone;
  return level > warned ? level : qlNone;
}

std::string QuotaTipLine(const TQuotaFigures& figures, const TFormatSettings& fs) {
  const std::string used = "Quota: " + Size(figures.Used, fs);
  if (figures.Limit <= 0) return used + " (no limit)";
  return used + " of " + Size(figures.Limit, fs) + " (" + std::to_string(WholePercent(figures)) +
         "%)";
}

std::string QuotaBudgetText(const TQuotaFigures& figures, const TFormatSettings& fs) {
  const std::string left =
      std::to_string(figures.DaysLeft) + (figures.DaysLeft == 1 ? " day left" : " days left");
  if (figures.Limit <= 0) return left;
  return left + ": " + Size(figures.Budget, fs) + " a day";
}

std::string QuotaBalloonText(TQuotaLevel level, const TQuotaFigures& figures,
                             const TFormatSettings& fs) {
  const std::string limit = Size(figures.Limit, fs);
  const std::string percent = " (" + std::to_string(WholePercent(figures)) + "%)";
  std::string text = Size(figures.Used, fs) + " of " + limit + " used" + percent + " since " +
                     ShortDate(figures.Period.Start, fs) + ".";
  if (level == qlLimit)
    text = "The data quota of " + limit + " is used up" + percent + ".\n" + text;
  return text;
}

std::string QuotaCsv(const TQuotaFigures& figures) {
  // Tenths of a percent, rounded down like the whole percent and printed
  // without the locale: 99.96 % is not yet "100.0".
  const int64_t tenths = figures.Limit > 0 ? ScaleDown(figures.Used, 1000, figures.Limit) : 0;
  char values[256];
  std::snprintf(values, sizeof values, "%s,%s,%lld,%lld,%lld.%lld,%d,%lld,%lld\r\n",
                FormatDateTimePicture(figures.Period.Start, "yyyy-MM-dd").c_str(),
                FormatDateTimePicture(figures.Period.End, "yyyy-MM-dd").c_str(),
                static_cast<long long>(figures.Used), static_cast<long long>(figures.Limit),
                static_cast<long long>(tenths / 10), static_cast<long long>(tenths % 10),
                static_cast<int>(figures.DaysLeft), static_cast<long long>(figures.Budget),
                static_cast<long long>(figures.Projected));
  return std::string("START,END,USED,LIMIT,PERCENT,DAYSLEFT,BUDGET,PROJECTED\r\n") + values;
}

std::vector<TReportRow> BillingPeriodRows(const std::vector<TReportRow>& daily, int startDay,
                                          const TFormatSettings& fs) {
  std::vector<TReportRow> rows;
  for (const TReportRow& day : daily) {
    const TBillingPeriod period = BillingPeriodOf(day.Day, startDay);
    if (rows.empty() || rows.back().RowDate != period.Start) {
      TReportRow& row = rows.emplace_back();
      row.Index = static_cast<int64_t>(rows.size()) - 1;
      row.RowDate = period.Start;
      row.Caption = ShortDate(period.Start, fs) + " - " + ShortDate(period.End, fs);
    }
    TReportRow& row = rows.back();
    row.Download += day.Download;
    row.Upload += day.Upload;
    row.Total = row.Download + row.Upload;
    row.Seconds += day.Seconds;
  }
  return rows;
}
