#include "traffic/usage_book.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/files.h"
#include "platform/format_settings.h"
#include "storage/file_helpers.h"
#include "storage/text_utils.h"

namespace {

// Flushes write at most this often, in milliseconds of tick count.
constexpr uint32_t kFlushInterval = 120000;
// No day has more seconds online than it has seconds.
constexpr int64_t kSecondsPerDay = 86400;

std::string DaySerial(TDateTime date) {
  return std::to_string(static_cast<int>(std::floor(date)));
}

// General floating-point form with at most 15 significant digits.
std::string DateTimeField(TDateTime value, char decimalSeparator) {
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", value);
  std::string field = text;
  for (char& c : field)
    if (c == '.') c = decimalSeparator;
  return field;
}

void AddInt64(TIniFile32& file, const std::string& day, const std::string& key, int64_t amount) {
  file.WriteInt64(day, key, file.ReadInt64(day, key, 0) + amount);
}

// The stored seconds are taken as a 32-bit number, as they were written.
void AddSeconds(TIniFile32& file, const std::string& day, const std::string& key,
                uint32_t seconds) {
  const int64_t stored = static_cast<int32_t>(file.ReadInt64(day, key, 0));
  file.WriteInt64(day, key, std::min(stored + seconds, kSecondsPerDay));
}

}  // namespace

std::string MonthFileName(const std::string& folder, TDateTime date) {
  const TSystemTime day = DecodeDateTime(date);
  const int first = EncodeDaySerial(day.Year, day.Month, 1);
  return folder + "data" + PathDelim + std::to_string(first) + ".dat";
}

std::string ConnectionLogLine(TDateTime start, TDateTime end, int endReason,
                              const std::string& entry, int64_t received, int64_t transmitted,
                              char decimalSeparator) {
  const std::string fields[] = {DateTimeField(start, decimalSeparator),
                                DateTimeField(end, decimalSeparator),
                                std::to_string(endReason),
                                entry,
                                std::to_string(received),
                                std::to_string(transmitted)};
  std::string line;
  for (const std::string& field : fields) line += (line.empty() ? "" : ",") + CsvField(field);
  return line;
}

TUsageBook::TUsageBook(const std::string& folder, TIniFile32& settings)
    : FFolder(folder), FSettings(settings) {}

TIniFile32& TUsageBook::MonthFile(TDateTime now) {
  const std::string path = MonthFileName(FFolder, now);
  if (FDataFile && FDataFile->FileName() == path) {
    FDataFile->Refresh();
  } else {
    FDataFile.reset();  // saves what the old month still holds
    FDataFile = std::make_unique<TIniFile32>(path, true);
  }
  return *FDataFile;
}

void TUsageBook::FlushTotals(TMeterState& state, TLinkSource& source, bool final) {
  if (state.HoursBase == 0) return;  // online time is not running
  const uint32_t now = source.TickCount();
  if (state.HoursBase > now) {
    // The tick count wrapped: start accounting afresh.
    state.HoursBase = now;
    state.HoursAccounted = 0;
    return;
  }
  if (!final && now - state.LastFlush < kFlushInterval) return;
  state.LastFlush = now;

  if (state.StopWatchRunning) SaveStopWatch(state);

  const TDateTime today = source.Now();
  TIniFile32& file = MonthFile(today);
  // Whole seconds only: the fraction left at each flush is dropped.
  const uint32_t elapsed = now - state.HoursBase;
  const uint32_t seconds = (elapsed - state.HoursAccounted) / 1000;
  state.HoursAccounted = elapsed;
  file.BatchUpdate = true;
  BookDay(file, DaySerial(today), state, seconds);
  file.BatchUpdate = false;
  file.UpdateFile();
}

void TUsageBook::SaveStopWatch(const TMeterState& state) {
  FSettings.SetCacheUpdates(true);
  FSettings.BatchUpdate = true;
  WriteStopWatchCounts(FSettings, state);
  FSettings.BatchUpdate = false;
  FSettings.SetCacheUpdates(false);
}

void TUsageBook::BookDay(TIniFile32& file, const std::string& day, TMeterState& state,
                         uint32_t seconds) {
  if (!state.EntryName.empty()) AddSeconds(file, day, state.EntryName, seconds);
  AddSeconds(file, day, "Hours", seconds);
  const int64_t received = state.RecvUnflushed;
  state.RecvUnflushed = 0;
  if (received > 0) {
    AddInt64(file, day, "Recv", received);
    if (!state.EntryName.empty()) AddInt64(file, day, state.EntryName + "-Recv", received);
  }
  const int64_t sent = state.XmitUnflushed;
  state.XmitUnflushed = 0;
  if (sent > 0) {
    AddInt64(file, day, "Xmit", sent);
    if (!state.EntryName.empty()) AddInt64(file, day, state.EntryName + "-Xmit", sent);
  }
}

void WriteStopWatchCounts(TIniFile32& settings, const TMeterState& state) {
  settings.WriteInt64("StopWatch", "D", state.StopWatchTicks);
  settings.WriteInt64("StopWatch", "Tx", state.StopWatchTx);
  settings.WriteInt64("StopWatch", "Rx", state.StopWatchRx);
}

void TUsageBook::CountCall(const TMeterState& state, TLinkSource& source) {
  const TDateTime today = source.Now();
  TIniFile32& file = MonthFile(today);
  const std::string day = DaySerial(today);
  file.BatchUpdate = true;
  for (const std::string& key : {state.EntryName + "-Calls", std::string("Calls")})
    file.WriteInteger(day, key, file.ReadInteger(day, key, 0) + 1);
  file.BatchUpdate = false;
  file.UpdateFile();
}

void TUsageBook::AppendConnectionLog(const TMeterState& state, TLinkSource& source, int endReason) {
  if (endReason == 2 && state.EntryName.empty()) return;
  if (state.ConnectionStart == 0) return;  // always so in adapter mode
  const std::string line =
      ConnectionLogLine(state.ConnectionStart, source.Now(), endReason, state.EntryName,
                        state.RecvConnection, state.XmitConnection,
                        FormatSettings().DecimalSeparator) +
      "\r\n";
  const std::string path = FFolder + "Connection.log";
  EnsureFileExists(path);
  auto log = TFile::OpenAppend(path);
  if (!log) throw EFileError("Cannot open " + path + " to add a connection");
  log->Write(line.data(), line.size());
  log->Flush();
}
