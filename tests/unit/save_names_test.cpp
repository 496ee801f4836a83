#include "reports/save_names.h"

#include <gtest/gtest.h>

#include "platform/date_time.h"

namespace {

TReportRow Row(int year, int month, int day) {
  TReportRow row;
  row.Day = EncodeDaySerial(year, month, day);
  row.RowDate = row.Day;
  row.Year = year;
  return row;
}

TEST(SaveNamesTest, ReportsAreNamedAfterTheListAndThePeriodOfTheRow) {
  TReportRow day = Row(2026, 12, 7);
  EXPECT_EQ(ReportFileName(rtDaily, &day, "csv"), "tallyline-daily-2026-12.csv");
  EXPECT_EQ(ReportFileName(kHourlyList, &day, "png"), "tallyline-hourly-2026-12-07.png");
  EXPECT_EQ(ReportFileName(rtMonthly, &day, "bmp"), "tallyline-monthly-2026.bmp");
  EXPECT_EQ(ReportFileName(rtYearly, &day, "csv"), "tallyline-yearly.csv");
  // A week is of the year it belongs to: 29 December 2025 is in 2026's first.
  TReportRow week = Row(2025, 12, 29);
  week.Year = 2026;
  EXPECT_EQ(ReportFileName(rtWeekly, &week, "csv"), "tallyline-weekly-2026.csv");
  // A billing period by its first day, which is its row's date.
  TReportRow period;
  period.RowDate = EncodeDaySerial(2026, 11, 15);
  EXPECT_EQ(ReportFileName(kBillingPeriodsList, &period, "csv"),
            "tallyline-billing-periods-2026-11-15.csv");
  EXPECT_EQ(ReportFileName(rtDaily, nullptr, "csv"), "tallyline-daily.csv");
  // Days of the years 1 and 9999.
  TReportRow first = Row(1, 1, 1), last = Row(9999, 12, 31);
  EXPECT_EQ(ReportFileName(kHourlyList, &first, "csv"), "tallyline-hourly-0001-01-01.csv");
  EXPECT_EQ(ReportFileName(rtDaily, &last, "csv"), "tallyline-daily-9999-12.csv");
}

TEST(SaveNamesTest, TheLogIsNamedAfterTheMonthOfTheConnection) {
  // A start a hair before midnight shows, and is named, as the next day.
  const TConnectionRecord record{EncodeDaySerial(2027, 1, 1) - 1e-10, 46400, 1, "ISP", 0, 0};
  EXPECT_EQ(LogFileName(&record, "csv"), "tallyline-log-2027-01.csv");
  EXPECT_EQ(LogFileName(nullptr, "csv"), "tallyline-log.csv");
}

}  // namespace
