#include "reports/connection_log.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/files.h"
#include "scratch_dir.h"
#include "traffic/usage_book.h"

namespace {

std::string Line(TDateTime start, TDateTime end, const std::string& entry, char decimal = '.') {
  return ConnectionLogLine(start, end, 1, entry, 1536, 512, decimal) + "\r\n";
}

TEST(ConnectionLogTest, FieldsFollowTheQuotingTheLogIsWrittenIn) {
  EXPECT_EQ(SplitLogFields("1,2,1,\"My \"\"Fast\"\", ISP\",5,6"),
            (std::vector<std::string>{"1", "2", "1", "My \"Fast\", ISP", "5", "6"}));
  EXPECT_EQ(SplitLogFields("1 2,,x,"), (std::vector<std::string>{"1", "2", "", "x", ""}));
}

TEST(ConnectionLogTest, ReadsNewestFirstSkippingDamagedLinesInEitherDecimalFormat) {
  TScratchDir dir;
  dir.Write("Connection.log",
            Line(46000.25, 46000.5, "Home ISP") + "46001.5,46001.6,1,Short,5\r\n" +
                Line(46002.25, 46002.5, "Work VPN", ',') + "46003.5,soon,1,Bad,5,6\r\n\r\n" +
                Line(46001.25, 46001.5, "Home ISP"));
  const TConnectionLog log = ReadConnectionLog(dir.Folder());
  EXPECT_EQ(log.Notes.SkippedLines, 2);
  ASSERT_EQ(log.Records.size(), 3u);
  EXPECT_EQ(log.Records[0].Entry, "Work VPN");
  EXPECT_EQ(log.Records[0].StartTime, 46002.25);
  EXPECT_EQ(log.Records[2].StartTime, 46000.25);
  EXPECT_EQ(LogCell(log.Records[0], 0, TFormatSettings()), "Work VPN");
  EXPECT_EQ(LogCell(log.Records[0], 3, TFormatSettings()), "1 KB");
  EXPECT_TRUE(ReadConnectionLog(dir.Path("missing") + PathDelim).Records.empty());
}

// A power cut leaves a tail of NUL bytes and new lines are appended after
// it: the lines after the NULs are read. Times no date can show are damage,
// and amounts below 0 count as 0; a log that is there but cannot be read is
// named.
TEST(ConnectionLogTest, DamageIsSkippedAndCountedAndTheRestRead) {
  using namespace std::string_literals;
  TScratchDir dir;
  dir.Write("Connection.log", Line(46000.25, 46000.5, "Home ISP") +
                                  "46001.25,46001.5,1,Cut\0\0\0\0"s +
                                  Line(46002.25, 46002.5, "After the NULs") +
                                  "1e300,46003,1,Far,5,6\r\n-1e12,46003,1,Past,5,6\r\n"
                                  "2958465.9999999995,2958466,1,Year10000,5,6\r\n"
                                  "46004.25,46004.5,1,Negative,-5,-0\r\n"
                                  "46003.25,46003.5,1,Huge,1e40,6\r\n");
  const TConnectionLog log = ReadConnectionLog(dir.Folder());
  ASSERT_EQ(log.Records.size(), 4u);
  EXPECT_EQ(log.Records[2].Entry, "After the NULs");
  EXPECT_EQ(ConnectionLogCsv({log.Records[0], log.Records[1]}),
            "ENTRY,START,END,SECONDS,RECEIVED,SENT,REASON\r\n"
            "Negative,2025-12-13 06:00:00,2025-12-13 12:00:00,21600,0,0,1\r\n"
            "Huge,2025-12-12 06:00:00,2025-12-12 12:00:00,21600,"
            "10000000000000000303786028427003666890752,6,1\r\n");
  EXPECT_EQ(log.Notes.Texts(),
            (std::vector<std::string>{"5 damaged lines of Connection.log were left out.",
                                      "Amounts below 0 were read and counted as 0."}));
  MakeDirectory(dir.Path("other"));
  MakeDirectory(dir.Path("other") + PathDelim + "Connection.log");
  const TConnectionLog folder = ReadConnectionLog(dir.Path("other") + PathDelim);
  EXPECT_EQ(folder.Notes.UnreadableFiles, std::vector<std::string>{dir.Path("other") + PathDelim +
                                                                   "Connection.log: is a folder"});
}

// The log keeps 15 digits: cut straight to seconds, a span of 312 s reads
// 311 about half the time.
TEST(ConnectionLogTest, DurationsCountToTheNearestMillisecondFirst) {
  int wrong = 0;
  for (int i = 0; i < 1000; ++i) {
    const TDateTime start = 46000 + i * 0.0123457;
    const std::string line = Line(start, start + 312.0 / 86400, "x");
    TScratchDir dir;
    dir.Write("Connection.log", line);
    const TConnectionRecord record = ReadConnectionLog(dir.Folder()).Records.at(0);
    wrong += ConnectionDurationText(record) != "00:05:12";
  }
  EXPECT_EQ(wrong, 0);
  const TConnectionRecord day{46000, 46001.5, 1, "x", 0, 0};
  EXPECT_EQ(ConnectionDurationText(day), "36:00:00");
  EXPECT_EQ(ConnectionDurationText({46001, 46000, 1, "x", 0, 0}), "00:00:00");
}

TEST(ConnectionLogTest, ClicksPutLatestLongestOrLargestFirst) {
  const TConnectionRecord early{46000, 46000.5, 1, "beta", 9, 1};
  const TConnectionRecord late{46001, 46001.1, 2, "Alpha", 1, 9};
  EXPECT_LT(CompareLogRecords(late, early, 2), 0);   // Date/Time, flag set: newest first
  EXPECT_GT(CompareLogRecords(late, early, -2), 0);  // flipped: oldest first
  EXPECT_LT(CompareLogRecords(early, late, 3), 0);   // Time Online: longest first
  EXPECT_LT(CompareLogRecords(early, late, 1), 0);   // ISP: Z to A, without regard to case
  EXPECT_LT(CompareLogRecords(early, late, 4), 0);   // Received: largest first
  EXPECT_EQ(CompareLogRecords(early, early, 5), 0);
}

TEST(ConnectionLogTest, CsvHasWholeSecondsPlainIntegersAndQuotedEntries) {
  const TDateTime start = EncodeDateTime({2026, 12, 7, 10, 0, 0, 0});
  const TConnectionRecord record{start, start + 312.0 / 86400 - 1e-9, 2, "My ISP", 1536, 512};
  EXPECT_EQ(ConnectionLogCsv({record}),
            "ENTRY,START,END,SECONDS,RECEIVED,SENT,REASON\r\n"
            "\"My ISP\",2026-12-07 10:00:00,2026-12-07 10:05:12,312,1536,512,2\r\n");
}

// A row as Copy puts it on the clipboard: the caption as the list shows it,
// which the user may have edited, then the row's cells.
TEST(ConnectionLogTest, CopiedRowsShowTheirCaptionAndCells) {
  const TDateTime start = EncodeDateTime({2026, 12, 7, 10, 0, 0, 0});
  const TConnectionRecord record{start, start + 312.0 / 86400, 1, "My ISP", 1536, 512};
  EXPECT_EQ(
      LogCopyText("Renamed", record, TFormatSettings()),
      "Renamed - 12/7/2026 10:00:00 AM - Time Online: 00:05:12 Received: 1 KB Sent: 512 bytes");
}

}  // namespace
