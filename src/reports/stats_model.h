#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/format_settings.h"
#include "reports/read_notes.h"
#include "storage/ini_file.h"

// The statistics of one day and of a month or a range of days, for one
// dial-up entry and for all together, from the month files. It only reads:
// a month without a file counts as zeros and no file is made for it.

// What the user chose: a month (by any of its days) or a range of days, as
// day serials.
struct TStatsChoice {
  bool Range = false;
  int Day = 0;       // month mode: any day of the month
  int StartDay = 0;  // range mode
  int EndDay = 0;
  // The day the "Day" rows show, and the days the period adds up; none when
  // the range ends before it starts.
  int ShownDay() const { return Range ? StartDay : Day; }
  std::optional<std::pair<int, int>> PeriodDays() const;
};

struct TStatsFigures {
  int64_t Seconds = 0;
  int64_t Calls = 0;
  int64_t Received = 0;
  int64_t Sent = 0;
};

struct TStatsTotals {
  std::optional<TStatsFigures> EntryDay;  // none without an entry
  TStatsFigures EntryPeriod;              // zeros without an entry
  TStatsFigures AllDay;
  TStatsFigures AllPeriod;
};

// One pass over the month files: each is read once, when first needed. A
// file that cannot be read counts as zeros and is noted, as are files read
// only up to their damage, amounts below 0 or not numbers (counted as 0)
// and sums that stop at the largest number.
class TStatsReader {
 public:
  // folder: the program's folder, which holds "data".
  explicit TStatsReader(const std::string& folder);
  ~TStatsReader();

  // The entries booked on any day of the months the choice touches (whole
  // months, also days outside a range), sorted without regard to case, each
  // once. Keys that name amounts ("Hours", "Calls", "Recv", "Xmit") are not
  // entries.
  std::vector<std::string> Entries(const TStatsChoice& choice);
  // entry: empty for none.
  TStatsTotals Totals(const TStatsChoice& choice, const std::string& entry);
  const TReadNotes& Notes() const { return FNotes; }

 private:
  TIniFile32* MonthFile(int daySerial);
  TStatsFigures Day(int daySerial, const std::string& prefix, const std::string& secondsKey);

  std::string FFolder;
  std::map<std::string, std::unique_ptr<TIniFile32>> FFiles;  // by path; null: none to read
  TReadNotes FNotes;
};

// Which entry the list selects: the one chosen last, if the list has it,
// else the first; -1 for an empty list.
int EntryToSelect(const std::vector<std::string>& entries, const std::string& lastChosen);

// The texts of a row: time online, connects, received, sent.
std::vector<std::string> StatsRowTexts(const TStatsFigures& figures,
                                       const TFormatSettings& fs = FormatSettings());
