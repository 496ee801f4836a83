#include "reports/connection_log.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "formatting/date_format.h"
#include "formatting/number_format.h"
#include "platform/files.h"
#include "storage/text_lines.h"
#include "storage/text_utils.h"
#include "traffic/usage_book.h"

namespace {

constexpr double kMsPerDay = 86400000.0;

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// A decimal number with "." or "," before its fraction, nothing else.
std::optional<double> ParseLogNumber(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}

// A date-time of the years 1 to 9999, the ones a date shows, as it shows:
// to the millisecond.
bool IsShownTime(TDateTime value) {
  const double first = EncodeDaySerial(1, 1, 1), end = EncodeDaySerial(9999, 12, 31) + 1;
  // A day off either end is damage all the same, and cannot be rounded.
  if (!(value > first - 1 && value < end + 1)) return false;
  const TDateTime shown = RoundToMilliseconds(value);
  return shown >= first && shown < end;
}

// A negative amount counts as 0, and so does -0, which would print "-0".
double CountedAmount(double amount, TReadNotes& notes) {
  if (amount > 0) return amount;
  if (amount < 0) notes.NegativeAmounts = true;
  return 0;
}

std::optional<TConnectionRecord> ParseLogLine(const std::string& line, TReadNotes& notes) {
  const std::vector<std::string> fields = SplitLogFields(line);
  if (fields.size() < 6 || fields[2].empty() || fields[2][0] < '0' || fields[2][0] > '9')
    return std::nullopt;
  const auto start = ParseLogNumber(fields[0]), end = ParseLogNumber(fields[1]);
  const auto received = ParseLogNumber(fields[4]), sent = ParseLogNumber(fields[5]);
  if (!start || !end || !received || !sent || !IsShownTime(*start) || !IsShownTime(*end))
    return std::nullopt;
  return TConnectionRecord{*start,
                           *end,
                           static_cast<uint8_t>(fields[2][0] - '0'),
                           fields[3],
                           CountedAmount(*received, notes),
                           CountedAmount(*sent, notes)};
}

// The lines of the log. A NUL byte ends the line it is in; a run of them
// is a damaged part of its own, and what follows starts a new line.
std::vector<std::string> LogLines(const std::string& text, TReadNotes& notes) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    const size_t nul = std::min(text.find('\0', at), text.size());
    for (std::string& line : SplitLines(std::string_view(text).substr(at, nul - at)))
      lines.push_back(std::move(line));
    at = text.find_first_not_of('\0', nul);
    if (nul < text.size()) ++notes.SkippedLines;
    if (at == std::string::npos) break;
  }
  return lines;
}

int64_t Milliseconds(TDateTime value) {
  return std::llround(value * kMsPerDay);
}

// yyyy-mm-dd hh:mm:ss of a time, to the millisecond and then the second.
std::string TimeField(TDateTime value) {
  const TSystemTime t = DecodeDateTime(RoundToMilliseconds(value));
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.Year, t.Month, t.Day, t.Hour,
                t.Minute, t.Second);
  return text;
}

// Every digit of the largest double, which has 309.
std::string Integer(double value) {
  char text[320];
  std::snprintf(text, sizeof text, "%.0f", value);
  return text;
}

}  // namespace

std::vector<std::string> SplitLogFields(const std::string& line) {
  std::vector<std::string> fields;
  size_t at = 0;
  const auto skipBlanks = [&] {
    while (at < line.size() && IsBlank(line[at])) ++at;
  };
  skipBlanks();
  while (at < line.size()) {
    std::string field;
    if (line[at] == '"') {
      for (++at; at < line.size(); ++at) {
        if (line[at] != '"') {
          field += line[at];
        } else if (at + 1 < line.size() && line[at + 1] == '"') {
          field += '"';
          ++at;
        } else {
          ++at;
          break;
        }
      }
    } else {
      while (at < line.size() && line[at] != ',' && !IsBlank(line[at])) field += line[at++];
    }
    fields.push_back(field);
    skipBlanks();
    if (at < line.size() && line[at] == ',') {
      ++at;
      skipBlanks();
      if (at == line.size()) fields.emplace_back();  // a comma at the end leaves an empty field
    }
  }
  return fields;
}

TConnectionLog ReadConnectionLog(const std::string& folder) {
  TConnectionLog log;
  const std::string path = folder + "Connection.log";
  if (!PathExists(path)) return log;
  std::string text;
  try {
    auto file = TFile::OpenRead(path);
    if (!file) throw EFileError(FileExists(path) ? "cannot be opened" : "is a folder");
    text = file->ReadAll();
  } catch (const std::exception& e) {
    log.Notes.UnreadableFiles.push_back(path + ": " + e.what());
    return log;
  }
  for (const std::string& line : LogLines(text, log.Notes)) {
    if (std::all_of(line.begin(), line.end(), IsBlank)) continue;
    if (const auto record = ParseLogLine(line, log.Notes))
      log.Records.push_back(*record);
    else
      ++log.Notes.SkippedLines;
  }
  std::stable_sort(log.Records.begin(), log.Records.end(),
                   [](const TConnectionRecord& a, const TConnectionRecord& b) {
                     return CompareLogRecords(a, b, 2) < 0;
                   });
  return log;
}

TDateTime RoundToMilliseconds(TDateTime value) {
  return static_cast<double>(Milliseconds(value)) / kMsPerDay;
}

int64_t ConnectionSeconds(const TConnectionRecord& record) {
  return std::max<int64_t>(0,
                           (Milliseconds(record.EndTime) - Milliseconds(record.StartTime)) / 1000);
}

std::string ConnectionDurationText(const TConnectionRecord& record) {
  const int64_t seconds = ConnectionSeconds(record);
  char text[40];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

std::string LogCell(const TConnectionRecord& record, int column, const TFormatSettings& fs) {
  switch (column) {
    case 1: return DateTimeToText(RoundToMilliseconds(record.StartTime), fs);
    case 2: return ConnectionDurationText(record);
    case 3: return FormatByteSize(record.Received, fs);
    case 4: return FormatByteSize(record.Transmitted, fs);
  }
  return record.Entry;
}

std::string LogCopyText(const std::string& caption, const TConnectionRecord& record,
                        const TFormatSettings& fs) {
  return caption + " - " + LogCell(record, 1, fs) + " - Time Online: " + LogCell(record, 2, fs) +
         " Received: " + LogCell(record, 3, fs) + " Sent: " + LogCell(record, 4, fs);
}

int CompareLogRecords(const TConnectionRecord& a, const TConnectionRecord& b, int32_t parameter) {
  const int column = (parameter < 0 ? -parameter : parameter) - 1;
  int ascending = 0;
  switch (column) {
    case 0: ascending = CompareTextIgnoringCase(a.Entry, b.Entry); break;
    case 1: ascending = (a.StartTime > b.StartTime) - (a.StartTime < b.StartTime); break;
    case 2: ascending = CompareInt64(ConnectionSeconds(a), ConnectionSeconds(b)); break;
    case 3: ascending = (a.Received > b.Received) - (a.Received < b.Received); break;
    case 4: ascending = (a.Transmitted > b.Transmitted) - (a.Transmitted < b.Transmitted); break;
  }
  return parameter > 0 ? -ascending : ascending;
}

std::string ConnectionLogCsv(const std::vector<TConnectionRecord>& records) {
  std::string csv = "ENTRY,START,END,SECONDS,RECEIVED,SENT,REASON\r\n";
  for (const TConnectionRecord& r : records)
    csv += CsvField(r.Entry) + "," + TimeField(r.StartTime) + "," + TimeField(r.EndTime) + "," +
           std::to_string(ConnectionSeconds(r)) + "," + Integer(r.Received) + "," +
           Integer(r.Transmitted) + "," + std::to_string(r.EndReason) + "\r\n";
  return csv;
}
