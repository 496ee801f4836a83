#include "reports/quota.h"

#include <gtest/gtest.h>

#include "platform/date_time.h"
#include "platform/files.h"
#include "scratch_dir.h"
#include "traffic/usage_book.h"

namespace {

int32_t Serial(int year, int month, int day) {
  return EncodeDaySerial(year, month, day);
}

TReportRow DayRow(int32_t day, int64_t download, int64_t upload) {
  TReportRow row;
  row.Day = day;
  row.RowDate = day;
  row.Download = download;
  row.Upload = upload;
  row.Total = download + upload;
  row.Seconds = 60;
  return row;
}

struct PeriodCase {
  int Year, Month, Day, StartDay;
  int StartYear, StartMonth, Start, EndYear, EndMonth, End;
};

class BillingPeriodTest : public testing::TestWithParam<PeriodCase> {};

TEST_P(BillingPeriodTest, RunsFromTheLatestStartDayToTheDayBeforeTheNext) {
  const PeriodCase& c = GetParam();
  const TBillingPeriod expected{Serial(c.StartYear, c.StartMonth, c.Start),
                                Serial(c.EndYear, c.EndMonth, c.End)};
  EXPECT_EQ(BillingPeriodOf(Serial(c.Year, c.Month, c.Day), c.StartDay), expected);
}

INSTANTIATE_TEST_SUITE_P(Days, BillingPeriodTest,
                         testing::Values(PeriodCase{2024, 2, 29, 1, 2024, 2, 1, 2024, 2, 29},
                                         PeriodCase{2025, 3, 1, 1, 2025, 3, 1, 2025, 3, 31},
                                         PeriodCase{2024, 3, 2, 3, 2024, 2, 3, 2024, 3, 2},
                                         PeriodCase{2024, 3, 3, 3, 2024, 3, 3, 2024, 4, 2},
                                         PeriodCase{2025, 1, 2, 3, 2024, 12, 3, 2025, 1, 2},
                                         PeriodCase{2024, 2, 29, 29, 2024, 2, 29, 2024, 3, 28},
                                         PeriodCase{2025, 2, 27, 29, 2025, 1, 29, 2025, 2, 27},
                                         PeriodCase{2025, 2, 28, 29, 2025, 2, 28, 2025, 3, 28},
                                         PeriodCase{2024, 3, 29, 30, 2024, 2, 29, 2024, 3, 29},
                                         PeriodCase{2025, 3, 1, 30, 2025, 2, 28, 2025, 3, 29},
                                         PeriodCase{2025, 3, 30, 30, 2025, 3, 30, 2025, 4, 29},
                                         PeriodCase{2024, 2, 28, 31, 2024, 1, 31, 2024, 2, 28},
                                         PeriodCase{2024, 2, 29, 31, 2024, 2, 29, 2024, 3, 30},
                                         PeriodCase{2025, 2, 28, 31, 2025, 2, 28, 2025, 3, 30},
                                         PeriodCase{2025, 4, 30, 31, 2025, 4, 30, 2025, 5, 30},
                                         PeriodCase{2025, 1, 30, 31, 2024, 12, 31, 2025, 1, 30}));

// A settings file holding the text of the section "Quota".
class QuotaSettingsTest : public testing::Test {
 protected:
  TQuotaSettings Read(const std::string& keys) {
    Dir.Write("settings.ini", "[Quota]\r\n" + keys);
    TIniFile32 settings(Dir.Path("settings.ini"), false);
    return ReadQuotaSettings(settings);
  }

  TScratchDir Dir;
};

class QuotaFallbackTest : public QuotaSettingsTest,
                          public testing::WithParamInterface<const char*> {};

TEST_P(QuotaFallbackTest, UnparsableOrOutOfRangeValueGivesTheDefault) {
  EXPECT_EQ(Read(std::string(GetParam()) + "\r\n"), TQuotaSettings{}) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Values, QuotaFallbackTest,
                         testing::Values("Enabled=yes", "Limit=-1", "Limit=10GB", "StartDay=0",
                                         "StartDay=32", "Count=3", "Count=-1", "WarnPercent=0",
                                         "WarnPercent=101", "WarnedLevel=3",
                                         "WarnedPeriod=99999999999"));

TEST_F(QuotaSettingsTest, EveryKeyRoundTripsAtTheEndsOfItsRange) {
  const TQuotaSettings high{true, 5'000'000'000'000, 31, qcUpload, 100, 45000, 2};
  const TQuotaSettings low{true, 1, 2, qcDownload, 1, -1, 1};
  for (const TQuotaSettings& quota : {high, low}) {
    {
      TIniFile32 settings(Dir.Path("settings.ini"), false);
      WriteQuotaSettings(settings, quota);
    }
    TIniFile32 settings(Dir.Path("settings.ini"), false);
    EXPECT_EQ(ReadQuotaSettings(settings), quota);
  }
}

// The period of 3 March to 2 April 2025 (start day 3), seen from a day in it.
class QuotaFiguresTest : public testing::Test {
 protected:
  static TQuotaFigures Figures(int64_t limit, int64_t used, int32_t today) {
    TQuotaSettings quota;
    quota.Limit = limit;
    quota.StartDay = 3;
    TReadNotes notes;
    return QuotaFigures(quota, {DayRow(Serial(2025, 3, 3), used, 0)}, today, notes);
  }
};

TEST_F(QuotaFiguresTest, CountsTheDaysOfThePeriodInTheChosenDirection) {
  const std::vector<TReportRow> daily = {
      DayRow(Serial(2025, 3, 2), 1, 1), DayRow(Serial(2025, 3, 3), 100, 10),
      DayRow(Serial(2025, 3, 20), 200, 20),  // days between have no records
      DayRow(Serial(2025, 4, 2), 400, 40), DayRow(Serial(2025, 4, 3), 1, 1)};
  const std::pair<TQuotaCount, int64_t> counts[] = {
      {qcBoth, 770}, {qcDownload, 700}, {qcUpload, 70}};
  TReadNotes notes;
  for (const auto& [count, used] : counts) {
    TQuotaSettings quota;
    quota.StartDay = 3;
    quota.Count = count;
    EXPECT_EQ(QuotaFigures(quota, daily, Serial(2025, 4, 2), notes).Used, used) << count;
  }
  // Asked about an earlier day, the days after it had not been used yet.
  TQuotaSettings quota;
  quota.StartDay = 3;
  const TQuotaFigures earlier = QuotaFigures(quota, daily, Serial(2025, 3, 19), notes);
  EXPECT_EQ(earlier.Used, 110);
  EXPECT_EQ(earlier.Projected, 110 * 31 / 17);
  EXPECT_FALSE(notes.Saturated);
}

// What was counted since the files were read adds as the quota counts it,
// and the figures that follow from the amount follow it; past the period's
// end nothing is added to the old period.
TEST_F(QuotaFiguresTest, UnbookedBytesAddInTheChosenDirection) {
  const TQuotaFigures read = Figures(10000, 1000, Serial(2025, 3, 12));
  const std::pair<TQuotaCount, int64_t> counts[] = {
      {qcBoth, 1700}, {qcDownload, 1600}, {qcUpload, 1100}};
  for (const auto& [count, used] : counts) {
    TQuotaSettings quota;
    quota.Count = count;
    EXPECT_EQ(WithUnbooked(quota, read, 600, 100, Serial(2025, 3, 12)).Used, used) << count;
  }
  const TQuotaFigures now = WithUnbooked({}, read, 9000, 0, Serial(2025, 3, 13));
  EXPECT_EQ(now.Percent, 100);
  EXPECT_EQ(now.DaysLeft, 21);
  EXPECT_EQ(now.Budget, 0);
  EXPECT_EQ(now.Projected, 10000 * 31 / 11);
  EXPECT_EQ(WithUnbooked({}, read, 9000, 0, Serial(2025, 4, 3)).Used, 1000);
  EXPECT_EQ(WithUnbooked({}, read, INT64_MAX, 1, Serial(2025, 3, 12)).Used, INT64_MAX);
}

// Percents of amounts beyond 2^53 and sums beyond 2^63, from damaged files.
TEST_F(QuotaFiguresTest, NoFigureOverflows) {
  const int64_t limit = 20000000000000000, used = 10000000000000000;
  EXPECT_EQ(QuotaCsv(Figures(limit, used, Serial(2025, 3, 12))),
            "START,END,USED,LIMIT,PERCENT,DAYSLEFT,BUDGET,PROJECTED\r\n"
            "2025-03-03,2025-04-02,10000000000000000,20000000000000000,50.0,22,"
            "454545454545454,31000000000000000\r\n");
  EXPECT_EQ(QuotaTipLine(Figures(1, INT64_MAX, Serial(2025, 3, 3)), TFormatSettings{}),
            "Quota: 8,388,608.00 TB of 1 bytes (9223372036854775807%)");
  EXPECT_EQ(ScaleDown(INT64_MAX, 1000, INT64_MAX - 1), 1000);
  EXPECT_EQ(ScaleDown(INT64_MAX - 1, 1000, INT64_MAX), 999);
  TQuotaSettings quota;
  quota.StartDay = 3;
  TReadNotes notes;
  const TQuotaFigures sum = QuotaFigures(quota,
                                         {DayRow(Serial(2025, 3, 4), 6000000000000000000, 0),
                                          DayRow(Serial(2025, 3, 5), 6000000000000000000, 0)},
                                         Serial(2025, 3, 5), notes);
  EXPECT_EQ(sum.Used, INT64_MAX);
  EXPECT_TRUE(notes.Saturated);
}

struct FiguresCase {
  const char* Name;
  int64_t Limit, Used;
  int MarchDay;  // today
  double Percent;
  int32_t DaysLeft;
  int64_t Budget, Projected;
};

class QuotaFigureCaseTest : public QuotaFiguresTest,
                            public testing::WithParamInterface<FiguresCase> {};

TEST_P(QuotaFigureCaseTest, DerivesTheFiguresRoundingDown) {
  const FiguresCase& c = GetParam();
  const TQuotaFigures f = Figures(c.Limit, c.Used, Serial(2025, 3, c.MarchDay));
  EXPECT_EQ(f.Used, c.Used);
  EXPECT_EQ(f.Limit, c.Limit);
  EXPECT_DOUBLE_EQ(f.Percent, c.Percent);
  EXPECT_EQ(f.DaysLeft, c.DaysLeft);
  EXPECT_EQ(f.Budget, c.Budget);
  EXPECT_EQ(f.Projected, c.Projected);
}

// The period has 31 days; on 12 March 10 have passed, counting today.
INSTANTIATE_TEST_SUITE_P(
    Cases, QuotaFigureCaseTest,
    testing::Values(FiguresCase{"FirstDay", 3100, 100, 3, 100.0 / 31, 31, 96, 3100},
                    FiguresCase{"Midway", 1000, 300, 12, 30, 22, 31, 930},
                    FiguresCase{"RoundsDown", 1000, 101, 12, 10.1, 22, 40, 313},
                    FiguresCase{"LimitReached", 1000, 1000, 12, 100, 22, 0, 3100},
                    FiguresCase{"LimitPassed", 1000, 1500, 31, 150, 3, 0, 1603},
                    FiguresCase{"NoLimit", 0, 500, 12, 0, 22, 0, 1550},
                    // Beyond the 53 bits of a double.
                    FiguresCase{"Petabytes", 10'000'000'000'000'000, 9'007'199'254'740'993, 31,
                                90.07199254740993, 3, 330'933'581'753'002, 9'628'385'410'240'371}),
    [](const auto& info) { return info.param.Name; });

struct WarningCase {
  const char* Name;
  bool Enabled;
  int64_t Limit, Used;
  int32_t WarnedPeriod;  // 1: this one, 2: the one before, 0: never
  int WarnedLevel;
  TQuotaLevel Due;
};

class DueQuotaWarningTest : public QuotaFiguresTest,
                            public testing::WithParamInterface<WarningCase> {};

TEST_P(DueQuotaWarningTest, WarnsOncePerPeriodAndLevel) {
  const WarningCase& c = GetParam();
  TQuotaSettings quota;
  quota.Enabled = c.Enabled;
  quota.Limit = c.Limit;
  quota.StartDay = 3;
  const int32_t periods[] = {0, Serial(2025, 3, 3), Serial(2025, 2, 3)};
  quota.WarnedPeriod = periods[c.WarnedPeriod];
  quota.WarnedLevel = c.WarnedLevel;
  EXPECT_EQ(DueQuotaWarning(quota, Figures(c.Limit, c.Used, Serial(2025, 3, 12))), c.Due);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DueQuotaWarningTest,
    testing::Values(WarningCase{"Below", true, 1000, 799, 0, qlNone, qlNone},
                    WarningCase{"AtWarnPercent", true, 1000, 800, 0, qlNone, qlWarning},
                    WarningCase{"JustBelowLimit", true, 1000, 999, 0, qlNone, qlWarning},
                    WarningCase{"BothCrossed", true, 1000, 1200, 0, qlNone, qlLimit},
                    WarningCase{"AtLimitAfterWarning", true, 1000, 1000, 1, qlWarning, qlLimit},
                    WarningCase{"WarnedThisPeriod", true, 1000, 900, 1, qlWarning, qlNone},
                    WarningCase{"LimitWarned", true, 1000, 1200, 1, qlLimit, qlNone},
                    WarningCase{"NewPeriod", true, 1000, 900, 2, qlLimit, qlWarning},
                    WarningCase{"Disabled", false, 1000, 1200, 0, qlNone, qlNone},
                    WarningCase{"NoLimit", true, 0, 1200, 0, qlNone, qlNone}),
    [](const auto& info) { return info.param.Name; });

TEST_F(QuotaSettingsTest, WarningGivenBeforeARestartIsNotDueAgain) {
  TQuotaSettings quota{true, 1000, 3, qcBoth, 80};
  TReadNotes notes;
  const TQuotaFigures figures =
      QuotaFigures(quota, {DayRow(Serial(2025, 3, 5), 850, 0)}, Serial(2025, 3, 12), notes);
  ASSERT_EQ(DueQuotaWarning(quota, figures), qlWarning);
  quota.WarnedPeriod = figures.Period.Start;
  quota.WarnedLevel = qlWarning;
  {
    TIniFile32 settings(Dir.Path("settings.ini"), false);
    WriteQuotaSettings(settings, quota);
  }
  TIniFile32 settings(Dir.Path("settings.ini"), false);
  EXPECT_EQ(DueQuotaWarning(ReadQuotaSettings(settings), figures), qlNone);
}

TEST_F(QuotaFiguresTest, TextsShowSizesAndAWholePercentRoundedDown) {
  const TFormatSettings english;
  const int64_t GB = 1 << 30;
  const int32_t mar12 = Serial(2025, 3, 12), mar31 = Serial(2025, 3, 31), apr2 = Serial(2025, 4, 2);
  const TQuotaFigures nearly = Figures(10 * GB, 2 * GB - 1, mar31);  // 19.99 %
  EXPECT_EQ(QuotaTipLine(nearly, english), "Quota: 2.00 GB of 10.00 GB (19%)");
  EXPECT_EQ(QuotaBudgetText(nearly, english), "3 days left: 2.67 GB a day");
  const TQuotaFigures open = Figures(0, 3 * GB / 2, apr2);  // the last day
  EXPECT_EQ(QuotaTipLine(open, english), "Quota: 1.50 GB (no limit)");
  EXPECT_EQ(QuotaBudgetText(open, english), "1 day left");
  EXPECT_EQ(QuotaBudgetText(Figures(GB, GB, apr2), english), "1 day left: 0 bytes a day");

  TFormatSettings german;
  german.DecimalSeparator = ',';
  german.ThousandSeparator = '.';
  german.ShortDateFormat = "dd.MM.yyyy";
  const TQuotaFigures warned = Figures(10 * GB, 17 * GB / 2, mar12);
  EXPECT_EQ(QuotaBalloonText(qlWarning, warned, german),
            "8,50 GB of 10,00 GB used (85%) since 03.03.2025.");
  EXPECT_EQ(QuotaBalloonText(qlLimit, Figures(10 * GB, 11 * GB, mar12), german),
            "The data quota of 10,00 GB is used up (110%).\n"
            "11,00 GB of 10,00 GB used (110%) since 03.03.2025.");
}

TEST_F(QuotaFiguresTest, CsvKeepsThePointAndRoundsThePercentDown) {
  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  comma.ThousandSeparator = '.';
  SetFormatSettings(comma);
  const std::string csv = QuotaCsv(Figures(10000, 1999, Serial(2025, 3, 12)));  // 19.99 %
  SetFormatSettings(TFormatSettings{});
  EXPECT_EQ(csv,
            "START,END,USED,LIMIT,PERCENT,DAYSLEFT,BUDGET,PROJECTED\r\n"
            "2025-03-03,2025-04-02,1999,10000,19.9,22,363,6196\r\n");
}

TEST(BillingPeriodRowsTest, GroupsDaysByPeriod) {
  const std::vector<TReportRow> daily = {
      DayRow(Serial(2024, 1, 30), 1, 2), DayRow(Serial(2024, 1, 31), 10, 20),
      DayRow(Serial(2024, 2, 28), 100, 200), DayRow(Serial(2024, 2, 29), 1000, 2000)};
  TReadNotes notes;
  const std::vector<TReportRow> rows = BillingPeriodRows(daily, 31, notes, TFormatSettings{});
  ASSERT_EQ(rows.size(), 3u);
  const char* captions[] = {"12/31/2023 - 1/30/2024", "1/31/2024 - 2/28/2024",
                            "2/29/2024 - 3/30/2024"};
  const int32_t starts[] = {Serial(2023, 12, 31), Serial(2024, 1, 31), Serial(2024, 2, 29)};
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].Caption, captions[i]);
    EXPECT_EQ(rows[i].RowDate, starts[i]);
    EXPECT_EQ(rows[i].Index, static_cast<int64_t>(i));
  }
  EXPECT_EQ(rows[1].Download, 110);
  EXPECT_EQ(rows[1].Upload, 220);
  EXPECT_EQ(rows[1].Total, 330);
  EXPECT_EQ(rows[1].Seconds, 120);
}

// Each period with the bytes the quota counts of it and the share of the
// limit they are, sorted by either as by the report's columns.
TEST(BillingPeriodRowsTest, ShowTheLimitAndTheShareUsed) {
  const std::vector<TReportRow> daily = {DayRow(Serial(2024, 1, 30), 1000, 2),
                                         DayRow(Serial(2024, 2, 2), 4000, 3996),
                                         DayRow(Serial(2024, 2, 29), 999, 1)};
  TQuotaSettings quota;
  quota.StartDay = 31;
  quota.Limit = 8000;
  quota.Count = qcDownload;
  TReadNotes notes;
  std::vector<TBillingPeriodRow> rows = BillingPeriodRows(daily, quota, notes, TFormatSettings{});
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].Caption, "1/31/2024 - 2/28/2024");
  EXPECT_EQ(rows[1].Total, 7996);
  EXPECT_EQ(rows[1].Used, 4000);
  const auto cells = [](const TBillingPeriodRow& row) {
    std::vector<std::string> texts;
    for (int column = 0; column < 7; ++column)
      texts.push_back(BillingPeriodCell(row, column, TFormatSettings{}));
    return texts;
  };
  EXPECT_EQ(cells(rows[1]), (std::vector<std::string>{"1/31/2024 - 2/28/2024", "3 KB", "3 KB",
                                                      "7 KB", "01:00", "7 KB", "50.0%"}));
  EXPECT_EQ(cells(rows[0])[6], "12.5%");
  EXPECT_EQ(cells(rows[2])[6], "12.4%");  // 12.4875, rounded down

  // By the share used, largest first, then the other way round; the limit,
  // the same for all, is no order.
  EXPECT_LT(CompareBillingPeriodRows(rows[1], rows[0], 7), 0);
  EXPECT_GT(CompareBillingPeriodRows(rows[1], rows[0], -7), 0);
  EXPECT_EQ(CompareBillingPeriodRows(rows[1], rows[0], 6), 0);
  EXPECT_LT(CompareBillingPeriodRows(rows[2], rows[0], -2), 0);  // DL, smallest first

  quota.Limit = 0;
  rows = BillingPeriodRows(daily, quota, notes, TFormatSettings{});
  EXPECT_EQ(cells(rows[0])[5], "no limit");
  EXPECT_EQ(cells(rows[0])[6], "");
}

// The quota reads what the reports read: every month file of the folder,
// another ".dat" beside them included, as the reports count a day.
TEST(ReadQuotaFiguresTest, ReadsTheFilesTheReportsRead) {
  TScratchDir dir;
  MakeDirectory(dir.Path("data"));
  dir.Write("data/45717.dat",  // March 2025, the program's own file
            "[45719]\r\nRecv=1000\r\nXmit=10\r\n\r\n[45740]\r\nRecv=999\r\n");
  dir.Write("data/copy.dat", "[45719]\r\nRecv=5\r\n\r\n[45720]\r\nRecv=8000\r\n");
  TQuotaSettings quota;
  quota.Limit = 10000;
  TReadNotes notes;
  const TQuotaFigures figures = ReadQuotaFigures(dir.Folder(), quota, 45730, notes);
  EXPECT_EQ(figures.Used, 9010);  // 2 and 3 March; not the 23rd, after today
  EXPECT_EQ(QuotaTipLine(figures, TFormatSettings{}), "Quota: 8 KB of 9 KB (90%)");
  EXPECT_TRUE(notes.Texts().empty());
}

}  // namespace
