#include "traffic/owed_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "fake_link_source.h"
#include "scratch_dir.h"
#include "traffic/usage_book.h"

namespace {

namespace fs = std::filesystem;

// Runs of the program on one folder, one book each: a run ends when its
// book goes. The month file and the log are in the way (a folder stands in
// their place) until Clear().
class OwedFileTest : public testing::Test {
 protected:
  OwedFileTest() { MakeDirectory(Dir.Path("data")); }

  std::unique_ptr<TUsageBook> Run() {
    auto book = std::make_unique<TUsageBook>(Dir.Folder(), Settings);
    book->TakeOverEarlierRuns(Source);
    return book;
  }
  // A dial-up connection of 130 s ends: its call, log line and amounts.
  void Connection(TUsageBook& book) {
    TMeterState state;
    state.DialupMode = true;
    state.EntryName = "MyISP";
    state.ConnectionStart = 46363.25;
    state.RecvConnection = state.RecvUnflushed = 3000000;
    state.XmitConnection = state.XmitUnflushed = 500000;
    state.HoursBase = Source.Ticks;
    book.CountCall(state, Source);
    Source.Advance(130000);
    book.AppendConnectionLog(state, Source, 1);
    book.FlushTotals(state, Source, true);
  }
  void Block() {
    MakeDirectory(Month);
    MakeDirectory(Dir.Path("Connection.log"));
  }
  void Clear() {
    fs::remove(Month);
    fs::remove(Dir.Path("Connection.log"));
  }
  int64_t Stored(const std::string& key) {
    TIniFile32 file(Month, false);
    return file.ReadInt64("46363", key, -1);
  }
  // The owed files and their locks in "data".
  std::vector<std::string> OwedFiles() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Dir.Path("data")))
      if (entry.path().filename().string().rfind("owed-", 0) == 0)
        names.push_back(entry.path().extension().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  void ExpectBookedOnce() {
    EXPECT_EQ(Stored("Recv"), 3000000);
    EXPECT_EQ(Stored("MyISP-Xmit"), 500000);
    EXPECT_EQ(Stored("MyISP"), 130);
    EXPECT_EQ(Stored("Calls"), 1);
    EXPECT_EQ(Dir.Read("Connection.log"), "46363.25,46363.5015046296,1,MyISP,3000000,500000\r\n");
  }

  TScratchDir Dir;
  TIniFile32 Settings{Dir.Path("settings.ini"), false};
  TFakeLinkSource Source;
  const std::string Month = MonthFileName(Dir.Folder(), Source.Clock);
};

// What the month file and the log could not take when the run ended is on
// disk, and the next run books it once; the one after books nothing more.
TEST_F(OwedFileTest, WhatAnEndedRunOwedIsBookedByTheNextOnce) {
  Block();
  {
    const auto first = Run();
    Connection(*first);
    EXPECT_EQ(first->Unwritten().size(), 2u);
    EXPECT_TRUE(first->Kept());
    EXPECT_EQ(OwedFiles(), (std::vector<std::string>{".ini", ".lock"}));
  }
  Clear();
  Run();
  ExpectBookedOnce();
  EXPECT_TRUE(OwedFiles().empty());
  Run();
  ExpectBookedOnce();
}

// The run that booked an owed file ended before it could remove it: the
// marker its booking left in the day, and the line in the log, keep the
// next run from booking it again.
TEST_F(OwedFileTest, AFileLeftAfterItsBookingIsNotBookedAgain) {
  Block();
  Connection(*Run());
  Clear();
  fs::copy(Dir.Path("data"), Dir.Path("kept"));
  Run();
  ExpectBookedOnce();
  for (const auto& entry : fs::directory_iterator(Dir.Path("kept")))
    if (entry.path().filename().string().rfind("owed-", 0) == 0)
      fs::copy_file(entry.path(), fs::path(Dir.Path("data")) / entry.path().filename());
  ASSERT_EQ(OwedFiles().size(), 2u);
  Run();
  ExpectBookedOnce();
  EXPECT_TRUE(OwedFiles().empty());
}

// A second copy on the folder leaves the owed file of one that still runs
// alone; that copy books it itself once it can.
TEST_F(OwedFileTest, TheOwedFileOfARunThatLivesIsLeftToIt) {
  Block();
  const auto first = Run();
  Connection(*first);
  Clear();
  Run();
  EXPECT_EQ(Stored("Recv"), -1);
  Source.Advance(10000);
  first->FlushTotals(*std::make_unique<TMeterState>(), Source, false);  // the retry
  ExpectBookedOnce();
  EXPECT_TRUE(OwedFiles().empty());
}

}  // namespace
