#include "reports/stats_model.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/date_time.h"
#include "platform/files.h"
#include "scratch_dir.h"

namespace {

int Serial(int year, int month, int day) {
  return EncodeDaySerial(year, month, day);
}

TStatsChoice Range(int startMonth, int startDay, int endMonth, int endDay) {
  return {true, 0, Serial(2025, startMonth, startDay), Serial(2025, endMonth, endDay)};
}

// Month files in which every day of the first quarter of 2025 has one second,
// one call and one byte each way in all, and twice that for "My ISP".
class StatsModelTest : public testing::Test {
 protected:
  StatsModelTest() {
    MakeDirectory(Dir.Path("data"));
    for (int month = 1; month <= 3; ++month) {
      std::string text;
      for (int day = 1; day <= DaysInMonth(2025, month); ++day)
        text += "[" + std::to_string(Serial(2025, month, day)) +
                "]\r\nHours=1\r\nCalls=1\r\nRecv=1\r\nXmit=1\r\nMy ISP=2\r\nMy ISP-Calls=2\r\n"
                "My ISP-Recv=2\r\nMy ISP-Xmit=2\r\n\r\n";
      Write(Serial(2025, month, 1), text);
    }
  }
  void Write(int firstDay, const std::string& text) {
    Dir.Write(std::string("data") + PathDelim + std::to_string(firstDay) + ".dat", text);
  }

  TScratchDir Dir;
  TStatsReader Reader{Dir.Folder()};
};

// A month file that cannot be read counts as zeros and is named; calls add
// up beyond 32 bits; amounts below 0 count as 0 and sums stop at the
// largest number, each noted.
TEST_F(StatsModelTest, DamagedFilesAndValuesAreNotedAndNothingOverflows) {
  Write(Serial(2025, 2, 1), std::string("ESTREAM\x01", 8) + std::string(40, 'Z'));
  Write(Serial(2025, 3, 1),
        "[45717]\r\nCalls=3000000000\r\nRecv=-4\r\nXmit=6000000000000000000\r\n"
        "\r\n[45718]\r\nCalls=3000000000\r\nXmit=6000000000000000000\r\n");
  const TStatsTotals february = Reader.Totals({false, Serial(2025, 2, 10)}, "");
  EXPECT_EQ(february.AllPeriod.Calls, 0);
  const TStatsTotals march = Reader.Totals({false, Serial(2025, 3, 1)}, "");
  EXPECT_EQ(march.AllPeriod.Calls, 6000000000);
  EXPECT_EQ(march.AllPeriod.Received, 0);
  EXPECT_EQ(march.AllPeriod.Sent, INT64_MAX);
  const std::string february_file =
      Dir.Path("data") + PathDelim + std::to_string(Serial(2025, 2, 1)) + ".dat";
  ASSERT_EQ(Reader.Notes().UnreadableFiles.size(), 1u);
  EXPECT_EQ(Reader.Notes().UnreadableFiles[0].substr(0, february_file.size()), february_file);
  EXPECT_TRUE(Reader.Notes().NegativeAmounts);
  EXPECT_TRUE(Reader.Notes().Saturated);
}

struct RangeCase {
  const char* Name;
  TStatsChoice Choice;
  int64_t Days;
};

class StatsRangeTest : public StatsModelTest, public testing::WithParamInterface<RangeCase> {};

TEST_P(StatsRangeTest, PeriodAddsEveryDayOfTheRangeOnce) {
  const TStatsTotals totals = Reader.Totals(GetParam().Choice, "My ISP");
  EXPECT_EQ(totals.AllPeriod.Seconds, GetParam().Days);
  EXPECT_EQ(totals.AllPeriod.Calls, GetParam().Days);
  EXPECT_EQ(totals.EntryPeriod.Received, 2 * GetParam().Days);
  EXPECT_EQ(totals.AllDay.Sent, 1);  // the start day, whatever the range
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, StatsRangeTest,
    testing::Values(RangeCase{"MidJanuaryToTenthOfMarch", Range(1, 15, 3, 10), 17 + 28 + 10},
                    RangeCase{"FirstOfJanuaryToTenthOfMarch", Range(1, 1, 3, 10), 69},
                    RangeCase{"MidJanuaryToFirstOfMarch", Range(1, 15, 3, 1), 17 + 28 + 1},
                    RangeCase{"FirstTenDaysOfJanuary", Range(1, 1, 1, 10), 10},
                    RangeCase{"EndBeforeStart", Range(3, 10, 1, 15), 0},
                    RangeCase{"MonthOfFebruary", {false, Serial(2025, 2, 20), 0, 0}, 28}),
    [](const auto& info) { return info.param.Name; });

TEST_F(StatsModelTest, DayRowsShowTheChosenDayForAllAndTheEntry) {
  Write(Serial(2025, 1, 1), "[" + std::to_string(Serial(2025, 1, 15)) +
                                "]\r\nHours=7200\r\nCalls=3\r\nRecv=5\r\nXmit=6\r\nMy ISP=60\r\n"
                                "My ISP-Calls=1\r\nMy ISP-Recv=512\r\nMy ISP-Xmit=2048\r\n");
  const TStatsTotals totals = Reader.Totals(Range(1, 15, 3, 10), "My ISP");
  EXPECT_EQ(StatsRowTexts(totals.AllDay, TFormatSettings()),
            (std::vector<std::string>{"02:00:00", "3", "5 bytes", "6 bytes"}));
  EXPECT_EQ(StatsRowTexts(*totals.EntryDay, TFormatSettings()),
            (std::vector<std::string>{"01:00", "1", "512 bytes", "2 KB"}));
  EXPECT_FALSE(Reader.Totals(Range(1, 15, 3, 10), "").EntryDay);
}

TEST_F(StatsModelTest, EntriesOfTheTouchedMonthsWithoutAmountKeys) {
  Write(Serial(2025, 4, 1),
        "[" + std::to_string(Serial(2025, 4, 30)) +
            "]\r\nOnly Late=5\r\nmy isp=1\r\nRecvSpot=1\r\nCalls Plus=1\r\n"
            "Xmit Inc=1\r\nHours Net=1\r\nAlpha=1\r\nHours.07=1\r\nRecv.07=1\r\n"
            "Xmit.23=1\r\n");
  // Only the first of April is in the range; the whole month is scanned.
  EXPECT_EQ(Reader.Entries(Range(3, 20, 4, 1)),
            (std::vector<std::string>{"Alpha", "My ISP", "Only Late"}));
  EXPECT_TRUE(Reader.Entries(Range(4, 2, 3, 20)).empty());
}

TEST_F(StatsModelTest, AMonthWithoutAFileCountsZeroAndStaysWithoutOne) {
  const TStatsChoice may{false, Serial(2025, 5, 5), 0, 0};
  EXPECT_TRUE(Reader.Entries(may).empty());
  EXPECT_EQ(Reader.Totals(may, "My ISP").AllPeriod.Seconds, 0);
  EXPECT_FALSE(
      std::filesystem::exists(Dir.Path("data/" + std::to_string(Serial(2025, 5, 1)) + ".dat")));
}

TEST(StatsEntryTest, TheLastChosenEntryIsSelectedAgainWhenOffered) {
  EXPECT_EQ(EntryToSelect({"Alpha", "My ISP"}, "my isp"), 1);
  EXPECT_EQ(EntryToSelect({"Alpha", "My ISP"}, "Gone"), 0);
  EXPECT_EQ(EntryToSelect({}, "Gone"), -1);
}

}  // namespace
