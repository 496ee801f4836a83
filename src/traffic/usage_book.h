#pragma once

#include <memory>
#include <string>

#include "platform/date_time.h"
#include "storage/ini_file.h"
#include "traffic/link_source.h"
#include "traffic/meter_state.h"

// The month file of a date: folder, "data", the day serial of the month's
// first day, ".dat".
std::string MonthFileName(const std::string& folder, TDateTime date);

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
// the other.
class TUsageBook {
 public:
  // folder: where the program keeps its files, with a trailing delimiter.
  TUsageBook(const std::string& folder, TIniFile32& settings);

  // Seconds and bytes since the last flush into today's section; at most
  // every two minutes unless final.
  void FlushTotals(TMeterState& state, TLinkSource& source, bool final);
  // One more call of the entry, and in all, today.
  void CountCall(const TMeterState& state, TLinkSource& source);
  // The line of the watched dial-up connection; nothing without one.
  void AppendConnectionLog(const TMeterState& state, TLinkSource& source, int endReason);

  // The month file object, for tests: nothing before the first write.
  const TIniFile32* DataFile() const { return FDataFile.get(); }

 private:
  TIniFile32& MonthFile(TDateTime now);
  void SaveStopWatch(const TMeterState& state);
  // Online seconds and the bytes not yet booked into a day's section.
  void BookDay(TIniFile32& file, const std::string& day, TMeterState& state, uint32_t seconds);

  std::string FFolder;
  TIniFile32& FSettings;
  std::unique_ptr<TIniFile32> FDataFile;
};
