#include "reports/report_model.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "scratch_dir.h"

namespace {

int Serial(int year, int month, int day) {
  return EncodeDaySerial(year, month, day);
}

// Month files written as the program writes them, and the report over them.
class ReportModelTest : public testing::Test {
 protected:
  ReportModelTest() { MakeDirectory(Dir.Path("data")); }

  // A day's section: its totals, an entry's bytes received, and more keys.
  static std::string Day(int serial, int64_t recv, int64_t xmit, int64_t seconds,
                         const std::string& more = "") {
    return "[" + std::to_string(serial) + "]\r\nHours=" + std::to_string(seconds) +
           "\r\nRecv=" + std::to_string(recv) + "\r\nXmit=" + std::to_string(xmit) +
           "\r\nMyISP-Recv=7\r\n" + more + "\r\n";
  }
  // The month file the program writes for the month of a day.
  static std::string MonthFile(int serial) {
    const TSystemTime date = DecodeDaySerial(serial);
    return std::to_string(Serial(date.Year, date.Month, 1)) + ".dat";
  }
  void Write(const std::string& name, const std::string& text) {
    Dir.Write(std::string("data") + PathDelim + name, text);
  }
  void Load() { Report = LoadReport(Dir.Folder(), English); }
  std::vector<std::string> Captions(TReportTab tab) const {
    std::vector<std::string> captions;
    for (const TReportRow& row : Report.Rows[tab]) captions.push_back(row.Caption);
    return captions;
  }

  TScratchDir Dir;
  const TFormatSettings English;
  TReport Report;
};

struct WeekCase {
  int Year, Month, Day, IsoYear, Week;
};

class IsoWeekTest : public testing::TestWithParam<WeekCase> {};

TEST_P(IsoWeekTest, WeeksBeginOnMondayAndWeekOneHoldsTheFirstThursday) {
  const WeekCase& c = GetParam();
  const TIsoWeek week = IsoWeek(Serial(c.Year, c.Month, c.Day));
  EXPECT_EQ(week.Year, c.IsoYear);
  EXPECT_EQ(week.Week, c.Week);
}

INSTANTIATE_TEST_SUITE_P(Days, IsoWeekTest,
                         testing::Values(WeekCase{2005, 12, 30, 2005, 52},
                                         WeekCase{2006, 1, 1, 2005, 52},  // a Sunday
                                         WeekCase{2006, 1, 2, 2006, 1},   // the next Monday
                                         WeekCase{2008, 12, 29, 2009, 1},
                                         WeekCase{2010, 1, 3, 2009, 53},
                                         WeekCase{2010, 1, 4, 2010, 1}));

TEST_F(ReportModelTest, YearBoundarySplitsWeeksMonthsAndYears) {
  const int dec30 = Serial(2005, 12, 30), jan1 = Serial(2006, 1, 1), jan2 = Serial(2006, 1, 2);
  Write(MonthFile(dec30), Day(dec30, 100, 10, 60));
  Write(MonthFile(jan1), Day(jan1, 200, 20, 120) + Day(jan2, 400, 40, 240));
  Load();
  EXPECT_EQ(Captions(rtDaily), (std::vector<std::string>{"12/30/2005", "1/1/2006", "1/2/2006"}));
  EXPECT_EQ(Captions(rtWeekly), (std::vector<std::string>{"2005 / 52", "2006 / 01"}));
  EXPECT_EQ(Captions(rtMonthly), (std::vector<std::string>{"2005 / Dec", "2006 / Jan"}));
  EXPECT_EQ(Captions(rtYearly), (std::vector<std::string>{"2005", "2006"}));
  const TReportRow& week52 = Report.Rows[rtWeekly][0];
  EXPECT_EQ(week52.Download, 300);
  EXPECT_EQ(week52.Total, 330);
  EXPECT_EQ(week52.Seconds, 180);
  EXPECT_EQ(week52.RowDate, dec30);  // its first recorded day
  EXPECT_EQ(Report.Rows[rtMonthly][1].RowDate, jan1);
  EXPECT_EQ(Report.Rows[rtYearly][1].Index, 1);
}

// A week is captioned with the year it belongs to, so no two rows read
// alike; its date in the export stays its first recorded day.
TEST_F(ReportModelTest, WeeksAreCaptionedWithTheirIsoYear) {
  const int jan1 = Serial(2007, 1, 1), jan7 = Serial(2007, 1, 7), dec31 = Serial(2007, 12, 31);
  Write(MonthFile(jan1), Day(jan1, 1, 1, 1) + Day(jan7, 1, 1, 1));
  Write(MonthFile(dec31), Day(dec31, 1, 1, 1));
  Load();
  EXPECT_EQ(Captions(rtWeekly), (std::vector<std::string>{"2007 / 01", "2008 / 01"}));
  EXPECT_EQ(ReportCsv({&Report.Rows[rtWeekly][1]}),
            "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n12-31-2007,1,1,2,1\r\n");
}

TEST_F(ReportModelTest, SameWeekNumberOfAnotherYearIsAnotherWeek) {
  const int a = Serial(2005, 3, 9), b = Serial(2006, 3, 8);  // both in ISO week 10
  Write(MonthFile(a), Day(a, 1, 1, 1));
  Write(MonthFile(b), Day(b, 1, 1, 1));
  Load();
  EXPECT_EQ(Captions(rtWeekly), (std::vector<std::string>{"2005 / 10", "2006 / 10"}));
}

TEST_F(ReportModelTest, CellsShowBytesAndHoursBeyondADay) {
  TReportRow row;
  row.Download = 512;
  row.Upload = 1572864;
  row.Total = 1573376;
  row.Seconds = 443045;
  EXPECT_EQ(ReportCell(row, 1, English), "512 bytes");
  EXPECT_EQ(ReportCell(row, 3, English), "1.50 MB");
  EXPECT_EQ(ReportCell(row, 4, English), "123:04:05");
  row.Seconds = 3599;
  EXPECT_EQ(ReportCell(row, 4, English), "59:59");
  row.Caption = "2006 / Jan";
  row.Download = 1572864;
  row.Upload = 12288;
  row.Total = 1585152;
  EXPECT_EQ(ReportCopyText(row.Caption, row, English),
            "2006 / Jan - DL: 1.50 MB UL: 12 KB TOTAL: 1.51 MB");
}

TEST_F(ReportModelTest, ClicksSortLargestFirstThenFlipOnTheSameColumnOnly) {
  TReportRow small, large;
  small.Download = 1;
  small.Upload = 9;
  large.Download = 5;
  large.Upload = 2;
  int column = -1;
  bool flag = true;
  int32_t parameter = ClickSortColumn(column, flag, 1);  // DL
  EXPECT_LT(CompareReportRows(large, small, parameter), 0);
  parameter = ClickSortColumn(column, flag, 1);  // DL again
  EXPECT_GT(CompareReportRows(large, small, parameter), 0);
  parameter = ClickSortColumn(column, flag, 2);  // UL: the direction stays
  EXPECT_EQ(column, 2);
  EXPECT_LT(CompareReportRows(large, small, parameter), 0);  // smallest upload first
  EXPECT_EQ(CompareReportRows(large, large, parameter), 0);
  EXPECT_EQ(ReportRowColor(0), 0x00FEFFFFu);
  EXPECT_EQ(ReportRowColor(1), 0x00EFEFEFu);
  EXPECT_EQ(ReportRowColor(2), 0x00FEFFFFu);
}

TEST_F(ReportModelTest, CsvIsPlainIntegersWithMonthFirstDatesAndCrLf) {
  const int day = Serial(2006, 1, 31);
  Write(MonthFile(day), Day(day, 1048576, 2048, 3600));
  Load();
  std::vector<const TReportRow*> rows = {&Report.Rows[rtDaily][0], &Report.Rows[rtYearly][0]};
  EXPECT_EQ(ReportCsv(rows),
            "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n"
            "01-31-2006,1048576,2048,1050624,3600\r\n"
            "01-31-2006,1048576,2048,1050624,3600\r\n");
  EXPECT_EQ(ReportCsv({}), "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n");
}

// Damaged values: an amount below 0 counts as 0, and sums stop at the
// largest number rather than wrap; both are noted.
TEST_F(ReportModelTest, NegativeAmountsCountAsZeroAndSumsDoNotOverflow) {
  const int a = Serial(2006, 5, 1), b = Serial(2006, 5, 2);
  Write(MonthFile(a), Day(a, 6000000000000000000, -5, 60) + Day(b, 6000000000000000000, 5, -60));
  Load();
  EXPECT_EQ(Report.Rows[rtDaily][0].Upload, 0);
  EXPECT_EQ(Report.Rows[rtDaily][1].Seconds, 0);
  const TReportRow& month = Report.Rows[rtMonthly][0];
  EXPECT_EQ(month.Download, INT64_MAX);
  EXPECT_EQ(month.Upload, 5);
  EXPECT_EQ(month.Total, INT64_MAX);
  EXPECT_EQ(month.Seconds, 60);
  EXPECT_EQ(Report.Notes.Texts(),
            (std::vector<std::string>{
                "Amounts below 0 were read and counted as 0.",
                "A total passed the largest number that can be counted, and shows that number."}));
  EXPECT_FALSE(Report.Notes.Failed());
}

// A day booked with its hours, beside one booked before hours were: the
// daily rows read as they always did, and the hours of the first day add up
// to it.
TEST_F(ReportModelTest, HoursOfADayAndDaysWithoutThem) {
  const int day = Serial(2026, 12, 7), before = Serial(2026, 12, 6);
  Write(MonthFile(day), Day(before, 5, 5, 5) + "[" + std::to_string(day) +
                            "]\r\nHours=70\r\nRecv=1000\r\nXmit=100\r\nHours.07=10\r\n"
                            "Recv.07=400\r\nXmit.07=40\r\nHours.13=60\r\nRecv.13=600\r\n"
                            "Xmit.13=60\r\n\r\n");
  Load();
  ASSERT_EQ(Report.Rows[rtDaily].size(), 2u);
  EXPECT_EQ(Report.Rows[rtDaily][1].Download, 1000);
  EXPECT_EQ(Report.Rows[rtDaily][1].Seconds, 70);
  TReadNotes notes;
  const std::vector<TReportRow> hours = HourlyRows(Dir.Folder(), day, notes);
  ASSERT_EQ(hours.size(), 2u);
  EXPECT_EQ(hours[0].Caption, "07:00");
  EXPECT_EQ(hours[1].Caption, "13:00");
  EXPECT_EQ(ReportCsv({&hours[0], &hours[1]}, true),
            "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n"
            "12-07-2026 07:00,400,40,440,10\r\n"
            "12-07-2026 13:00,600,60,660,60\r\n");
  EXPECT_TRUE(HourlyRows(Dir.Folder(), before, notes).empty());
  EXPECT_TRUE(HourlyRows(Dir.Folder(), Serial(2026, 11, 7), notes).empty());  // no file
  EXPECT_TRUE(notes.Texts().empty());
}

const std::string kAdapter = "eth0 @ 00-11-22-33-44-55";

// An entry's rows come from its own keys, in any letter case, and only on
// the days it has one: never from the totals, nor from an older copy of a
// day whose own month file lacks the entry.
TEST_F(ReportModelTest, AnEntryIsReadFromItsKeysOnTheDaysItHasOne) {
  const int mon = Serial(2026, 3, 2), tue = Serial(2026, 3, 3), next = Serial(2026, 3, 9);
  Write(MonthFile(mon),
        Day(mon, 1000, 100, 600,
            kAdapter + "=60\r\nETH0 @ 00-11-22-33-44-55-recv=300\r\n" + kAdapter + "-Xmit=30\r\n") +
            Day(tue, 2000, 200, 900) + Day(next, 4000, 400, 1200, kAdapter + "-Recv=50\r\n"));
  Write("0-copy.dat", Day(tue, 9, 9, 9, kAdapter + "-Recv=9\r\n"));
  Report = LoadReport(Dir.Folder(), English, kAdapter);
  ASSERT_EQ(Report.Rows[rtDaily].size(), 2u);
  EXPECT_EQ(
      ReportCsv({&Report.Rows[rtDaily][0], &Report.Rows[rtDaily][1], &Report.Rows[rtMonthly][0]}),
      "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n"
      "03-02-2026,300,30,330,60\r\n"
      "03-09-2026,50,0,50,0\r\n"
      "03-02-2026,350,30,380,60\r\n");
}

TEST_F(ReportModelTest, AnEntrysHoursAreItsOwn) {
  const int day = Serial(2026, 12, 7);
  Write(MonthFile(day), Day(day, 1000, 100, 70,
                            "Hours.07=10\r\nRecv.07=400\r\nHours.13=60\r\nRecv.13=600\r\n" +
                                kAdapter + "-Hours.13=20\r\n" + kAdapter + "-RECV.13=250\r\n" +
                                kAdapter + "-Xmit.13=25\r\n" + kAdapter + "-Recv.20=5\r\n"));
  TReadNotes notes;
  const std::vector<TReportRow> hours = HourlyRows(Dir.Folder(), day, notes, kAdapter);
  ASSERT_EQ(hours.size(), 2u);
  EXPECT_EQ(ReportCsv({&hours[0], &hours[1]}, true),
            "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n"
            "12-07-2026 13:00,250,25,275,20\r\n"
            "12-07-2026 20:00,5,0,5,0\r\n");
  // Booked that day, but without hours.
  EXPECT_TRUE(HourlyRows(Dir.Folder(), day, notes, "MyISP").empty());
}

TEST(TopDaysTest, LargestTotalFirstAndOfTwoEqualTheEarlierDay) {
  std::vector<TReportRow> daily(4);
  const int64_t totals[] = {5, 9, 1, 9};
  for (int i = 0; i < 4; ++i) {
    daily[i].Day = 46360 + i;
    daily[i].Total = totals[i];
  }
  const std::vector<TReportRow> top = TopDays(daily, 3);
  ASSERT_EQ(top.size(), 3u);
  EXPECT_EQ(top[0].Day, 46361);
  EXPECT_EQ(top[1].Day, 46363);
  EXPECT_EQ(top[2].Day, 46360);
  EXPECT_EQ(top[2].Index, 2);
  EXPECT_EQ(TopDays(daily, 10).size(), 4u);
}

// Its hours too, also when its own month file lacks it or is missing.
TEST_F(ReportModelTest, ADayInSeveralFilesCountsOnceFromItsOwnMonthFile) {
  const int day = Serial(2006, 2, 10), other = Serial(2006, 2, 11), march = Serial(2006, 3, 1);
  const auto hour = [](int recv) { return "Recv.13=" + std::to_string(recv) + "\r\n"; };
  // Before the others in name order.
  Write("0-copy.dat",
        Day(day, 1, 1, 1, hour(1)) + Day(other, 5, 5, 5, hour(5)) + Day(march, 3, 3, 3, hour(3)));
  Write(MonthFile(day), Day(day, 100, 10, 60, hour(100)));
  Write("zz-copy.dat", Day(other, 9, 9, 9, hour(9)));
  MakeDirectory(Dir.Path("data/+first.dat"));
  Load();
  ASSERT_EQ(Report.Rows[rtDaily].size(), 3u);
  EXPECT_EQ(Report.Rows[rtDaily][0].Download, 100);
  EXPECT_EQ(Report.Rows[rtDaily][1].Download, 5);
  EXPECT_EQ(Report.Rows[rtMonthly][0].Download, 105);
  // As the window reads them: into the report's notes, which tell the folder once.
  for (const auto& [serial, recv] : {std::pair{day, 100}, {other, 5}, {march, 3}}) {
    const std::vector<TReportRow> hours = HourlyRows(Dir.Folder(), serial, Report.Notes);
    ASSERT_EQ(hours.size(), 1u) << serial;
    EXPECT_EQ(hours[0].Download, recv) << serial;
  }
  EXPECT_EQ(Report.Notes.Texts(),
            std::vector<std::string>{
                "Not read: " + Dir.Path(std::string("data") + PathDelim + "+first.dat") +
                ": is a folder"});
}

TEST_F(ReportModelTest, ForeignSectionsAndDamagedFilesAreLeftOutAndLoadingGoesOn) {
  const int a = Serial(2006, 3, 1), b = Serial(2006, 4, 1);
  // Day serials the statistics would not find: with a zero before, or a
  // header with a blank in it.
  Write(MonthFile(a), "[Windows]\r\n123=1\r\n\r\n[1e5]\r\nRecv=5\r\n\r\n[0" + std::to_string(a) +
                          "]\r\nRecv=5\r\n\r\n[" + std::to_string(a + 1) + "] \r\nRecv=5\r\n\r\n" +
                          Day(a, 7, 7, 7));
  Write("broken.dat", std::string("ESTREAM\x01", 8) + std::string(40, '\x5a'));
  Write(MonthFile(b), Day(b, 8, 8, 8));
  Load();
  EXPECT_EQ(Report.Notes.SkippedSections, 4);
  ASSERT_EQ(Report.Notes.UnreadableFiles.size(), 1u);
  EXPECT_NE(Report.Notes.UnreadableFiles[0].find("broken.dat"), std::string::npos);
  EXPECT_EQ(Captions(rtDaily), (std::vector<std::string>{"3/1/2006", "4/1/2006"}));
}

TEST_F(ReportModelTest, NoDataFolderGivesEmptyLists) {
  std::filesystem::remove(Dir.Path("data"));
  Load();
  for (const auto& rows : Report.Rows) EXPECT_TRUE(rows.empty());
}

}  // namespace
