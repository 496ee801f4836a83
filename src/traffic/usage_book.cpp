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

// Online seconds and bytes into a day's section, in all and for the entry.
void BookDay(TIniFile32& file, const std::string& day, const std::string& entry, uint32_t seconds,
             int64_t received, int64_t sent) {
  if (!entry.empty()) AddSeconds(file, day, entry, seconds);
  AddSeconds(file, day, "Hours", seconds);
  if (received > 0) {
    AddInt64(file, day, "Recv", received);
    if (!entry.empty()) AddInt64(file, day, entry + "-Recv", received);
  }
  if (sent > 0) {
    AddInt64(file, day, "Xmit", sent);
    if (!entry.empty()) AddInt64(file, day, entry + "-Xmit", sent);
  }
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

TIniFile32* TUsageBook::MonthFile(TDateTime now) {
  const std::string path = MonthFileName(FFolder, now);
  // The old month's file holds nothing unsaved: a failed save drops its changes.
  if (!FDataFile || FDataFile->FileName() != path)
    FDataFile = std::make_unique<TIniFile32>(path, true);
  FDataFile->Refresh();
  if (FDataFile->CanSave()) return FDataFile.get();
  if (FDataFile->Damaged() && MoveAside(path)) {
    FDataFile = std::make_unique<TIniFile32>(path, true);
    FDataFile->Refresh();
    if (FDataFile->CanSave()) return FDataFile.get();
  }
  Tell(path, "Tallyline cannot open " + path + " (" + FDataFile->LastLoadError() +
                 "). What it counts waits and is written as soon as the file can be opened.");
  return nullptr;
}

// A damaged month file keeps its bytes under a name of its own.
bool TUsageBook::MoveAside(const std::string& path) {
  std::string aside = path + ".damaged";
  for (int n = 2; PathExists(aside); ++n) aside = path + ".damaged-" + std::to_string(n);
  if (!RenameReplacing(path, aside)) return false;
  Tell(path, "Tallyline could not read the month file " + path + " (" + FDataFile->LastLoadError() +
                 "). It is kept as " + aside + ", and a new month file was started.");
  return true;
}

bool TUsageBook::Save(TIniFile32& file) {
  try {
    file.UpdateFile();
  } catch (const std::exception&) {
    // Handled below, as any other save that did not happen.
  }
  if (!file.Modified()) return true;
  file.Revert();
  Tell(file.FileName(), "Tallyline cannot write " + file.FileName() +
                            ". What it counts waits and is written as soon as it can.");
  return false;
}

void TUsageBook::Tell(const std::string& file, const std::string& message) {
  if (FTold.insert(file).second && OnProblem) OnProblem(message);
}

void TUsageBook::FlushTotals(TMeterState& state, TLinkSource& source, bool final) {
  WritePending();
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
  TIniFile32* file = MonthFile(today);
  FTotalsWaiting = true;
  if (!file) return;
  // Whole seconds only: the fraction left at each flush is dropped.
  const uint32_t elapsed = now - state.HoursBase;
  const uint32_t seconds = (elapsed - state.HoursAccounted) / 1000;
  const int64_t received = state.RecvUnflushed, sent = state.XmitUnflushed;
  file->BatchUpdate = true;
  BookDay(*file, DaySerial(today), state.EntryName, seconds, received, sent);
  file->BatchUpdate = false;
  if (!Save(*file)) return;
  FTotalsWaiting = false;
  state.HoursAccounted = elapsed;
  state.RecvUnflushed -= received;
  state.XmitUnflushed -= sent;
}

void TUsageBook::SaveStopWatch(const TMeterState& state) {
  FSettings.SetCacheUpdates(true);
  FSettings.BatchUpdate = true;
  WriteStopWatchCounts(FSettings, state);
  FSettings.BatchUpdate = false;
  FSettings.SetCacheUpdates(false);
}

void WriteStopWatchCounts(TIniFile32& settings, const TMeterState& state) {
  settings.WriteInt64("StopWatch", "D", state.StopWatchTicks);
  settings.WriteInt64("StopWatch", "Tx", state.StopWatchTx);
  settings.WriteInt64("StopWatch", "Rx", state.StopWatchRx);
}

void TUsageBook::CountCall(const TMeterState& state, TLinkSource& source) {
  const TPendingCall call{source.Now(), state.EntryName};
  if (!BookCall(call)) FPendingCalls.push_back(call);
}

bool TUsageBook::BookCall(const TPendingCall& call) {
  TIniFile32* file = MonthFile(call.Day);
  if (!file) return false;
  const std::string day = DaySerial(call.Day);
  file->BatchUpdate = true;
  for (const std::string& key : {call.Entry + "-Calls", std::string("Calls")})
    file->WriteInteger(day, key, file->ReadInteger(day, key, 0) + 1);
  file->BatchUpdate = false;
  return Save(*file);
}

void TUsageBook::AppendConnectionLog(const TMeterState& state, TLinkSource& source, int endReason) {
  if (endReason == 2 && state.EntryName.empty()) return;
  if (state.ConnectionStart == 0) return;  // always so in adapter mode
  FPendingLines.push_back(ConnectionLogLine(state.ConnectionStart, source.Now(), endReason,
                                            state.EntryName, state.RecvConnection,
                                            state.XmitConnection,
                                            FormatSettings().DecimalSeparator) +
                          "\r\n");
  AppendLines();
}

// The lines that wait, in order, in one write.
bool TUsageBook::AppendLines() {
  const std::string path = FFolder + "Connection.log";
  std::string text;
  for (const std::string& line : FPendingLines) text += line;
  try {
    EnsureFileExists(path);
    auto log = TFile::OpenAppend(path);
    if (log) {
      log->Write(text.data(), text.size());
      log->Flush();
      FPendingLines.clear();
      return true;
    }
  } catch (const std::exception&) {
    // A write that fails part way may leave part of a line; the next line
    // starts on a line of its own.
    FPendingLines.front().insert(0, "\r\n");
  }
  Tell(path, "Tallyline cannot add to " + path +
                 ". The connections wait and are written as soon as it can.");
  return false;
}

void TUsageBook::WritePending() {
  if (!FPendingLines.empty()) AppendLines();
  std::erase_if(FPendingCalls, [this](const TPendingCall& call) { return BookCall(call); });
}

std::vector<std::string> TUsageBook::Unwritten() const {
  std::vector<std::string> files;
  if (!FPendingLines.empty()) files.push_back(FFolder + "Connection.log");
  if (!FPendingCalls.empty() || FTotalsWaiting)
    files.push_back(FDataFile ? FDataFile->FileName() : FFolder + "data");
  return files;
}
