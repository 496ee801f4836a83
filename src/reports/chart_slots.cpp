#include "reports/chart_slots.h"

#include <cctype>
#include <map>

#include "formatting/date_format.h"
#include "platform/ansi_text.h"
#include "reports/save_names.h"

namespace {

int MonthNumber(int day) {  // months since year 0
  const TSystemTime date = DecodeDaySerial(day);
  return date.Year * 12 + date.Month - 1;
}

int FirstOfMonth(int monthNumber) {
  return EncodeDaySerial(monthNumber / 12, monthNumber % 12 + 1, 1);
}

int YearOf(int day) {
  return DecodeDaySerial(day).Year;
}

// The short date's picture without the year and the separator that joined
// it: "M/d/yyyy" -> "M/d", "yyyy-MM-dd" -> "MM-dd", "d. M. yyyy" -> "d. M".
std::string WithoutYear(const std::string& picture) {
  const size_t first = picture.find('y');
  if (first == std::string::npos) return picture;
  size_t end = picture.find_first_not_of('y', first);
  if (end == std::string::npos) end = picture.size();
  const auto separator = [&](size_t i) {
    return !std::isalpha(static_cast<unsigned char>(picture[i]));
  };
  std::string before = picture.substr(0, first), after = picture.substr(end);
  if (after.empty())
    while (!before.empty() && separator(before.size() - 1)) before.pop_back();
  else
    while (!after.empty() && separator(picture.size() - after.size())) after.erase(0, 1);
  return before + after;
}

// A row's caption as a label: without its year ("2026 / 05" -> "05") where
// the title tells it.
std::string Label(const std::string& caption, bool withYear) {
  return withYear ? caption : caption.substr(caption.find(" / ") + 3);
}

std::string ShortDate(int day, const TFormatSettings& fs) {
  return FormatDateTimePicture(day, fs.ShortDateFormat, fs);
}

const char* ListName(int list) {
  return list == kHourlyList ? "Hourly" : kReportTabNames[list];
}

std::string TitleOf(const char* name, int first, int last, const TFormatSettings& fs) {
  std::string title = std::string(name) + ", " + ShortDate(first, fs);
  if (last != first) title += " " + AnsiEnDash() + " " + ShortDate(last, fs);
  return title;
}

}  // namespace

int NewestDay(const std::vector<TReportRow>& rows) {
  return rows.empty() ? static_cast<int>(LocalNow()) : static_cast<int>(rows.back().RowDate);
}

TDayRange ChartRangeAround(int list, int day, const std::vector<TReportRow>& rows) {
  const TSystemTime date = DecodeDaySerial(day);
  switch (list) {
    case rtDaily:
      return {EncodeDaySerial(date.Year, date.Month, 1),
              EncodeDaySerial(date.Year, date.Month, DaysInMonth(date.Year, date.Month))};
    case rtWeekly: {
      const int year = IsoWeek(day).Year;
      // Week 1 holds 4 January, the year's last week 28 December.
      return {EncodeDaySerial(year, 1, 4), EncodeDaySerial(year, 12, 28)};
    }
    case rtMonthly: return {EncodeDaySerial(date.Year, 1, 1), EncodeDaySerial(date.Year, 12, 31)};
    case rtYearly:
      if (!rows.empty()) return {static_cast<int>(rows.front().RowDate), NewestDay(rows)};
      return {EncodeDaySerial(date.Year, 1, 1), EncodeDaySerial(date.Year, 12, 31)};
    default: return {day, day};
  }
}

int64_t ChartSlotCount(int list, TDayRange range) {
  switch (list) {
    case rtDaily: return int64_t{range.Last} - range.First + 1;
    case rtWeekly: return (int64_t{MondayOf(range.Last)} - MondayOf(range.First)) / 7 + 1;
    case rtMonthly: return MonthNumber(range.Last) - MonthNumber(range.First) + 1;
    case rtYearly: return YearOf(range.Last) - YearOf(range.First) + 1;
    default: return 24;
  }
}

TChart ReportChartOf(int list, const std::vector<TReportRow>& rows, TDayRange range,
                     const TFormatSettings& fs) {
  const auto keyOf = [list](const TReportRow& row) -> int64_t {
    switch (list) {
      case rtDaily: return row.Day;
      case rtWeekly:
      case rtMonthly: return int64_t{row.Year} * 100 + row.Period;
      case rtYearly: return row.Year;
      default: return row.Period;
    }
  };
  std::map<int64_t, const TReportRow*> byKey;
  for (const TReportRow& row : rows) byKey[keyOf(row)] = &row;

  // Labels drop the year the title tells.
  const bool oneYear = list == rtWeekly ? IsoWeek(range.First).Year == IsoWeek(range.Last).Year
                                        : YearOf(range.First) == YearOf(range.Last);
  const std::string dayPicture = oneYear ? WithoutYear(fs.ShortDateFormat) : fs.ShortDateFormat;
  TChart chart;
  int first = range.First, last = range.Last;  // the days of the periods
  const auto add = [&](int64_t key, int day, std::string label) {
    if (chart.Slots.empty()) first = day;
    const auto found = byKey.find(key);
    chart.Slots.push_back({found == byKey.end() ? nullptr : found->second, std::move(label)});
  };
  const int count = static_cast<int>(ChartSlotCount(list, range));
  for (int i = 0; i < count; ++i) {
    switch (list) {
      case rtDaily:
        add(range.First + i, range.First + i,
            FormatDateTimePicture(range.First + i, dayPicture, fs));
        break;
      case rtWeekly: {
        const int monday = MondayOf(range.First) + 7 * i;
        const TIsoWeek week = IsoWeek(monday);
        add(int64_t{week.Year} * 100 + week.Week, monday, Label(WeekCaption(week), !oneYear));
        last = monday + 6;
        break;
      }
      case rtMonthly: {
        const int month = MonthNumber(range.First) + i;
        add(int64_t{month / 12} * 100 + month % 12 + 1, FirstOfMonth(month),
            Label(MonthCaption(month / 12, month % 12 + 1, fs), !oneYear));
        last = FirstOfMonth(month + 1) - 1;
        break;
      }
      case rtYearly: {
        const int year = YearOf(range.First) + i;
        add(year, EncodeDaySerial(year, 1, 1), std::to_string(year));
        last = EncodeDaySerial(year, 12, 31);
        break;
      }
      default: add(i, range.First, HourCaption(i)); last = range.First;
    }
  }
  chart.Title = TitleOf(ListName(list), first, last, fs);
  chart.LabelCycle = list == rtDaily     ? 7
                     : list == rtWeekly  ? 52
                     : list == rtMonthly ? 12
                     : list == rtYearly  ? 10
                                         : 24;
  return chart;
}

TChart BillingChartOf(const std::vector<const TReportRow*>& rows, int lastDay,
                      const TFormatSettings& fs) {
  TChart chart;
  if (rows.empty()) return chart;
  const int first = static_cast<int>(rows.front()->RowDate);
  const bool oneYear = YearOf(first) == YearOf(lastDay);
  const std::string picture = oneYear ? WithoutYear(fs.ShortDateFormat) : fs.ShortDateFormat;
  for (const TReportRow* row : rows)
    chart.Slots.push_back({row, FormatDateTimePicture(row->RowDate, picture, fs)});
  chart.Title = TitleOf("Billing periods", first, lastDay, fs);
  chart.LabelCycle = 12;
  return chart;
}
