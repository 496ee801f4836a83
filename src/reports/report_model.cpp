#include "reports/report_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "formatting/date_format.h"
#include "formatting/number_format.h"
#include "platform/files.h"
#include "storage/file_helpers.h"
#include "storage/ini_file.h"
#include "storage/ini_syntax.h"
#include "storage/text_utils.h"
#include "traffic/usage_book.h"

namespace {

// The amounts of a day or an hour, as read.
struct TAmounts {
  int64_t Download = 0;
  int64_t Upload = 0;
  int64_t Seconds = 0;
  bool FromOwnFile = false;  // read from the month file the program writes for the day
  bool Booked = true;        // the entry asked for has a key that day
};

// A section name that is a day serial of the years 1 to 9999, written as
// the program writes it: "045659" or "+45659" would be a day that the
// statistics, which look sections up by the serial, never find.
std::optional<int> DaySerialOf(const std::string& section) {
  const std::optional<int64_t> serial = ParseInteger(section, 32);
  if (!serial || *serial < EncodeDaySerial(1, 1, 1) || *serial > EncodeDaySerial(9999, 12, 31) ||
      std::to_string(*serial) != section)
    return std::nullopt;
  return static_cast<int>(*serial);
}

bool SameFile(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Whether a section's keys hold any of the amounts.
bool HasAmounts(const std::vector<std::string>& keys, const TAmountKeys& amounts) {
  return std::any_of(keys.begin(), keys.end(), [&](const std::string& key) {
    return SameKey(key, amounts.Received) || SameKey(key, amounts.Sent) ||
           SameKey(key, amounts.Seconds);
  });
}

TAmounts ReadAmounts(TIniFile32& file, const std::string& section, const TAmountKeys& amounts,
                     TReadNotes& notes) {
  return {ReadAmount(file, section, amounts.Received, notes),
          ReadAmount(file, section, amounts.Sent, notes),
          ReadAmount(file, section, amounts.Seconds, notes)};
}

void ReadDays(const std::string& folder, const std::string& path, const std::string& entry,
              std::map<int, TAmounts>& days, TReport& report) {
  TReadNotes& notes = report.Notes;
  const std::unique_ptr<TIniFile32> file = ReadIniFile(path, notes);
  if (!file) return;
  const TAmountKeys amounts = AmountKeys(entry);
  for (const std::string& section : file->ReadSections()) {
    const std::optional<int> day = DaySerialOf(section);
    // A header with blanks in it names a section that lookups by name miss.
    if (!day || !file->SectionExists(section)) {
      ++notes.SkippedSections;
      continue;
    }
    const bool own = SameFile(path, MonthFileName(folder, *day));
    const auto known = days.find(*day);
    if (known != days.end() && (known->second.FromOwnFile || !own)) continue;
    // The file that decides the day decides it for the entry too, also
    // when it lacks the entry: an older copy never stands in for it.
    TAmounts& totals = days[*day] = ReadAmounts(*file, section, amounts, notes);
    totals.FromOwnFile = own;
    // A day shows in the totals even without amounts (as zeros), but for
    // an entry only where the entry has a key.
    totals.Booked = entry.empty() || HasAmounts(file->ReadSection(section), amounts);
  }
}

// The month file that holds a day, chosen as ReadDays chooses: the day's
// own when it has the day, else the first in name order that has it.
std::unique_ptr<TIniFile32> FileOfDay(const std::string& folder, int day, TReadNotes& notes) {
  const std::string own = MonthFileName(folder, day), section = std::to_string(day);
  const auto holdsDay = [&](const std::unique_ptr<TIniFile32>& file) {
    return file && file->SectionExists(section);
  };
  if (auto file = ReadIniFile(own, notes); holdsDay(file)) return file;
  for (const std::string& path : MonthFiles(folder)) {
    if (SameFile(path, own)) continue;
    if (auto file = ReadIniFile(path, notes); holdsDay(file)) return file;
  }
  return nullptr;
}

// One list's grouping: days with the same key add up into one row.
class TGrouping {
 public:
  TGrouping(std::vector<TReportRow>& rows, TReadNotes& notes) : FRows(rows), FNotes(notes) {}

  void Add(int64_t key, int day, const TAmounts& totals) {
    if (FRows.empty() || key != FKey) {
      FRows.push_back({});
      FRows.back().Index = static_cast<int64_t>(FRows.size()) - 1;
      FRows.back().RowDate = day;
      FKey = key;
    }
    AddToRow(FRows.back(), totals.Download, totals.Upload, totals.Seconds, FNotes);
  }
  TReportRow& Current() { return FRows.back(); }

 private:
  std::vector<TReportRow>& FRows;
  TReadNotes& FNotes;
  int64_t FKey = 0;
};

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

void GroupDays(const std::map<int, TAmounts>& days, TReport& report, const TFormatSettings& fs) {
  TGrouping daily(report.Rows[rtDaily], report.Notes), weekly(report.Rows[rtWeekly], report.Notes),
      monthly(report.Rows[rtMonthly], report.Notes), yearly(report.Rows[rtYearly], report.Notes);
  for (const auto& [day, totals] : days) {
    if (!totals.Booked) continue;
    const TSystemTime date = DecodeDaySerial(day);
    const TIsoWeek week = IsoWeek(day);
    daily.Add(day, day, totals);
    daily.Current().Day = day;
    daily.Current().Caption = FormatDateTimePicture(day, fs.ShortDateFormat, fs);
    weekly.Add(int64_t{week.Year} * 100 + week.Week, day, totals);
    weekly.Current().Period = week.Week;
    // By the year the week belongs to: 31 December 2007 is in 2008's first week.
    weekly.Current().Year = week.Year;
    weekly.Current().Caption = WeekCaption(week);
    monthly.Add(int64_t{date.Year} * 100 + date.Month, day, totals);
    monthly.Current().Period = date.Month;
    monthly.Current().Year = date.Year;
    monthly.Current().Caption = MonthCaption(date.Year, date.Month, fs);
    yearly.Add(date.Year, day, totals);
    yearly.Current().Year = date.Year;
    yearly.Current().Caption = std::to_string(date.Year);
  }
}

int64_t SortKey(const TReportRow& row, int column) {
  switch (column) {
    case 1: return row.Download;
    case 2: return row.Upload;
    case 3: return row.Total;
    case 4: return row.Seconds;
  }
  return row.Index;
}

}  // namespace

TReport LoadReport(const std::string& folder, const TFormatSettings& fs, const std::string& entry) {
  TReport report = LoadReportFiles(folder, MonthFiles(folder), fs, entry);
  NoteDataFolder(folder, report.Notes);
  return report;
}

TReport LoadReportFiles(const std::string& folder, std::vector<std::string> files,
                        const TFormatSettings& fs, const std::string& entry) {
  TReport report;
  std::sort(files.begin(), files.end());
  std::map<int, TAmounts> days;
  for (const std::string& path : files) ReadDays(folder, path, entry, days, report);
  GroupDays(days, report, fs);
  return report;
}

std::vector<std::string> MonthFiles(const std::string& folder) {
  const std::string data = folder + "data" + PathDelim;
  std::vector<std::string> paths;
  for (const TDirEntry& entry : ListDirectory(data))
    if (MatchesMask("*.dat", entry.Name)) paths.push_back(data + entry.Name);
  std::sort(paths.begin(), paths.end());
  return paths;
}

void NoteDataFolder(const std::string& folder, TReadNotes& notes) {
  const std::string data = folder + "data";
  if (FileExists(data)) notes.UnreadableFiles.push_back(data + ": is a file, not a folder");
}

std::vector<TReportRow> HourlyRows(const std::string& folder, int day, TReadNotes& notes,
                                   const std::string& entry) {
  std::vector<TReportRow> rows;
  NoteDataFolder(folder, notes);
  const std::unique_ptr<TIniFile32> file = FileOfDay(folder, day, notes);
  if (!file) return rows;
  const std::string section = std::to_string(day);
  const std::vector<std::string> keys = file->ReadSection(section);
  for (int hour = 0; hour < 24; ++hour) {
    const TAmountKeys amounts = HourAmountKeys(entry, hour);
    if (!HasAmounts(keys, amounts)) continue;
    TReportRow& row = rows.emplace_back();
    row.Index = static_cast<int64_t>(rows.size()) - 1;
    row.Day = day;
    row.Period = hour;
    row.RowDate = day + hour / 24.0;
    row.Caption = HourCaption(hour);
    const TAmounts totals = ReadAmounts(*file, section, amounts, notes);
    AddToRow(row, totals.Download, totals.Upload, totals.Seconds, notes);
  }
  return rows;
}

TReadNotes NotesForRows(TReadNotes notes, const std::vector<TReportRow>& rows) {
  notes.Saturated =
      std::any_of(rows.begin(), rows.end(), [](const TReportRow& row) { return row.Saturated; });
  return notes;
}

std::vector<TReportRow> TopDays(const std::vector<TReportRow>& daily, size_t count) {
  std::vector<TReportRow> top = daily;
  std::stable_sort(top.begin(), top.end(),
                   [](const TReportRow& a, const TReportRow& b) { return a.Total > b.Total; });
  if (top.size() > count) top.resize(count);
  for (size_t i = 0; i < top.size(); ++i) top[i].Index = static_cast<int64_t>(i);
  return top;
}

void AddToRow(TReportRow& row, int64_t download, int64_t upload, int64_t seconds,
              TReadNotes& notes) {
  TReadNotes sums;
  row.Download = SaturatingSum(row.Download, download, sums);
  row.Upload = SaturatingSum(row.Upload, upload, sums);
  row.Total = SaturatingSum(row.Download, row.Upload, sums);
  row.Seconds = SaturatingSum(row.Seconds, seconds, sums);
  row.Saturated = row.Saturated || sums.Saturated;
  notes.Add(sums);
}

int MondayOf(int daySerial) {
  // Day serial 2 was a Monday.
  return daySerial - ((daySerial - 2) % 7 + 7) % 7;
}

TIsoWeek IsoWeek(int daySerial) {
  // The week is the one of its Thursday.
  const int thursday = MondayOf(daySerial) + 3;
  const int year = DecodeDaySerial(thursday).Year;
  return {year, (thursday - EncodeDaySerial(year, 1, 1)) / 7 + 1};
}

std::string WeekCaption(TIsoWeek week) {
  return std::to_string(week.Year) + " / " + TwoDigits(week.Week);
}

std::string MonthCaption(int year, int month, const TFormatSettings& fs) {
  return std::to_string(year) + " / " + fs.ShortMonthNames[month - 1];
}

std::string HourCaption(int hour) {
  return TwoDigits(hour) + ":00";
}

std::string ReportCell(const TReportRow& row, int column, const TFormatSettings& fs) {
  switch (column) {
    case 1: return FormatByteSize(static_cast<double>(row.Download), fs);
    case 2: return FormatByteSize(static_cast<double>(row.Upload), fs);
    case 3: return FormatByteSize(static_cast<double>(row.Total), fs);
    case 4: return FormatSeconds(static_cast<int32_t>(std::min<int64_t>(row.Seconds, INT32_MAX)));
  }
  return row.Caption;
}

int32_t ClickSortColumn(int& sortColumn, bool& flag, int column) {
  if (column == sortColumn) flag = !flag;
  sortColumn = column;
  return flag ? column + 1 : -(column + 1);
}

int CompareReportRows(const TReportRow& a, const TReportRow& b, int32_t parameter) {
  const int column = (parameter < 0 ? -parameter : parameter) - 1;
  const int ascending = CompareInt64(SortKey(a, column), SortKey(b, column));
  return parameter > 0 ? -ascending : ascending;
}

uint32_t ReportRowColor(int position) {
  return position % 2 == 0 ? 0x00FEFFFF : 0x00EFEFEF;
}

std::string ReportCopyText(const std::string& caption, const TReportRow& row,
                           const TFormatSettings& fs) {
  return caption + " - DL: " + ReportCell(row, 1, fs) + " UL: " + ReportCell(row, 2, fs) +
         " TOTAL: " + ReportCell(row, 3, fs);
}

std::string ReportCsv(const std::vector<const TReportRow*>& rows, bool hours) {
  std::string csv = "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n";
  for (const TReportRow* row : rows) {
    const double day = std::floor(row->RowDate);
    const TSystemTime date = DecodeDaySerial(static_cast<int>(day));
    char time[16] = "";
    if (hours)
      std::snprintf(time, sizeof time, " %02ld:00", std::lround((row->RowDate - day) * 24));
    char line[176];
    std::snprintf(line, sizeof line, "%02d-%02d-%04d%s,%lld,%lld,%lld,%lld\r\n", date.Month,
                  date.Day, date.Year, time, static_cast<long long>(row->Download),
                  static_cast<long long>(row->Upload), static_cast<long long>(row->Total),
                  static_cast<long long>(row->Seconds));
    csv += line;
  }
  return csv;
}
