#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/date_time.h"
#include "platform/files.h"

// What the book owes the month files and the log when they cannot be
// written: calls, amounts of an hour and entry (the day's own under the
// empty entry), and log lines.
struct TOwedCall {
  TDateTime Day;
  std::string Entry;
};
struct TOwedTotals {
  TDateTime Counted;  // the day and hour they go to
  std::string Entry;
  uint32_t Seconds = 0;
  int64_t Received = 0;
  int64_t Sent = 0;
};
struct TOwed {
  std::vector<TOwedCall> Calls;
  std::vector<TOwedTotals> Totals;
  std::string Log;  // whole lines, each ended by CR LF
  bool Empty() const { return Calls.empty() && Totals.empty() && Log.empty(); }
};

// The key that a booking of calls or amounts kept in an owed file of this
// generation leaves in each day section it writes them to, in the same save:
// at a start, a kept record whose day has it was booked already (the program
// ended before it could remove the file). Its name holds "Hours", so that
// readers pass it over as they pass the hours of a day.
std::string OwedMarker(const std::string& generation);

// One run's owed file in the data folder, "owed-RUN.ini", written whole
// (through a temporary file and a replace) as soon as a write fails, so
// that a run that ends, crashes or loses power loses nothing it counted.
// The run holds "owed-RUN.lock" while it lives: a run that starts later
// takes over only the files of runs that ended.
class TOwedFile {
 public:
  // dataFolder with a trailing delimiter; run: a name no other run has.
  TOwedFile(const std::string& dataFolder, const std::string& run);

  // The file now holds what is owed, under a new generation, or is removed
  // when nothing is. False when it could not be written; nothing is written
  // while what is owed has not changed since.
  bool Keep(const TOwed& owed);
  // The generation of the file on disk; empty while there is none.
  const std::string& Generation() const { return FGeneration; }

  // Takes the run's lock; false while another process holds it.
  bool Hold();
  // The file of a run that ended, as it was kept; its generation becomes
  // this object's.
  TOwed Read();
  // Removes the file, then the lock.
  void Remove();

 private:
  std::string FPath;
  std::string FLockPath;
  std::optional<TFile> FLock;
  std::string FGeneration;
  std::string FText;  // what the file holds, without its generation
};

// The runs that keep owed files in the data folder, this one's included.
std::vector<std::string> OwedRuns(const std::string& dataFolder);

// A name for a run or a generation that no other has: 64 random bits.
std::string UniqueName();
