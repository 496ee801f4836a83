#pragma once

#include <string>
#include <vector>

#include "platform/format_settings.h"
#include "reports/report_model.h"

// What a report's chart shows: a slot for every day, week, month, year or
// hour of a range, in time order, each with the row recorded for it (none
// where nothing was), and the label under it. The window and the command
// line choose their range here, so that both draw the same.

// Day serials, both included.
struct TDayRange {
  int First = 0;
  int Last = 0;
  bool operator==(const TDayRange&) const = default;
};

struct TChartSlot {
  const TReportRow* Row = nullptr;
  std::string Label;
};

struct TChart {
  std::string Title;  // "Daily, 11/1/2026 – 11/30/2026", "Hourly, 12/7/2026"
  std::vector<TChartSlot> Slots;
  // The labels' natural cycle: every 24th hour, 7th day, 52nd week, 12th
  // month or 10th year. Labels are thinned to a divisor of it or a multiple.
  int LabelCycle = 1;
};

// The range a list's chart shows around a day: its month (daily), the weeks
// of its week's ISO year (weekly), its year (monthly), the day (hourly); the
// years from the first row to the last (yearly, the day's year without
// rows). list is a TReportTab or kHourlyList.
TDayRange ChartRangeAround(int list, int day, const std::vector<TReportRow>& rows);

// The day a list's chart is shown around by default: the newest row's (the
// last), today's without rows.
int NewestDay(const std::vector<TReportRow>& rows);

// The slots of a list over the days of range, the rows (in time order, as
// LoadReport and HourlyRows give them) matched to them by their period:
// every day, ISO week, month or year that range touches, or the 24 hours of
// range.First. Labels drop the year while range lies within one.
TChart ReportChartOf(int list, const std::vector<TReportRow>& rows, TDayRange range,
                     const TFormatSettings& fs = FormatSettings());

// The billing periods' chart: a slot for each row (RowDate its first day),
// labelled with that day; lastDay ends the last period.
TChart BillingChartOf(const std::vector<const TReportRow*>& rows, int lastDay,
                      const TFormatSettings& fs = FormatSettings());

// The number of slots ReportChartOf gives for range, without making them.
int64_t ChartSlotCount(int list, TDayRange range);
