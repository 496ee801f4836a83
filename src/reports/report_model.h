#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/date_time.h"
#include "platform/format_settings.h"
#include "reports/read_notes.h"

// The usage totals of every recorded day, grouped into days, ISO weeks,
// months and years: the rows of the basic reports, shared by the window and
// the command line so that both show the same.

enum TReportTab { rtDaily, rtWeekly, rtMonthly, rtYearly };
inline constexpr std::array<const char*, 4> kReportTabNames = {"Daily", "Weekly", "Monthly",
                                                               "Yearly"};

struct TReportRow {
  int64_t Index = 0;  // position in its list, in chronological order
  int64_t Download = 0;
  int64_t Upload = 0;
  int64_t Total = 0;
  int64_t Seconds = 0;
  TDateTime RowDate = 0;   // the day, or a period's first recorded day
  int32_t Day = 0;         // day serial of a daily row
  int32_t Period = 0;      // ISO week or month 1 to 12
  int32_t Year = 0;        // of a period's last day added; a week's ISO year
  std::string Caption;     // as the first column shows it
  bool Saturated = false;  // a sum stopped at the largest number
};

struct TReport {
  std::array<std::vector<TReportRow>, 4> Rows;  // by TReportTab
  TReadNotes Notes;                             // what reading the month files noted
};

// Reads every "*.dat" of folder's "data" folder (none without one). A day
// found in several files counts once: from the month file the program
// writes for it when that file has it, else from the first file in name
// order. An amount below 0, or one that is not a number, counts as 0; sums
// stop at the largest number.
// An entry (a phone-book entry or an adapter's key) reads that entry's
// amounts instead of the day's totals, and only the days it has a key on;
// empty, the totals.
TReport LoadReport(const std::string& folder, const TFormatSettings& fs = FormatSettings(),
                   const std::string& entry = "");
// The same over some of those files only (paths as MonthFileName gives them).
TReport LoadReportFiles(const std::string& folder, std::vector<std::string> files,
                        const TFormatSettings& fs = FormatSettings(),
                        const std::string& entry = "");

// The paths of the "*.dat" in folder's "data", in name order: the month
// files, and any folder so named, which a reader notes.
std::vector<std::string> MonthFiles(const std::string& folder);
// Notes a "data" of folder that is a file, which leaves no month file to read.
void NoteDataFolder(const std::string& folder, TReadNotes& notes);

// The hours of a day from the month file that holds it, as LoadReport
// chooses among several: a row for each hour that has an amount booked
// (RowDate the hour's start, Day the day, Period the hour, Caption
// "13:00"); none for a day booked before hours were, or not at all. The
// files that cannot be read are noted. An entry reads its own hours, as
// LoadReport reads its days.
std::vector<TReportRow> HourlyRows(const std::string& folder, int day, TReadNotes& notes,
                                   const std::string& entry = "");

// The notes of a read as they concern the rows shown: a sum at the largest
// number only when one of those rows reached it.
TReadNotes NotesForRows(TReadNotes notes, const std::vector<TReportRow>& rows);

// The days with the largest totals, largest first (of two equal, the
// earlier day); at most count of them.
std::vector<TReportRow> TopDays(const std::vector<TReportRow>& daily, size_t count);

// Adds a day's or a period's amounts to a row; the sums stop at the largest
// number, which is noted, and marks the row.
void AddToRow(TReportRow& row, int64_t download, int64_t upload, int64_t seconds,
              TReadNotes& notes);

// The ISO 8601 week of a day serial (weeks begin on Monday; week 1 holds the
// year's first Thursday), and the year the week belongs to.
struct TIsoWeek {
  int Year;
  int Week;
};
TIsoWeek IsoWeek(int daySerial);
// The Monday that begins a day's ISO week.
int MondayOf(int daySerial);

// The captions of the rows: "2006 / 05", "2006 / Jan", "13:00".
std::string WeekCaption(TIsoWeek week);
std::string MonthCaption(int year, int month, const TFormatSettings& fs = FormatSettings());
std::string HourCaption(int hour);

// Columns 1 to 4: DL, UL, DL & UL, Time.
inline constexpr std::array<const char*, 4> kReportColumns = {"DL", "UL", "DL & UL", "Time"};
inline constexpr std::array<const char*, 4> kFirstColumns = {"Date", "Week", "Month", "Year"};
std::string ReportCell(const TReportRow& row, int column,
                       const TFormatSettings& fs = FormatSettings());

// Sorting by a column header: a click on the sort column flips the direction
// flag (which starts set); the result is the comparison's parameter, column
// + 1 while the flag is set (largest or newest first), -(column + 1) while
// it is clear.
int32_t ClickSortColumn(int& sortColumn, bool& flag, int column);
int CompareReportRows(const TReportRow& a, const TReportRow& b, int32_t parameter);

// The background of the row at a display position: light bands (0x00BBGGRR).
uint32_t ReportRowColor(int position);

// "2006 / Jan - DL: 1.50 MB UL: 12 KB TOTAL: 1.51 MB".
std::string ReportCopyText(const std::string& caption, const TReportRow& row,
                           const TFormatSettings& fs = FormatSettings());

// The export: a header line, then DATE (mm-dd-yyyy, and for the rows of
// hours " HH:00"), DOWNLOAD, UPLOAD, TOTAL and SECONDS as plain integers per
// row, every line ending in CR LF.
std::string ReportCsv(const std::vector<const TReportRow*>& rows, bool hours = false);
