#include "app/measurement.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fake_link_source.h"
#include "reports/quota.h"
#include "scratch_dir.h"

namespace {

// The measurement as the main window runs it, on a fake dial-up line.
class MeasurementTest : public testing::Test {
 protected:
  MeasurementTest() {
    MakeDirectory(Dir.Path("data"));
    Measurement.State.DialupMode = true;
    Measurement.State.Connected = true;  // as at start: a line up is no new call
    Source.Connection = 5;
    Measurement.Sample();
  }

  // One second: the tick, then the display update.
  void Second(uint32_t received, uint32_t sent) {
    Source.Advance(1000);
    Source.Stats.dwBytesRcved += received;
    Source.Stats.dwBytesXmited += sent;
    Measurement.Tick();
    Measurement.UpdateDisplay(TDisplaySettings{}, 100, false);
  }

  int64_t Stored(const std::string& key) {
    TIniFile32 file(MonthFileName(Dir.Folder(), Source.Clock), false);
    return file.ReadInt64("46363", key, -1);
  }

  TScratchDir Dir;
  TIniFile32 Settings{Dir.Path("settings.ini"), false};
  TFakeLinkSource Source;
  TMeasurement Measurement{Dir.Folder(), Settings, Source};
};

// The line ends while a folder stands where the month file goes; the file
// is back only when the program closes. The exit flush books the
// connection's bytes under its entry, once, beside its one log line.
TEST_F(MeasurementTest, AConnectionEndedWhileTheMonthFileWasInTheWayIsBookedAtExit) {
  for (int second = 0; second < 3; ++second) Second(0, 0);
  const std::string month = MonthFileName(Dir.Folder(), Source.Clock);
  ASSERT_TRUE(FileExists(month));  // the first flush made it
  for (int second = 0; second < 10; ++second) Second(300000, 50000);
  std::filesystem::rename(month, month + ".away");
  MakeDirectory(month);
  Source.Connection = 0;
  Second(0, 0);
  Second(0, 0);
  EXPECT_EQ(Measurement.TakeNotices().size(), 1u);
  EXPECT_EQ(Measurement.Book().Unwritten(), std::vector<std::string>{month});
  std::filesystem::remove(month);
  std::filesystem::rename(month + ".away", month);
  EXPECT_TRUE(Measurement.Close().empty());
  EXPECT_EQ(Stored("MyISP-Recv"), 3000000);
  EXPECT_EQ(Stored("MyISP-Xmit"), 500000);
  EXPECT_EQ(Stored("Recv"), 3000000);
  EXPECT_EQ(Stored("Xmit"), 500000);
  EXPECT_EQ(Stored("MyISP"), 13);
  EXPECT_EQ(Dir.Read("Connection.log"), "46363.5,46363.5001620371,1,MyISP,3000000,500000\r\n");
}

// Closing while the line is up: its log line with end reason 2, and
// everything since the last flush booked.
TEST_F(MeasurementTest, CloseLogsTheOpenConnectionAndBooksTheRest) {
  for (int second = 0; second < 3; ++second) Second(0, 0);
  Second(1000, 10);
  EXPECT_TRUE(Measurement.Close().empty());
  EXPECT_EQ(Stored("MyISP-Recv"), 1000);
  EXPECT_EQ(Stored("Xmit"), 10);
  EXPECT_EQ(Dir.Read("Connection.log"), "46363.5,46363.5000462963,2,MyISP,1000,10\r\n");
}

// The figures' counters hold every byte since the start: a flush that books
// them, one that cannot, and the end of the connection take nothing off;
// today's and the month's totals hold what is booked and what waits. The
// month adds its other days, not those of another month in its file, and
// an amount below 0 as 0.
TEST_F(MeasurementTest, MetricsCountersNeverFallAndTodayHoldsWhatWaits) {
  const std::string month = MonthFileName(Dir.Folder(), Source.Clock);
  Dir.Write(month.substr(Dir.Folder().size()),
            "[46358]\r\nRecv=5000\r\nXmit=50\r\n[46359]\r\nRecv=-7\r\n"
            "[46330]\r\nRecv=999\r\n[notes]\r\nRecv=1\r\n");
  for (int second = 0; second < 3; ++second) Second(0, 0);
  Second(1000, 100);
  TMetrics metrics = Measurement.Metrics();
  EXPECT_EQ(metrics.Links.at("MyISP").Received, 1000);
  EXPECT_EQ(metrics.TodayReceived, 1000);  // all of it waits in the state
  EXPECT_EQ(metrics.MonthReceived, 6000);
  EXPECT_EQ(metrics.MonthSent, 150);
  EXPECT_TRUE(metrics.Connected);
  std::filesystem::rename(month, month + ".away");
  MakeDirectory(month);
  Source.Advance(120000);
  Second(2000, 100);  // a flush that cannot write: the amounts are owed
  Source.Connection = 0;
  Second(0, 0);
  metrics = Measurement.Metrics();
  EXPECT_EQ(metrics.Links.at("MyISP").Received, 3000);
  EXPECT_EQ(metrics.Links.at("MyISP").Sent, 200);
  EXPECT_EQ(metrics.TodayReceived, 3000);
  EXPECT_EQ(metrics.MonthReceived, 3000);  // the month's file is away
  EXPECT_FALSE(metrics.Connected);
  std::filesystem::remove(month);
  std::filesystem::rename(month + ".away", month);
  Measurement.Close();
  metrics = Measurement.Metrics();
  EXPECT_EQ(metrics.Links.at("MyISP").Received, 3000);
  EXPECT_EQ(metrics.TodayReceived, 3000);  // now from the file
  EXPECT_EQ(metrics.MonthReceived, 8000);
  EXPECT_EQ(metrics.MonthSent, 250);
}

// A call on another entry: the window's totals start again, the old entry's
// counters stay as they were and the new entry's start from nothing.
TEST_F(MeasurementTest, MetricsKeepEachLinksCountersAcrossAChangeOfLink) {
  Second(0, 0);  // the first two updates learn the counters
  Second(0, 0);
  Second(1000, 100);
  Source.Connection = 0;
  Second(0, 0);
  Source.Entry = "Other";
  Source.Connection = 6;
  Source.Stats = {};
  Second(0, 0);
  Second(70, 7);
  const TMetrics metrics = Measurement.Metrics();
  EXPECT_EQ(metrics.Links.at("MyISP").Received, 1000);
  EXPECT_EQ(metrics.Links.at("MyISP").Sent, 100);
  EXPECT_EQ(metrics.Links.at("Other").Received, 70);
  EXPECT_EQ(metrics.Links.at("Other").Sent, 7);
}

// The live quota adds to the figures read what waits: amounts that a write
// could not book count once, and once they are in the month file they count
// from there only.
TEST_F(MeasurementTest, TheQuotaCountsWhatAFailedWriteLeftWaitingOnce) {
  TQuotaSettings quota;
  quota.Enabled = true;
  quota.Limit = 1'000'000;
  const auto live = [&] {
    TReadNotes notes;
    const auto today = static_cast<int32_t>(Source.Clock);
    const TQuotaFigures read = ReadQuotaFigures(Dir.Folder(), quota, today, notes);
    const auto [received, sent] = Measurement.Unbooked(read.Period.Start);
    return WithUnbooked(quota, read, received, sent, today).Used;
  };
  const std::string month = MonthFileName(Dir.Folder(), Source.Clock);
  ASSERT_TRUE(MakeDirectory(month));  // the month's file cannot be written
  for (int second = 0; second < 3; ++second) Second(0, 0);
  Second(1000, 100);
  Source.Advance(120000);
  Second(2000, 100);  // a flush that fails: the amounts are owed
  EXPECT_EQ(live(), 3200);
  std::filesystem::remove(month);
  Source.Advance(120000);
  Second(500, 0);  // the next try books them; the new amount waits
  EXPECT_EQ(Stored("Recv"), 3000);
  EXPECT_EQ(live(), 3700);
}

}  // namespace
