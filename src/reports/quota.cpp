#include "reports/quota.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "formatting/date_format.h"
#include "formatting/number_format.h"
#include "platform/date_time.h"
#include "storage/text_utils.h"

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

// remainder * factor / divisor rounded down, for remainder < divisor (so
// below factor), by doubling: every step stays below 2^64, where the
// product itself would pass 2^63 at some 9 PB for a percent in tenths.
uint64_t ScaleRemainder(uint64_t remainder, uint64_t factor, uint64_t divisor) {
  uint64_t quotient = 0, rest = 0;
  for (int bit = 63; bit >= 0; --bit) {
    quotient *= 2;
    rest *= 2;
    if (rest >= divisor) {
      rest -= divisor;
      ++quotient;
    }
    if (factor >> bit & 1) {
      rest += remainder;
      if (rest >= divisor) {
        rest -= divisor;
        ++quotient;
      }
    }
  }
  return quotient;
}

int64_t CountedBytes(TQuotaCount count, int64_t received, int64_t sent, int64_t total) {
  switch (count) {
    case qcDownload: return received;
    case qcUpload: return sent;
    case qcBoth: break;
  }
  return total;
}

// What follows from the amount used on today.
void DeriveFigures(TQuotaFigures& f, int32_t today) {
  f.DaysLeft = f.Period.End - today + 1;
  f.Percent = 0;
  f.Budget = 0;
  if (f.Limit > 0) {
    f.Percent = static_cast<double>(f.Used) * 100 / static_cast<double>(f.Limit);
    f.Budget = f.Used < f.Limit ? (f.Limit - f.Used) / f.DaysLeft : 0;
  }
  f.Projected = ScaleDown(f.Used, f.Period.End - f.Period.Start + 1, today - f.Period.Start + 1);
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

int64_t ScaleDown(int64_t value, int64_t factor, int64_t divisor) {
  const int64_t whole = value / divisor;
  if (factor != 0 && whole > INT64_MAX / factor) return INT64_MAX;
  const auto part = static_cast<int64_t>(ScaleRemainder(static_cast<uint64_t>(value % divisor),
                                                        static_cast<uint64_t>(factor),
                                                        static_cast<uint64_t>(divisor)));
  return whole * factor > INT64_MAX - part ? INT64_MAX : whole * factor + part;
}

TQuotaFigures QuotaFigures(const TQuotaSettings& quota, const std::vector<TReportRow>& daily,
                           int32_t today, TReadNotes& notes) {
  TQuotaFigures f;
  f.Period = BillingPeriodOf(today, quota.StartDay);
  // What a day after today holds (a clock set back, a --today in the past)
  // had not been used then.
  for (const TReportRow& row : daily)
    if (row.Day >= f.Period.Start && row.Day <= today) {
      f.Used = SaturatingSum(f.Used, CountedBytes(quota.Count, row.Download, row.Upload, row.Total),
                             notes);
      notes.Saturated = notes.Saturated || row.Saturated;
    }
  f.Limit = quota.Limit;
  DeriveFigures(f, today);
  return f;
}

TQuotaFigures WithUnbooked(const TQuotaSettings& quota, TQuotaFigures figures, int64_t received,
                           int64_t sent, int32_t today) {
  if (today < figures.Period.Start || today > figures.Period.End) return figures;
  TReadNotes unused;
  const int64_t total = SaturatingSum(received, sent, unused);
  figures.Used =
      SaturatingSum(figures.Used, CountedBytes(quota.Count, received, sent, total), unused);
  DeriveFigures(figures, today);
  return figures;
}

TQuotaFigures ReadQuotaFigures(const std::string& folder, const TQuotaSettings& quota,
                               int32_t today, TReadNotes& notes) {
  const TReport report = LoadReport(folder);
  // The figures tell of their own sums and the days they count, not of the
  // weeks, months and years.
  notes.Add(NotesForRows(report.Notes, {}));
  return QuotaFigures(quota, report.Rows[rtDaily], today, notes);
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

std::string QuotaPercentText(const TQuotaFigures& figures) {
  const int64_t tenths = figures.Limit > 0 ? ScaleDown(figures.Used, 1000, figures.Limit) : 0;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string QuotaCsv(const TQuotaFigures& figures) {
  char values[256];
  std::snprintf(values, sizeof values, "%s,%s,%lld,%lld,%s,%d,%lld,%lld\r\n",
                FormatDateTimePicture(figures.Period.Start, "yyyy-MM-dd").c_str(),
                FormatDateTimePicture(figures.Period.End, "yyyy-MM-dd").c_str(),
                static_cast<long long>(figures.Used), static_cast<long long>(figures.Limit),
                QuotaPercentText(figures).c_str(), static_cast<int>(figures.DaysLeft),
                static_cast<long long>(figures.Budget), static_cast<long long>(figures.Projected));
  return std::string("START,END,USED,LIMIT,PERCENT,DAYSLEFT,BUDGET,PROJECTED\r\n") + values;
}

std::vector<TReportRow> BillingPeriodRows(const std::vector<TReportRow>& daily, int startDay,
                                          TReadNotes& notes, const TFormatSettings& fs) {
  std::vector<TReportRow> rows;
  for (const TReportRow& day : daily) {
    const TBillingPeriod period = BillingPeriodOf(day.Day, startDay);
    if (rows.empty() || rows.back().RowDate != period.Start) {
      TReportRow& row = rows.emplace_back();
      row.Index = static_cast<int64_t>(rows.size()) - 1;
      row.RowDate = period.Start;
      row.Caption = ShortDate(period.Start, fs) + " - " + ShortDate(period.End, fs);
    }
    AddToRow(rows.back(), day.Download, day.Upload, day.Seconds, notes);
  }
  return rows;
}

std::vector<TBillingPeriodRow> BillingPeriodRows(const std::vector<TReportRow>& daily,
                                                 const TQuotaSettings& quota, TReadNotes& notes,
                                                 const TFormatSettings& fs) {
  std::vector<TBillingPeriodRow> rows;
  for (const TReportRow& period : BillingPeriodRows(daily, quota.StartDay, notes, fs)) {
    TBillingPeriodRow& row = rows.emplace_back();
    static_cast<TReportRow&>(row) = period;
    row.Used = CountedBytes(quota.Count, period.Download, period.Upload, period.Total);
    row.Limit = quota.Limit;
  }
  return rows;
}

std::string BillingPeriodCell(const TBillingPeriodRow& row, int column, const TFormatSettings& fs) {
  TQuotaFigures figures;
  figures.Used = row.Used;
  figures.Limit = row.Limit;
  switch (column) {
    case 5: return row.Limit > 0 ? Size(row.Limit, fs) : "no limit";
    case 6: return row.Limit > 0 ? QuotaPercentText(figures) + "%" : "";
  }
  return ReportCell(row, column, fs);
}

int CompareBillingPeriodRows(const TBillingPeriodRow& a, const TBillingPeriodRow& b,
                             int32_t parameter) {
  const int column = (parameter < 0 ? -parameter : parameter) - 1;
  if (column < 5) return CompareReportRows(a, b, parameter);
  const int ascending = column == 5 ? CompareInt64(a.Limit, b.Limit) : CompareInt64(a.Used, b.Used);
  return parameter > 0 ? -ascending : ascending;
}
