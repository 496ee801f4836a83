#include "traffic/usage_book.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include "fake_link_source.h"
#include "platform/files.h"
#include "scratch_dir.h"

namespace {

namespace fs = std::filesystem;

class UsageBookTest : public testing::Test {
 protected:
  void SetUp() override {
    MakeDirectory(Dir.Path("data"));
    State.HoursBase = Source.Ticks;
  }

  // A key of today's section, read back from the file on disk.
  int64_t Stored(const std::string& key, TDateTime day = 46363.5) {
    TIniFile32 file(MonthFileName(Dir.Folder(), day), false);
    return file.ReadInt64(std::to_string(static_cast<int>(day)), key, -1);
  }

  void Flush(bool final = false) { Book.FlushTotals(State, Source, final); }

  TScratchDir Dir;
  TIniFile32 Settings{Dir.Path("settings.ini"), false};
  TFakeLinkSource Source;
  TMeterState State;
  TUsageBook Book{Dir.Folder(), Settings};
};

TEST_F(UsageBookTest, MonthFileIsNamedAfterTheFirstDayOfTheMonth) {
  EXPECT_EQ(MonthFileName("C:\\Tools\\", EncodeDaySerial(2006, 1, 3) + 0.25),
            std::string("C:\\Tools\\data") + PathDelim + "38718.dat");
  EXPECT_EQ(MonthFileName("", 46363.999), std::string("data") + PathDelim + "46357.dat");
}

TEST_F(UsageBookTest, FlushBooksWholeSecondsOnly) {
  Source.Ticks += 121900;
  Flush();
  EXPECT_EQ(Stored("Hours"), 121);  // the 0.9 second is dropped, not carried
  Source.Ticks += 120100;
  Flush();
  EXPECT_EQ(Stored("Hours"), 241);
}

TEST_F(UsageBookTest, NoDayHasMoreThan86400Seconds) {
  State.EntryName = "MyISP";
  Source.Ticks += 50000000;
  Flush();
  Source.Ticks += 50000000;
  Flush();
  EXPECT_EQ(Stored("Hours"), 86400);
  EXPECT_EQ(Stored("MyISP"), 86400);
}

TEST_F(UsageBookTest, FlushWaitsTwoMinutesUnlessFinal) {
  Source.Ticks += 130000;
  State.RecvUnflushed = 10;
  Flush();
  State.RecvUnflushed = 20;
  Source.Ticks += 119999;
  Flush();
  EXPECT_EQ(Stored("Recv"), 10);
  EXPECT_EQ(State.RecvUnflushed, 20);
  Flush(true);
  EXPECT_EQ(Stored("Recv"), 30);
  EXPECT_EQ(Stored("Hours"), 249);
}

// A dial-up connection that ended has no online time running, and what it
// counted is still booked by the final flush.
TEST_F(UsageBookTest, OnlyAFinalFlushBooksWhileOnlineTimeIsNotRunning) {
  State.HoursBase = 0;
  State.RecvUnflushed = 500;
  Source.Ticks += 200000;
  Flush();
  EXPECT_FALSE(FileExists(MonthFileName(Dir.Folder(), Source.Clock)));
  Flush(true);
  EXPECT_EQ(Stored("Recv"), 500);
  EXPECT_EQ(Stored("Hours"), 0);
  EXPECT_EQ(State.RecvUnflushed, 0);
}

TEST_F(UsageBookTest, WrappedTickCountRestartsTheAccounting) {
  State.HoursBase = 0xFFFFF000u;
  Source.Ticks = 5000;
  Flush(true);
  EXPECT_EQ(State.HoursBase, 5000u);
  EXPECT_EQ(State.HoursAccounted, 0u);
  EXPECT_FALSE(Book.DataFile());
}

// Each adapter's bytes under its own entry, the day's the sum; the seconds
// once for the day, and each adapter those it was up: all of the flush's
// while it was up at every reading, else its own whole seconds.
TEST_F(UsageBookTest, EachAdapterIsBookedUnderItsOwnEntry) {
  const std::string wired = "Fast Ethernet Adapter @ 00-0C-29-1A-2B-3C", phone = "Phone @ 02-00";
  State.Watched.resize(3);
  State.Watched[0].Key = wired;
  State.Watched[0].UnflushedReceived = 5000000000LL;
  State.Watched[0].UpThroughout = true;
  State.Watched[1].Key = phone;
  State.Watched[1].UnflushedReceived = 700;
  State.Watched[1].UnflushedSent = 70;
  State.Watched[1].UpMs = 45999;
  State.Watched[2].Key = "Idle @ 00-01";
  State.RecvUnflushed = 5000000700LL;
  State.XmitUnflushed = 70;
  Source.Ticks += 130500;
  Flush();
  EXPECT_EQ(Stored("Recv"), 5000000700LL);
  EXPECT_EQ(Stored("Xmit"), 70);
  EXPECT_EQ(Stored("Hours"), 130);
  EXPECT_EQ(Stored(wired + "-Recv"), 5000000000LL);
  EXPECT_EQ(Stored(wired + "-Xmit"), -1);  // no bytes: no key
  EXPECT_EQ(Stored(wired), 130);
  EXPECT_EQ(Stored(wired + "-Recv.12"), 5000000000LL);
  EXPECT_EQ(Stored(wired + "-Hours.12"), 130);
  EXPECT_EQ(Stored(phone + "-Recv"), 700);
  EXPECT_EQ(Stored(phone + "-Xmit.12"), 70);
  EXPECT_EQ(Stored(phone), 45);
  EXPECT_EQ(Stored("Idle @ 00-01"), -1);  // nothing at all: no keys
  EXPECT_EQ(Stored("Calls"), -1);
  EXPECT_EQ(State.Watched[1].UnflushedReceived, 0);
  EXPECT_EQ(State.Watched[1].UpMs, 0u);
}

TEST_F(UsageBookTest, CallCountsSurviveTheCachedTotals) {
  State.EntryName = "MyISP";
  Source.Ticks += 130000;
  State.RecvUnflushed = 100;
  Flush();
  Book.CountCall(State, Source);
  Source.Ticks += 130000;
  State.RecvUnflushed = 100;
  Flush();
  Book.CountCall(State, Source);
  EXPECT_EQ(Stored("Calls"), 2);
  EXPECT_EQ(Stored("MyISP-Calls"), 2);
  EXPECT_EQ(Stored("Recv"), 200);
}

// A tick every second; the hour changes between two of them. What was
// counted before goes to 13 o'clock, what after to 14, and the hours add up
// to the day.
TEST_F(UsageBookTest, EachHourHoldsWhatWasCountedInIt) {
  Source.Clock = 46363 + (13 * 3600 + 3597) / 86400.0;  // 13:59:57
  for (const int64_t bytes : {1000, 500, 0, 700}) {
    Flush();
    State.RecvUnflushed += bytes;
    State.XmitUnflushed += bytes / 100;
    Source.Advance(1000);
  }
  Source.Advance(130000);
  Flush();
  EXPECT_EQ(Stored("Recv.13"), 1500);
  EXPECT_EQ(Stored("Recv.14"), 700);
  EXPECT_EQ(Stored("Xmit.13"), 15);
  EXPECT_EQ(Stored("Xmit.14"), 7);
  EXPECT_EQ(Stored("Recv"), 2200);
  EXPECT_EQ(Stored("Hours.13"), 3);
  EXPECT_EQ(Stored("Hours.14"), 131);
  EXPECT_EQ(Stored("Hours"), 134);
  EXPECT_EQ(Stored("Recv.12"), -1);
}

TEST_F(UsageBookTest, NewMonthGoesToANewFileAndTheOldOneIsKept) {
  Source.Clock = EncodeDaySerial(2026, 11, 30) + 0.99;
  Source.Ticks += 130000;
  State.RecvUnflushed = 111;
  Flush();
  Source.Clock = EncodeDaySerial(2026, 12, 1) + 0.01;
  Flush();  // the first tick of the new day
  Source.Ticks += 130000;
  State.RecvUnflushed = 222;
  Flush();
  EXPECT_EQ(Stored("Recv", EncodeDaySerial(2026, 11, 30) + 0.5), 111);
  EXPECT_EQ(Stored("Recv", EncodeDaySerial(2026, 12, 1) + 0.5), 222);
  EXPECT_EQ(Book.DataFile()->FileName(), MonthFileName(Dir.Folder(), Source.Clock));
}

TEST_F(UsageBookTest, RunningStopwatchIsSavedWithEveryFlush) {
  State.StopWatchRunning = true;
  State.StopWatchTicks = 300;
  State.StopWatchRx = 123456789012LL;
  State.StopWatchTx = 42;
  Source.Ticks += 130000;
  Flush();
  TIniFile32 settings(Dir.Path("settings.ini"), false);
  EXPECT_EQ(settings.ReadInt64("StopWatch", "D", 0), 300);
  EXPECT_EQ(settings.ReadInt64("StopWatch", "Rx", 0), 123456789012LL);
  EXPECT_EQ(settings.ReadInt64("StopWatch", "Tx", 0), 42);
  EXPECT_FALSE(Settings.CacheUpdates());
}

TEST(ConnectionLogLineTest, QuotesFieldsWithBlanksQuotesAndCommas) {
  EXPECT_EQ(ConnectionLogLine(38720.4375, 38720.5, 1, "My ISP", 1048576, 65536, '.'),
            "38720.4375,38720.5,1,\"My ISP\",1048576,65536");
  EXPECT_EQ(ConnectionLogLine(38720.25, 38720.5, 2, "a,\"b\"", 0, 0, '.'),
            "38720.25,38720.5,2,\"a,\"\"b\"\"\",0,0");
  EXPECT_EQ(ConnectionLogLine(38720, 38720.5, 1, "", 1, 2, '.'), "38720,38720.5,1,,1,2");
  EXPECT_EQ(ConnectionLogLine(38720.4375, 46363.734560185182, 1, "Tab\tEntry", 1, 2, ','),
            "\"38720,4375\",\"46363,7345601852\",1,\"Tab\tEntry\",1,2");
}

TEST_F(UsageBookTest, ConnectionLogGetsOneLinePerConnection) {
  State.EntryName = "My ISP";
  State.ConnectionStart = 46363.25;
  State.RecvConnection = 1048576;
  State.XmitConnection = 65536;
  Book.AppendConnectionLog(State, Source, 1);
  Book.AppendConnectionLog(State, Source, 2);
  EXPECT_EQ(Dir.Read("Connection.log"),
            "46363.25,46363.5,1,\"My ISP\",1048576,65536\r\n"
            "46363.25,46363.5,2,\"My ISP\",1048576,65536\r\n");

  // Nothing without a known start (always so in adapter mode), nor at exit
  // without an entry.
  const std::string before = Dir.Read("Connection.log");
  State.ConnectionStart = 0;
  Book.AppendConnectionLog(State, Source, 1);
  State.ConnectionStart = 46363.25;
  State.EntryName.clear();
  Book.AppendConnectionLog(State, Source, 2);
  EXPECT_EQ(Dir.Read("Connection.log"), before);
}

// A line the last run left cut short is ended before this run's first, once:
// it stays one damaged line, and the new ones stand whole.
TEST_F(UsageBookTest, ALineCutShortByTheLastRunIsEndedFirst) {
  State.EntryName = "MyISP";
  State.ConnectionStart = 46363.25;
  for (const std::string cut : {"46363.1,46363.2,1,MyISP,10", "46363.1,46363.2,1,MyISP,10,5\r"}) {
    Dir.Write("Connection.log", cut);
    TUsageBook book(Dir.Folder(), Settings);
    book.AppendConnectionLog(State, Source, 1);
    book.AppendConnectionLog(State, Source, 1);
    EXPECT_EQ(Dir.Read("Connection.log"), "46363.1,46363.2,1,MyISP,10" +
                                              std::string(cut.back() == '\r' ? ",5\r\n" : "\r\n") +
                                              "46363.25,46363.5,1,MyISP,0,0\r\n"
                                              "46363.25,46363.5,1,MyISP,0,0\r\n");
  }
}

// A month file the program cannot write, then can again: what was counted
// meanwhile is written once, with the call and the log line that waited.
TEST_F(UsageBookTest, WhatCannotBeWrittenWaitsAndIsWrittenOnce) {
  std::vector<std::string> told;
  Book.OnProblem = [&](const std::string& message) { told.push_back(message); };
  const std::string month = MonthFileName(Dir.Folder(), Source.Clock);
  State.RecvUnflushed = 1000;
  Flush(true);
  fs::permissions(month, fs::perms::owner_write, fs::perm_options::remove);
  fs::create_directory(Dir.Path("Connection.log"));  // no file can be opened there
  State.EntryName = "MyISP";
  State.ConnectionStart = Source.Clock;
  Book.CountCall(State, Source);
  Book.AppendConnectionLog(State, Source, 1);
  State.RecvUnflushed = 500;
  Source.Advance(130000);
  Flush();
  Source.Advance(130000);
  Flush();
  EXPECT_EQ(Stored("Recv"), 1000);
  EXPECT_EQ(told.size(), 2u);  // once per file, not once per flush
  EXPECT_EQ(Book.Unwritten().size(), 2u);

  fs::permissions(month, fs::perms::owner_write, fs::perm_options::add);
  fs::remove(Dir.Path("Connection.log"));
  Source.Advance(130000);
  Flush();
  EXPECT_EQ(Stored("Recv"), 1500);
  EXPECT_EQ(Stored("Calls"), 1);
  EXPECT_EQ(Stored("Hours"), 390);
  const std::string log = Dir.Read("Connection.log");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
  EXPECT_TRUE(Book.Unwritten().empty());
}

// Another program keeps the book's lock: the booking waits two seconds for
// it, then waits with what it owes, says so once, and is written once the
// lock is free.
TEST_F(UsageBookTest, ABookingThatCannotHaveTheLockWaits) {
  std::vector<std::string> told;
  Book.OnProblem = [&](const std::string& message) { told.push_back(message); };
  std::optional<TFile> held =
      TFile::CreateAlways(Dir.Path(std::string("data") + PathDelim + "Tallyline.lock"));
  ASSERT_TRUE(held);
  State.RecvUnflushed = 700;
  Flush(true);
  EXPECT_EQ(Stored("Recv"), -1);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("Tallyline.lock open"), std::string::npos) << told[0];
  EXPECT_TRUE(Book.Kept());
  held.reset();
  Source.Advance(10000);
  Flush();
  EXPECT_EQ(Stored("Recv"), 700);
  EXPECT_TRUE(Book.Unwritten().empty());
}

// The month file is in the way when a connection ends; by the time it can
// be written, its online time has stopped and another entry is up, a day
// later. The connection's amounts are booked under its own entry and day.
TEST_F(UsageBookTest, AmountsThatCouldNotBeWrittenKeepTheirEntryAndDay) {
  const std::string month = MonthFileName(Dir.Folder(), Source.Clock);
  MakeDirectory(month);
  State.EntryName = "MyISP";
  State.RecvUnflushed = 3000000;
  State.XmitUnflushed = 500000;
  Source.Advance(130000);
  Flush(true);
  EXPECT_EQ(Book.Unwritten(), std::vector<std::string>{month});
  std::filesystem::remove(month);
  State.HoursBase = 0;
  State.EntryName = "Other";
  Source.Advance(86400000);
  Flush();  // a tick of the next day
  Book.CountCall(State, Source);
  State.HoursBase = Source.Ticks;
  State.RecvUnflushed = 100;
  Source.Advance(130000);
  Flush();
  EXPECT_EQ(Stored("MyISP-Recv", 46363), 3000000);
  EXPECT_EQ(Stored("MyISP-Xmit", 46363), 500000);
  EXPECT_EQ(Stored("MyISP", 46363), 130);
  EXPECT_EQ(Stored("Recv", 46363), 3000000);
  EXPECT_EQ(Stored("Other-Recv", 46363), -1);
  EXPECT_EQ(Stored("Other-Recv", 46364), 100);
  EXPECT_EQ(Stored("Other-Calls", 46364), 1);
  EXPECT_EQ(Stored("Recv", 46364), 100);
  EXPECT_TRUE(Book.Unwritten().empty());
}

#ifndef _WIN32
// Files this process writes may grow to a size, as on a disk that is full
// beyond it; writes past it fail.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t size) : FSignal(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &FOld);
    rlimit limit = FOld;
    limit.rlim_cur = size;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &FOld);
    std::signal(SIGXFSZ, FSignal);
  }

 private:
  rlimit FOld{};
  void (*FSignal)(int);
};

// The disk fills in the middle of a line: the part that reached the file is
// not written again, and no empty line comes between.
TEST_F(UsageBookTest, ALogWriteCutShortGoesOnWhereItStopped) {
  State.EntryName = "My ISP";
  State.ConnectionStart = 46363.25;
  Book.AppendConnectionLog(State, Source, 1);
  const std::string first = Dir.Read("Connection.log");
  {
    const TFileSizeLimit full(first.size() + 20);
    State.RecvConnection = 2;
    Book.AppendConnectionLog(State, Source, 1);
    State.RecvConnection = 3;
    Book.AppendConnectionLog(State, Source, 1);
  }
  EXPECT_EQ(Dir.Read("Connection.log").size(), first.size() + 20);
  State.RecvConnection = 4;
  Book.AppendConnectionLog(State, Source, 1);
  EXPECT_EQ(Dir.Read("Connection.log"), first +
                                            "46363.25,46363.5,1,\"My ISP\",2,0\r\n"
                                            "46363.25,46363.5,1,\"My ISP\",3,0\r\n"
                                            "46363.25,46363.5,1,\"My ISP\",4,0\r\n");
}
#endif

// Two copies of the program on one folder: each booking adds to what the
// other wrote, even at the same length ("Recv=100", "Recv=300") on a file
// system that keeps write times to the second or coarser.
TEST_F(UsageBookTest, TwoCopiesAddToEachOthersBookings) {
  TUsageBook other(Dir.Folder(), Settings);
  TMeterState otherState;
  const fs::path month = MonthFileName(Dir.Folder(), Source.Clock);
  const auto coarse = [&] { fs::last_write_time(month, fs::file_time_type{}); };
  for (int round = 0; round < 20; ++round) {
    State.RecvUnflushed = 100;
    Flush(true);
    coarse();
    otherState.RecvUnflushed = 200;
    other.FlushTotals(otherState, Source, true);
    coarse();
  }
  EXPECT_EQ(Stored("Recv"), 6000);
}

#ifndef _WIN32
// Two processes booking into one folder at the same time: each reads the
// file afresh under the lock, so no booking is lost.
TEST_F(UsageBookTest, TwoProcessesAtOnceLoseNoBooking) {
  constexpr int kRounds = 40;
  pid_t copies[2];
  for (pid_t& copy : copies) {
    copy = fork();
    if (copy != 0) continue;
    TUsageBook book(Dir.Folder(), Settings);
    TMeterState state;
    for (int round = 0; round < kRounds; ++round) {
      state.RecvUnflushed = 300;
      book.FlushTotals(state, Source, true);
    }
    _exit(book.Unwritten().empty() ? 0 : 1);
  }
  for (pid_t copy : copies) {
    int status = -1;
    waitpid(copy, &status, 0);
    EXPECT_EQ(status, 0);
  }
  EXPECT_EQ(Stored("Recv"), 2 * kRounds * 300);
}
#endif

// A month file whose text goes on after a NUL byte is kept whole aside; the
// new one starts with the days before the NUL and takes the totals.
TEST_F(UsageBookTest, TextAfterANulByteIsNotWrittenOver) {
  using namespace std::string_literals;
  const std::string name = MonthFileName(Dir.Folder(), Source.Clock).substr(Dir.Folder().size());
  const std::string damaged = "[46358]\r\nRecv=5\r\n\0[46363]\r\nRecv=7\r\n"s;
  Dir.Write(name, damaged);
  State.RecvUnflushed = 10;
  Flush(true);
  EXPECT_EQ(Dir.Read(name + ".damaged"), damaged);
  EXPECT_EQ(Stored("Recv", 46358), 5);
  EXPECT_EQ(Stored("Recv"), 10);
}

TEST_F(UsageBookTest, DamagedMonthFileIsKeptAsideAndANewOneTakesTheTotals) {
  const std::string month = MonthFileName(Dir.Folder(), Source.Clock);
  const std::string damaged = std::string("ESTREAM\x01", 8) + std::string(40, 'Z');
  Dir.Write(month.substr(Dir.Folder().size()), damaged);
  Dir.Write(month.substr(Dir.Folder().size()) + ".damaged", "an older one");
  std::string told;
  Book.OnProblem = [&](const std::string& message) { told = message; };
  State.RecvUnflushed = 777;
  Flush(true);
  EXPECT_EQ(Stored("Recv"), 777);
  EXPECT_EQ(Dir.Read(month.substr(Dir.Folder().size()) + ".damaged-2"), damaged);
  EXPECT_EQ(Dir.Read(month.substr(Dir.Folder().size()) + ".damaged"), "an older one");
  EXPECT_NE(told.find(".damaged-2"), std::string::npos);
}

}  // namespace
