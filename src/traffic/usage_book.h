#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/date_time.h"
#include "platform/files.h"
#include "storage/ini_file.h"
#include "traffic/link_source.h"
#include "traffic/meter_state.h"
#include "traffic/owed_file.h"

// The month file of a date: folder, "data", the day serial of the month's
// first day, ".dat".
std::string MonthFileName(const std::string& folder, TDateTime date);

// The key of an amount of one hour (0 to 23) in a day's section: "Hours.07"
// (seconds online), "Recv.13", "Xmit.23". Each holds a name that marks an
// amount, so readers that take other keys for entry names leave it alone.
std::string HourKey(const char* amount, int hour);

// The keys of the seconds online and the bytes received and sent in a day's
// section: the day's own ("Hours", "Recv", "Xmit") for an empty entry, else
// the entry's (the entry name itself, NAME-Recv, NAME-Xmit).
struct TAmountKeys {
  std::string Seconds, Received, Sent;
};
TAmountKeys AmountKeys(const std::string& entry);
// The same for one hour: "Hours.13", "Recv.13", "Xmit.13" for the day, and
// NAME-Hours.13, NAME-Recv.13, NAME-Xmit.13 for an entry.
TAmountKeys HourAmountKeys(const std::string& entry, int hour);

// One line of "Connection.log": the six fields, comma-separated, a field
// with a blank or control character, a quote or a comma quoted.
std::string ConnectionLogLine(TDateTime start, TDateTime end, int endReason,
                              const std::string& entry, int64_t received, int64_t transmitted,
                              char decimalSeparator);

// The stopwatch's time and bytes into the settings' "StopWatch" section.
void WriteStopWatchCounts(TIniFile32& settings, const TMeterState& state);

// Books what the measurement counted into the month files, the connection
// log and the stopwatch keys of the settings. One object writes the current
// month file for both the totals and the call counts, so neither overwrites
// the other. Every write reads the file again, adds and writes it under one
// lock ("data/Tallyline.lock"), so that another copy of the program on the
// same folder never loses a booking to it. Nothing counted is lost to a file
// that cannot be written: the amounts, calls and log lines become the
// book's debt, kept under the day and entry they were counted for, also on
// disk (TOwedFile) from the first write that fails, and are written with the
// next flush that can, or by the next run, none twice. A month file that
// cannot be read as one is kept aside as NAME.damaged (or NAME.damaged-2,
// ...) and a new one started with what could be read of it.
class TUsageBook {
 public:
  // folder: where the program keeps its files, with a trailing delimiter.
  TUsageBook(const std::string& folder, TIniFile32& settings);

  // Tells the user of a file that could not be written or was moved aside,
  // once per file and run.
  std::function<void(const std::string& message)> OnProblem;

  // Takes the seconds and bytes counted since the last flush out of the
  // state and books them into today's section, in all and into their hour,
  // and under each link's entry (the dial-up entry, or each counted adapter
  // with its own bytes and the seconds it was up):
  // at most every two minutes while online time runs, as soon as the hour
  // changes (what was counted before goes to the hour before), or now when
  // final, whether online time runs or not. Called every tick. What waits
  // from earlier is written too, and retried now and then.
  void FlushTotals(TMeterState& state, TLinkSource& source, bool final);
  // One more call of the entry, and in all, today.
  void CountCall(const TMeterState& state, TLinkSource& source);
  // The line of the watched dial-up connection; nothing without one.
  void AppendConnectionLog(const TMeterState& state, TLinkSource& source, int endReason);
  // What runs that ended could not write, kept in their owed files in
  // "data": booked now, each record once (a record whose day holds its
  // file's marker was booked already), its log lines unless the log has
  // them. The files of runs that still live are left to them.
  void TakeOverEarlierRuns(TLinkSource& source);
  // The files that still wait for something counted; empty when all is in.
  std::vector<std::string> Unwritten() const;
  // Whether what waits is kept on disk, for a later run to write.
  bool Kept() const { return FOwed.Empty() || FKeptAll; }
  // The bytes received and sent of a day and of its calendar month: what
  // the month file holds (an amount below 0 as 0, sums stopping at the
  // largest number) and what waits to be booked there.
  struct TTotals {
    int64_t DayReceived = 0, DaySent = 0;
    int64_t MonthReceived = 0, MonthSent = 0;
  };
  TTotals DayAndMonthTotals(TDateTime day) const;
  // The bytes received and sent that wait to be booked under the days from
  // firstDay to lastDay (day serials).
  std::pair<int64_t, int64_t> Waiting(int32_t firstDay, int32_t lastDay) const;

  // The month file object, for tests: nothing before the first write.
  const TIniFile32* DataFile() const { return FDataFile.get(); }

 private:
  // What a run that ended kept in its owed file, booked from there under
  // its own marker.
  struct TEarlierRun {
    std::unique_ptr<TOwedFile> File;
    TOwed Owed;
  };
  // What waits for the files, and the owed file that keeps it: this run's
  // and each earlier one's.
  struct TLedger {
    TOwed& Owed;
    const TOwedFile& File;
  };
  std::vector<TLedger> Ledgers();
  std::vector<const TOwed*> AllOwed() const;

  void Owe(const TOwedTotals& totals);
  // The month file of a day as it is on disk now, ready to write; nothing
  // while it cannot be used. Called under the book's lock.
  TIniFile32* MonthFile(TDateTime day);
  std::string LockPath() const;
  std::optional<TFile> LockBook() const;
  bool MoveAside(const std::string& path);
  // Saves the file, or drops its unsaved changes when that fails.
  bool Save(TIniFile32& file);
  static void BookCall(TIniFile32& file, const TOwedCall& call);
  std::vector<std::pair<std::string, TDateTime>> PendingMonths() const;
  void DropBooked(TOwed& owed, const std::string& generation) const;
  void BookMonth(const std::string& path, TDateTime day);
  bool AppendLog();
  void EndCutLine(const std::string& path);
  void WritePending(uint32_t now);
  void SaveStopWatch(const TMeterState& state);
  void Tell(const std::string& file, const std::string& message);

  std::string FFolder;
  TIniFile32& FSettings;
  std::unique_ptr<TIniFile32> FDataFile;
  TOwed FOwed;           // calls, amounts and log lines, in order, not yet in their files
  TOwedFile FKept;       // this run's owed file
  bool FKeptAll = true;  // the owed file holds all that is owed
  std::vector<TEarlierRun> FEarlier;
  bool FLogEndChecked = false;  // the log's last line, from before this run, is whole
  uint32_t FLastAttempt = 0;    // tick of the last attempt to write what waits
  TDateTime FLastCall = 0;      // the time of the last FlushTotals; 0 before it
  std::set<std::string> FTold;
};
