#include "reports/chart_slots.h"

#include <gtest/gtest.h>

#include "reports/save_names.h"

namespace {

int Day(int year, int month, int day) {
  return EncodeDaySerial(year, month, day);
}

TReportRow Row(int day, int period = 0, int year = 0) {
  TReportRow row;
  row.RowDate = day;
  row.Day = day;
  row.Period = period;
  row.Year = year;
  return row;
}

std::vector<std::string> Labels(const TChart& chart) {
  std::vector<std::string> labels;
  for (const TChartSlot& slot : chart.Slots) labels.push_back(slot.Label);
  return labels;
}

class ChartSlotsTest : public testing::Test {
 protected:
  const TFormatSettings English{};
};

// A day of data in the middle of November: the whole month shows, a slot a
// day, the days without data empty, and the title names the month's span.
TEST_F(ChartSlotsTest, TheDailyChartHasASlotForEveryDayOfTheMonth) {
  const std::vector<TReportRow> rows = {Row(Day(2026, 10, 31)), Row(Day(2026, 11, 3)),
                                        Row(Day(2026, 11, 20))};
  const TDayRange range = ChartRangeAround(rtDaily, NewestDay(rows), rows);
  EXPECT_EQ(range, (TDayRange{Day(2026, 11, 1), Day(2026, 11, 30)}));
  const TChart chart = ReportChartOf(rtDaily, rows, range, English);
  ASSERT_EQ(chart.Slots.size(), 30u);
  EXPECT_EQ(chart.Slots[2].Row, &rows[1]);
  EXPECT_EQ(chart.Slots[19].Row, &rows[2]);
  for (int i : {0, 1, 3, 18, 20, 29}) EXPECT_EQ(chart.Slots[i].Row, nullptr) << i;
  EXPECT_EQ(chart.Slots[0].Label, "11/1");
  EXPECT_EQ(chart.Slots[29].Label, "11/30");
  EXPECT_EQ(chart.Title, "Daily, 11/1/2026 \x96 11/30/2026");
}

// The year goes from the labels only while the title tells it, whatever
// the date's order; across years the labels keep it.
TEST_F(ChartSlotsTest, LabelsDropTheYearOnlyWithinOneYear) {
  TFormatSettings german;
  german.ShortDateFormat = "dd.MM.yyyy";
  TFormatSettings iso;
  iso.ShortDateFormat = "yyyy-MM-dd";
  const TDayRange range{Day(2026, 12, 31), Day(2027, 1, 1)};
  EXPECT_EQ(Labels(ReportChartOf(rtDaily, {}, {range.First, range.First}, german)),
            std::vector<std::string>{"31.12"});
  EXPECT_EQ(Labels(ReportChartOf(rtDaily, {}, {range.First, range.First}, iso)),
            std::vector<std::string>{"12-31"});
  EXPECT_EQ(Labels(ReportChartOf(rtDaily, {}, range, iso)),
            (std::vector<std::string>{"2026-12-31", "2027-01-01"}));
}

// 2026 has 53 ISO weeks, from Monday 29 December 2025: a week's row stands
// in the slot of its ISO year and week, not of its calendar year.
TEST_F(ChartSlotsTest, TheWeeklyChartHoldsTheWeeksOfTheIsoYear) {
  const std::vector<TReportRow> rows = {Row(Day(2025, 12, 30), 1, 2026),
                                        Row(Day(2026, 12, 31), 53, 2026)};
  const TDayRange range = ChartRangeAround(rtWeekly, Day(2026, 6, 1), rows);
  const TChart chart = ReportChartOf(rtWeekly, rows, range, English);
  ASSERT_EQ(chart.Slots.size(), 53u);
  EXPECT_EQ(chart.Slots[0].Row, &rows[0]);
  EXPECT_EQ(chart.Slots[52].Row, &rows[1]);
  EXPECT_EQ(chart.Slots[0].Label, "01");
  EXPECT_EQ(chart.Title, "Weekly, 12/29/2025 \x96 1/3/2027");
}

// A range given by days covers the months it touches, across a year's end.
TEST_F(ChartSlotsTest, MonthsAndYearsCoverTheRangeTheyTouch) {
  const std::vector<TReportRow> months = {Row(Day(2025, 12, 5), 12, 2025),
                                          Row(Day(2026, 2, 1), 2, 2026)};
  const TChart monthly =
      ReportChartOf(rtMonthly, months, {Day(2025, 11, 15), Day(2026, 2, 10)}, English);
  EXPECT_EQ(Labels(monthly),
            (std::vector<std::string>{"2025 / Nov", "2025 / Dec", "2026 / Jan", "2026 / Feb"}));
  EXPECT_EQ(monthly.Slots[1].Row, &months[0]);
  EXPECT_EQ(monthly.Slots[2].Row, nullptr);
  EXPECT_EQ(monthly.Slots[3].Row, &months[1]);
  EXPECT_EQ(monthly.Title, "Monthly, 11/1/2025 \x96 2/28/2026");

  const std::vector<TReportRow> years = {Row(Day(2024, 3, 1), 0, 2024),
                                         Row(Day(2026, 7, 1), 0, 2026)};
  const TChart yearly =
      ReportChartOf(rtYearly, years, ChartRangeAround(rtYearly, Day(2026, 7, 1), years), English);
  EXPECT_EQ(Labels(yearly), (std::vector<std::string>{"2024", "2025", "2026"}));
  EXPECT_EQ(yearly.Slots[1].Row, nullptr);
  EXPECT_EQ(yearly.Title, "Yearly, 1/1/2024 \x96 12/31/2026");
}

TEST_F(ChartSlotsTest, TheHourlyChartHas24SlotsInHourOrder) {
  const int day = Day(2026, 12, 7);
  const std::vector<TReportRow> rows = {Row(day, 7), Row(day, 23)};
  const TChart chart = ReportChartOf(kHourlyList, rows, {day, day}, English);
  ASSERT_EQ(chart.Slots.size(), 24u);
  EXPECT_EQ(chart.Slots[7].Row, &rows[0]);
  EXPECT_EQ(chart.Slots[23].Row, &rows[1]);
  EXPECT_EQ(chart.Slots[8].Row, nullptr);
  EXPECT_EQ(chart.Slots[13].Label, "13:00");
  EXPECT_EQ(chart.Title, "Hourly, 12/7/2026");
}

}  // namespace
