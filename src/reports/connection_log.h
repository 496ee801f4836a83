#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/date_time.h"
#include "platform/format_settings.h"
#include "reports/read_notes.h"

// "Connection.log" read back: one record per dial-up connection, for the
// statistics window and the command line alike.

struct TConnectionRecord {
  TDateTime StartTime = 0;
  TDateTime EndTime = 0;  // when the line was written
  uint8_t EndReason = 0;  // 1: the connection ended; 2: the program closed
  std::string Entry;
  double Received = 0;
  double Transmitted = 0;
};

struct TConnectionLog {
  std::vector<TConnectionRecord> Records;  // newest first
  TReadNotes Notes;  // the log not read, damaged lines left out, amounts below 0
};

// The log of the program's folder; none without the file, and a note when
// it is there but cannot be read. A line with fewer than six fields, a
// number that does not parse, or a time outside the years 1 to 9999 is
// skipped as damaged; a run of NUL bytes (a tail zeroed by a power cut) is
// a damaged part that ends the line it is in, and the lines after it are
// read. Numbers may use either "." or "," as their decimal separator, so
// the log stays readable after a change of locale. An amount below 0 counts
// as 0.
TConnectionLog ReadConnectionLog(const std::string& folder);

// The fields of one line: comma-separated, a field in double quotes may hold
// blanks, commas and doubled quotes; unquoted blanks separate fields too.
std::vector<std::string> SplitLogFields(const std::string& line);

// Times and durations count to the nearest millisecond before they are cut
// to whole seconds: the log keeps 15 digits, which fall a hair short of the
// second about half the time.
TDateTime RoundToMilliseconds(TDateTime value);
int64_t ConnectionSeconds(const TConnectionRecord& record);  // 0 for a negative span
// "hh:mm:ss", always all three parts.
std::string ConnectionDurationText(const TConnectionRecord& record);

// The log list's columns: ISP, Date/Time, Time Online, Received, Transmited.
struct TLogColumn {
  const char* Caption;
  int Width;
  bool RightAligned;
};
inline constexpr std::array<TLogColumn, 5> kLogColumns = {{{"ISP", 145, false},
                                                           {"Date/Time", 140, false},
                                                           {"Time Online", 90, true},
                                                           {"Received", 80, true},
                                                           {"Transmited", 80, true}}};
std::string LogCell(const TConnectionRecord& record, int column,
                    const TFormatSettings& fs = FormatSettings());
// A row of the log list on the clipboard: its caption (the entry as the list
// shows it), " - ", the start, " - Time Online: ", the duration, " Received: "
// and " Sent: " with their sizes.
std::string LogCopyText(const std::string& caption, const TConnectionRecord& record,
                        const TFormatSettings& fs = FormatSettings());
// As the report lists sort: the parameter is column + 1 for the latest,
// longest, largest or Z-to-A first, -(column + 1) for the other way round.
int CompareLogRecords(const TConnectionRecord& a, const TConnectionRecord& b, int32_t parameter);

// ENTRY,START,END,SECONDS,RECEIVED,SENT,REASON, then one line per record in
// the order given; times as yyyy-mm-dd hh:mm:ss, lines ending in CR LF.
std::string ConnectionLogCsv(const std::vector<TConnectionRecord>& records);
