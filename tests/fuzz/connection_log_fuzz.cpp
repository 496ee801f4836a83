// Arbitrary bytes as "Connection.log": reading it back keeps only records a
// date can show, and what the log window and the command line make of them
// (cells, durations, the CSV, every sort order) holds up. Records the
// program could have written go through its own line writer and read back
// the same.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "reports/connection_log.h"
#include "traffic/usage_book.h"

namespace {

TConnectionLog ReadText(const std::string& text) {
  std::ofstream(ScratchFolder() + "Connection.log", std::ios::binary | std::ios::trunc) << text;
  return ReadConnectionLog(ScratchFolder());
}

bool IsDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The last fields of a CSV line, which never hold a comma; the entry before
// them may.
std::vector<std::string> TailFields(const std::string& line, size_t count) {
  std::vector<std::string> fields;
  size_t end = line.size();
  while (fields.size() < count) {
    const size_t comma = line.rfind(',', end - 1);
    Check(comma != std::string::npos);
    fields.insert(fields.begin(), line.substr(comma + 1, end - comma - 1));
    end = comma;
  }
  return fields;
}

// A CSV amount: the amount rounded to a whole number, all its digits.
void CheckAmountField(const std::string& field, double amount) {
  Check(IsDigits(field));
  Check(std::fabs(std::strtod(field.c_str(), nullptr) - amount) <= 0.5 + amount * 1e-15);
}

void CheckTimeField(const std::string& field) {
  Check(field.size() == 19 && field[4] == '-' && field[10] == ' ' && field[13] == ':');
}

void CheckSorts(const std::vector<TConnectionRecord>& records) {
  const size_t pairs = std::min<size_t>(records.size(), 12);
  for (int32_t column = 1; column <= static_cast<int32_t>(kLogColumns.size()); ++column)
    for (const int32_t parameter : {column, -column}) {
      for (size_t i = 0; i < pairs; ++i)
        for (size_t j = i; j < pairs; ++j) {
          const int ab = CompareLogRecords(records[i], records[j], parameter);
          const int ba = CompareLogRecords(records[j], records[i], parameter);
          Check((ab > 0) == (ba < 0) && (ab < 0) == (ba > 0));
          // A direction flips the order, never the equality.
          Check((ab == 0) == (CompareLogRecords(records[i], records[j], -parameter) == 0));
        }
      std::vector<TConnectionRecord> sorted = records;
      std::stable_sort(sorted.begin(), sorted.end(), [&](const auto& a, const auto& b) {
        return CompareLogRecords(a, b, parameter) < 0;
      });
      for (size_t i = 1; i < sorted.size(); ++i)
        Check(CompareLogRecords(sorted[i - 1], sorted[i], parameter) <= 0);
    }
}

// The lines the program writes for the records it could have written, read
// back: the same records in the same order.
void CheckWrittenBack(const std::vector<TConnectionRecord>& records) {
  const double low = EncodeDaySerial(1, 1, 2), high = EncodeDaySerial(9999, 12, 31);
  std::vector<const TConnectionRecord*> kept;
  std::string text;
  for (const TConnectionRecord& r : records) {
    if (r.StartTime < low || r.StartTime > high || r.EndTime < low || r.EndTime > high ||
        r.Received > 1e18 || r.Transmitted > 1e18 || r.Received != std::floor(r.Received) ||
        r.Transmitted != std::floor(r.Transmitted))
      continue;
    kept.push_back(&r);
    text += ConnectionLogLine(r.StartTime, r.EndTime, r.EndReason, r.Entry,
                              static_cast<int64_t>(r.Received), static_cast<int64_t>(r.Transmitted),
                              ',') +
            "\r\n";
  }
  const TConnectionLog again = ReadText(text);
  Check(again.Records.size() == kept.size() && again.Notes.SkippedLines == 0);
  for (size_t i = 0; i < kept.size(); ++i) {
    const TConnectionRecord &a = *kept[i], &b = again.Records[i];
    Check(a.Entry == b.Entry && a.EndReason == b.EndReason);
    Check(a.Received == b.Received && a.Transmitted == b.Transmitted);
    // The line keeps 15 digits of a time: less than a millisecond (1.16e-8 days) off.
    Check(std::fabs(a.StartTime - b.StartTime) < 1e-8 && std::fabs(a.EndTime - b.EndTime) < 1e-8);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TConnectionLog log = ReadText(std::string(reinterpret_cast<const char*>(data), size));
  const std::vector<TConnectionRecord>& records = log.Records;
  Check(!log.Notes.Failed());
  Check(log.Notes.SkippedLines >= 0);
  log.Notes.Texts();

  const double first = EncodeDaySerial(1, 1, 1), last = EncodeDaySerial(9999, 12, 31) + 1;
  const TFormatSettings fs{};
  for (size_t i = 0; i < records.size(); ++i) {
    const TConnectionRecord& r = records[i];
    Check(r.StartTime >= first && r.StartTime < last && r.EndTime >= first && r.EndTime < last);
    Check(std::isfinite(r.Received) && r.Received >= 0);
    Check(std::isfinite(r.Transmitted) && r.Transmitted >= 0);
    if (i > 0) Check(records[i - 1].StartTime >= r.StartTime);

    const int64_t seconds = ConnectionSeconds(r);
    Check(seconds >= 0);
    // "hh:mm:ss" says the same seconds again.
    const std::string duration = ConnectionDurationText(r);
    long long hours = -1;
    int minutes = -1, secs = -1, length = 0;
    Check(std::sscanf(duration.c_str(), "%lld:%2d:%2d%n", &hours, &minutes, &secs, &length) == 3);
    Check(length == static_cast<int>(duration.size()) && minutes < 60 && secs < 60);
    Check(hours * 3600 + minutes * 60 + secs == seconds);

    Check(LogCell(r, 0, fs) == r.Entry && LogCell(r, 2, fs) == duration);
    for (const int column : {1, 3, 4}) {
      const std::string cell = LogCell(r, column, fs);
      Check(!cell.empty() && cell[0] != '-');
    }
  }

  const std::string csv = ConnectionLogCsv(records);
  Check(static_cast<size_t>(std::count(csv.begin(), csv.end(), '\n')) == records.size() + 1);
  Check(std::count(csv.begin(), csv.end(), '\r') == std::count(csv.begin(), csv.end(), '\n'));
  size_t at = 0;
  for (size_t line = 0; line <= records.size(); ++line) {
    const size_t end = csv.find("\r\n", at);
    Check(end != std::string::npos);
    if (line > 0) {
      const TConnectionRecord& r = records[line - 1];
      const std::vector<std::string> f = TailFields(csv.substr(at, end - at), 6);
      CheckTimeField(f[0]);
      CheckTimeField(f[1]);
      Check(f[2] == std::to_string(ConnectionSeconds(r)));
      CheckAmountField(f[3], r.Received);
      CheckAmountField(f[4], r.Transmitted);
    }
    at = end + 2;
  }
  Check(at == csv.size());

  CheckSorts(records);
  CheckWrittenBack(records);
  return 0;
}
