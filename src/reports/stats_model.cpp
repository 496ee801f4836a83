#include "reports/stats_model.h"

#include <algorithm>

#include "formatting/number_format.h"
#include "formatting/rate_format.h"
#include "reports/report_model.h"
#include "storage/text_utils.h"
#include "traffic/usage_book.h"

namespace {

bool IsEntryKey(const std::string& key) {
  for (const char* amount : {"Recv", "Calls", "Xmit", "Hours"})
    if (key.find(amount) != std::string::npos) return false;
  return true;
}

void Add(TStatsFigures& sum, const TStatsFigures& day, TReadNotes& notes) {
  sum.Seconds = SaturatingSum(sum.Seconds, day.Seconds, notes);
  sum.Calls = SaturatingSum(sum.Calls, day.Calls, notes);
  sum.Received = SaturatingSum(sum.Received, day.Received, notes);
  sum.Sent = SaturatingSum(sum.Sent, day.Sent, notes);
}

// The first day of each month from first's to last's.
std::vector<int> MonthsTouched(int first, int last) {
  std::vector<int> months;
  for (int day = first; day <= last;) {
    const TSystemTime date = DecodeDaySerial(day);
    const int start = EncodeDaySerial(date.Year, date.Month, 1);
    months.push_back(start);
    day = start + DaysInMonth(date.Year, date.Month);
  }
  return months;
}

}  // namespace

std::optional<std::pair<int, int>> TStatsChoice::PeriodDays() const {
  if (Range) {
    if (EndDay < StartDay) return std::nullopt;
    return std::pair{StartDay, EndDay};
  }
  const TSystemTime date = DecodeDaySerial(Day);
  const int first = EncodeDaySerial(date.Year, date.Month, 1);
  return std::pair{first, first + DaysInMonth(date.Year, date.Month) - 1};
}

TStatsReader::TStatsReader(const std::string& folder) : FFolder(folder) {
  NoteDataFolder(folder, FNotes);
}

TStatsReader::~TStatsReader() = default;

TIniFile32* TStatsReader::MonthFile(int daySerial) {
  const std::string path = MonthFileName(FFolder, daySerial);
  auto known = FFiles.find(path);
  if (known == FFiles.end()) known = FFiles.emplace(path, ReadIniFile(path, FNotes)).first;
  return known->second.get();
}

// A day's figures under the keys prefix + "-Calls" and so on, and the
// seconds under their own key; zeros without a file or a section.
TStatsFigures TStatsReader::Day(int daySerial, const std::string& prefix,
                                const std::string& secondsKey) {
  TIniFile32* file = MonthFile(daySerial);
  const std::string section = std::to_string(daySerial);
  if (!file || !file->SectionExists(section)) return {};
  const auto amount = [&](const std::string& key) {
    return ReadAmount(*file, section, key, FNotes);
  };
  return {amount(secondsKey), amount(prefix + "Calls"), amount(prefix + "Recv"),
          amount(prefix + "Xmit")};
}

std::vector<std::string> TStatsReader::Entries(const TStatsChoice& choice) {
  std::vector<std::string> entries;
  const int first = choice.ShownDay(), last = choice.Range ? choice.EndDay : choice.Day;
  for (int month : MonthsTouched(first, last)) {
    TIniFile32* file = MonthFile(month);
    if (!file) continue;
    const TSystemTime date = DecodeDaySerial(month);
    for (int day = month; day < month + DaysInMonth(date.Year, date.Month); ++day)
      for (const std::string& key : file->ReadSection(std::to_string(day))) {
        const bool known = std::any_of(entries.begin(), entries.end(), [&](const std::string& e) {
          return CompareTextIgnoringCase(e, key) == 0;
        });
        if (IsEntryKey(key) && !known) entries.push_back(key);
      }
  }
  std::stable_sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
    return CompareTextIgnoringCase(a, b) < 0;
  });
  return entries;
}

TStatsTotals TStatsReader::Totals(const TStatsChoice& choice, const std::string& entry) {
  TStatsTotals totals;
  const int shown = choice.ShownDay();
  totals.AllDay = Day(shown, "", "Hours");
  if (!entry.empty()) totals.EntryDay = Day(shown, entry + "-", entry);
  if (const auto period = choice.PeriodDays())
    for (int day = period->first; day <= period->second; ++day) {
      Add(totals.AllPeriod, Day(day, "", "Hours"), FNotes);
      if (!entry.empty()) Add(totals.EntryPeriod, Day(day, entry + "-", entry), FNotes);
    }
  return totals;
}

int EntryToSelect(const std::vector<std::string>& entries, const std::string& lastChosen) {
  for (size_t i = 0; i < entries.size(); ++i)
    if (CompareTextIgnoringCase(entries[i], lastChosen) == 0) return static_cast<int>(i);
  return entries.empty() ? -1 : 0;
}

std::vector<std::string> StatsRowTexts(const TStatsFigures& figures, const TFormatSettings& fs) {
  return {FormatDuration(static_cast<double>(figures.Seconds), fs), std::to_string(figures.Calls),
          FormatByteSize(static_cast<double>(figures.Received), fs),
          FormatByteSize(static_cast<double>(figures.Sent), fs)};
}
