#include "traffic/usage_book.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <optional>
#include <thread>
#include <tuple>
#include <utility>

#include "platform/files.h"
#include "platform/format_settings.h"
#include "storage/file_helpers.h"
#include "storage/ini_syntax.h"
#include "storage/text_lines.h"
#include "storage/text_utils.h"
#include "traffic/adapter_counters.h"

namespace {

// Flushes write at most this often, in milliseconds of tick count.
constexpr uint32_t kFlushInterval = 120000;
// What could not be written is tried again at most this often, in milliseconds.
constexpr uint32_t kRetryInterval = 10000;
// Another copy's booking takes milliseconds: the lock is waited for this
// long at most, two seconds, before the amounts wait for the next try.
constexpr int kLockAttempts = 100;
constexpr auto kLockWait = std::chrono::milliseconds(20);
// No day, nor hour, has more seconds online than it has seconds.
constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kSecondsPerHour = 3600;

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
void AddSeconds(TIniFile32& file, const std::string& day, const std::string& key, uint32_t seconds,
                int64_t most = kSecondsPerDay) {
  const int64_t stored = static_cast<int32_t>(file.ReadInt64(day, key, 0));
  file.WriteInt64(day, key, std::min(stored + seconds, most));
}

int HourOf(TDateTime time) {
  return DecodeDateTime(time).Hour;
}

// Online seconds and bytes into a day's section, in all and in their hour:
// the day's own for an empty entry, else the entry's.
void BookDay(TIniFile32& file, const std::string& day, int hour, const std::string& entry,
             uint32_t seconds, int64_t received, int64_t sent) {
  const TAmountKeys keys = AmountKeys(entry), hourKeys = HourAmountKeys(entry, hour);
  AddSeconds(file, day, keys.Seconds, seconds);
  AddSeconds(file, day, hourKeys.Seconds, seconds, kSecondsPerHour);
  if (received > 0) {
    AddInt64(file, day, keys.Received, received);
    AddInt64(file, day, hourKeys.Received, received);
  }
  if (sent > 0) {
    AddInt64(file, day, keys.Sent, sent);
    AddInt64(file, day, hourKeys.Sent, sent);
  }
}

}  // namespace

std::string MonthFileName(const std::string& folder, TDateTime date) {
  const TSystemTime day = DecodeDateTime(date);
  const int first = EncodeDaySerial(day.Year, day.Month, 1);
  return folder + "data" + PathDelim + std::to_string(first) + ".dat";
}

std::string HourKey(const char* amount, int hour) {
  char key[16];
  std::snprintf(key, sizeof key, "%s.%02d", amount, hour);
  return key;
}

TAmountKeys AmountKeys(const std::string& entry) {
  if (entry.empty()) return {"Hours", "Recv", "Xmit"};
  return {entry, entry + "-Recv", entry + "-Xmit"};
}

TAmountKeys HourAmountKeys(const std::string& entry, int hour) {
  const std::string prefix = entry.empty() ? std::string() : entry + "-";
  return {prefix + HourKey("Hours", hour), prefix + HourKey("Recv", hour),
          prefix + HourKey("Xmit", hour)};
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
    : FFolder(folder), FSettings(settings), FKept(folder + "data" + PathDelim, UniqueName()) {}

TIniFile32* TUsageBook::MonthFile(TDateTime day) {
  const std::string path = MonthFileName(FFolder, day);
  // The old month's file holds nothing unsaved: a failed save drops its changes.
  if (!FDataFile || FDataFile->FileName() != path)
    FDataFile = std::make_unique<TIniFile32>(path, true);
  // Another copy of the program, or a tool, may have written it since: it
  // is read again every time, under the book's lock. A change of the same
  // size within the file system's time step (two seconds on FAT) would not
  // show in its size or time.
  FDataFile->Revert();
  if (FDataFile->Damaged()) {
    const std::vector<std::string> readable = FDataFile->Lines();
    if (!MoveAside(path)) return nullptr;
    FDataFile = std::make_unique<TIniFile32>(path, true);
    FDataFile->Refresh();
    // The days read before the damage stay in the reports.
    if (!readable.empty()) FDataFile->SetText(JoinLines(readable));
  }
  if (FDataFile->CanSave()) return FDataFile.get();
  Tell(path, "Tallyline cannot write " + path + " (" + FDataFile->LastLoadError() +
                 "). What it counts waits and is written as soon as the file can be opened.");
  return nullptr;
}

std::string TUsageBook::LockPath() const {
  return FFolder + "data" + PathDelim + "Tallyline.lock";
}

// Held while a month file is read, added to and written, so that two copies
// of the program on one folder never write over what the other booked. The
// file stays: one removed while another copy waits for it could be held by
// two at once.
std::optional<TFile> TUsageBook::LockBook() const {
  for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
    if (auto lock = TFile::CreateAlways(LockPath())) return lock;
    std::this_thread::sleep_for(kLockWait);
  }
  return std::nullopt;
}

// A damaged month file keeps its bytes under a name of its own, untouched.
bool TUsageBook::MoveAside(const std::string& path) {
  std::string aside = path + ".damaged";
  for (int n = 2; PathExists(aside); ++n) aside = path + ".damaged-" + std::to_string(n);
  if (!RenameReplacing(path, aside)) {
    Tell(path, "Tallyline could not read the month file " + path + " (" +
                   FDataFile->LastLoadError() + ") and cannot move it aside. What it counts " +
                   "waits and is written as soon as it can.");
    return false;
  }
  Tell(path, "Tallyline could not read the month file " + path + " (" + FDataFile->LastLoadError() +
                 "). It is kept as " + aside +
                 ", and a new month file was started with what could be read of it.");
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
  const uint32_t now = source.TickCount();
  // What the state holds was counted up to the previous tick: in another
  // hour than this one's, it is that hour's.
  const TDateTime time = source.Now();
  const bool hourChanged = FLastCall != 0 && (std::floor(FLastCall) != std::floor(time) ||
                                              HourOf(FLastCall) != HourOf(time));
  const TDateTime counted = hourChanged ? FLastCall : time;
  FLastCall = time;
  bool due = final;
  if (state.HoursBase > now) {
    // The tick count wrapped: start accounting afresh.
    state.HoursBase = now;
    state.HoursAccounted = 0;
  } else if (state.HoursBase != 0 && (hourChanged || now - state.LastFlush >= kFlushInterval)) {
    due = true;
  }
  if (!due) {
    // What could not be written is tried again now and then, not every tick:
    // a file in use costs a wait at each try.
    if (now - FLastAttempt >= kRetryInterval) WritePending(now);
    return;
  }
  state.LastFlush = now;
  if (state.StopWatchRunning) SaveStopWatch(state);
  TOwedTotals totals{counted, std::string()};
  if (state.HoursBase != 0) {
    // Whole seconds only: the fraction left at each flush is dropped.
    const uint32_t elapsed = now - state.HoursBase;
    totals.Seconds = (elapsed - state.HoursAccounted) / 1000;
    state.HoursAccounted = elapsed;
  }
  totals.Received = std::exchange(state.RecvUnflushed, 0);
  totals.Sent = std::exchange(state.XmitUnflushed, 0);
  Owe(totals);
  // Each link's own under its entry: the dial-up entry's is the day's, each
  // adapter has its own bytes and the seconds it was up.
  if (!state.EntryName.empty()) {
    totals.Entry = state.EntryName;
    Owe(totals);
  }
  for (TWatchedAdapter& adapter : state.Watched)
    Owe({counted, adapter.Key, TakeOnlineSeconds(adapter, totals.Seconds),
         std::exchange(adapter.UnflushedReceived, 0), std::exchange(adapter.UnflushedSent, 0)});
  WritePending(now);
}

// Amounts of the same hour and entry wait as one.
void TUsageBook::Owe(const TOwedTotals& totals) {
  if (totals.Seconds == 0 && totals.Received == 0 && totals.Sent == 0) return;
  for (TOwedTotals& owed : FOwed.Totals)
    if (DaySerial(owed.Counted) == DaySerial(totals.Counted) &&
        HourOf(owed.Counted) == HourOf(totals.Counted) && owed.Entry == totals.Entry) {
      owed.Seconds += totals.Seconds;
      owed.Received += totals.Received;
      owed.Sent += totals.Sent;
      return;
    }
  FOwed.Totals.push_back(totals);
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
  FOwed.Calls.push_back({source.Now(), state.EntryName});
  WritePending(source.TickCount());
}

void TUsageBook::BookCall(TIniFile32& file, const TOwedCall& call) {
  const std::string day = DaySerial(call.Day);
  for (const std::string& key : {call.Entry + "-Calls", std::string("Calls")})
    file.WriteInteger(day, key, file.ReadInteger(day, key, 0) + 1);
}

void TUsageBook::AppendConnectionLog(const TMeterState& state, TLinkSource& source, int endReason) {
  if (endReason == 2 && state.EntryName.empty()) return;
  if (state.ConnectionStart == 0) return;  // always so in adapter mode
  FOwed.Log += ConnectionLogLine(state.ConnectionStart, source.Now(), endReason, state.EntryName,
                                 state.RecvConnection, state.XmitConnection,
                                 FormatSettings().DecimalSeparator) +
               "\r\n";
  WritePending(source.TickCount());
}

// The lines that wait, in order, in one write. A write that fails part way
// (a full disk) leaves what reached the file there; only the rest waits, so
// the next write goes on where this one stopped.
bool TUsageBook::AppendLog() {
  const std::string path = FFolder + "Connection.log";
  try {
    EnsureFileExists(path);
    EndCutLine(path);
    const int64_t before = FileStamp(path).Size;
    try {
      if (auto log = TFile::OpenAppend(path)) {
        log->Write(FOwed.Log.data(), FOwed.Log.size());
        log->Flush();
        FOwed.Log.clear();
        return true;
      }
    } catch (const std::exception&) {
      const int64_t after = FileStamp(path).Size;
      if (before >= 0 && after > before) FOwed.Log.erase(0, static_cast<size_t>(after - before));
    }
  } catch (const std::exception&) {
    // Told below, as any other append that did not happen.
  }
  Tell(path, "Tallyline cannot add to " + path +
                 ". The connections wait and are written as soon as it can.");
  return false;
}

std::vector<TUsageBook::TLedger> TUsageBook::Ledgers() {
  std::vector<TLedger> ledgers{{FOwed, FKept}};
  for (TEarlierRun& run : FEarlier) ledgers.push_back({run.Owed, *run.File});
  return ledgers;
}

std::vector<const TOwed*> TUsageBook::AllOwed() const {
  std::vector<const TOwed*> all{&FOwed};
  for (const TEarlierRun& run : FEarlier) all.push_back(&run.Owed);
  return all;
}

// The month files that wait for calls or totals, each with a day it holds,
// in the order they were owed.
std::vector<std::pair<std::string, TDateTime>> TUsageBook::PendingMonths() const {
  std::vector<std::pair<std::string, TDateTime>> months;
  const auto add = [&](TDateTime day) {
    const std::string path = MonthFileName(FFolder, day);
    if (std::none_of(months.begin(), months.end(), [&](const auto& m) { return m.first == path; }))
      months.emplace_back(path, day);
  };
  for (const TOwed* owed : AllOwed()) {
    for (const TOwedCall& call : owed->Calls) add(call.Day);
    for (const TOwedTotals& totals : owed->Totals) add(totals.Counted);
  }
  return months;
}

// Everything a month file waits for goes into it in one save: the day's
// totals and each entry's share of them are written together or not at all,
// and with the marker of the owed file that keeps them, if any.
void TUsageBook::BookMonth(const std::string& path, TDateTime day) {
  const std::optional<TFile> lock = LockBook();
  if (!lock) {
    Tell(path, "Tallyline cannot write " + path + ": another program keeps " + LockPath() +
                   " open. What it counts waits and is written as soon as it can.");
    return;
  }
  TIniFile32* file = MonthFile(day);
  if (!file) return;
  const auto inFile = [&](TDateTime d) { return MonthFileName(FFolder, d) == path; };
  file->BatchUpdate = true;
  for (const TLedger& ledger : Ledgers()) {
    const std::string& generation = ledger.File.Generation();
    const auto mark = [&](TDateTime d) {
      if (!generation.empty()) file->WriteInteger(DaySerial(d), OwedMarker(generation), 1);
    };
    for (const TOwedCall& call : ledger.Owed.Calls)
      if (inFile(call.Day)) {
        BookCall(*file, call);
        mark(call.Day);
      }
    for (const TOwedTotals& t : ledger.Owed.Totals)
      if (inFile(t.Counted)) {
        BookDay(*file, DaySerial(t.Counted), HourOf(t.Counted), t.Entry, t.Seconds, t.Received,
                t.Sent);
        mark(t.Counted);
      }
  }
  file->BatchUpdate = false;
  if (!Save(*file)) return;
  for (const TLedger& ledger : Ledgers()) {
    std::erase_if(ledger.Owed.Calls, [&](const TOwedCall& call) { return inFile(call.Day); });
    std::erase_if(ledger.Owed.Totals, [&](const TOwedTotals& t) { return inFile(t.Counted); });
  }
}

// A line an earlier run left cut short (a crash, a full disk) is ended in
// the file before this run's first line, so that it stays one damaged line
// and the new one stands whole. Throws when the file cannot take the end;
// the next append tries again.
void TUsageBook::EndCutLine(const std::string& path) {
  if (FLogEndChecked) return;
  std::string text;
  {
    auto log = TFile::OpenRead(path);
    if (!log) return;  // the append fails too, and the next one looks again
    text = log->ReadAll();
  }
  if (!text.empty() && !text.ends_with("\r\n")) {
    const std::string end = text.back() == '\r' ? "\n" : "\r\n";
    auto log = TFile::OpenAppend(path);
    if (!log) throw EFileError("Cannot open \"" + path + "\"");
    log->Write(end.data(), end.size());
    log->Flush();
  }
  FLogEndChecked = true;
}

void TUsageBook::WritePending(uint32_t now) {
  FLastAttempt = now;
  if (!FOwed.Log.empty()) AppendLog();
  for (const auto& [path, day] : PendingMonths()) BookMonth(path, day);
  // An earlier run's file goes once all it kept is in its files.
  std::erase_if(FEarlier, [](TEarlierRun& run) {
    if (!run.Owed.Empty()) return false;
    run.File->Remove();
    return true;
  });
  FKeptAll = FKept.Keep(FOwed);
}

std::vector<std::string> TUsageBook::Unwritten() const {
  std::vector<std::string> files;
  if (!FOwed.Log.empty()) files.push_back(FFolder + "Connection.log");
  for (const auto& month : PendingMonths()) files.push_back(month.first);
  return files;
}

void TUsageBook::TakeOverEarlierRuns(TLinkSource& source) {
  const std::string data = FFolder + "data" + PathDelim;
  std::vector<std::string> logged;
  if (auto log = TFile::OpenRead(FFolder + "Connection.log"))
    logged = SplitCrLfLines(log->ReadAll());
  for (const std::string& run : OwedRuns(data)) {
    auto file = std::make_unique<TOwedFile>(data, run);
    if (!file->Hold()) continue;  // the run lives, and keeps its own
    TOwed owed = file->Read();
    // A log line is its own mark: one the log or this run has already is
    // not written again.
    for (const std::string& line : SplitCrLfLines(owed.Log)) {
      if (std::find(logged.begin(), logged.end(), line) != logged.end()) continue;
      logged.push_back(line);
      FOwed.Log += line + "\r\n";
    }
    owed.Log.clear();
    DropBooked(owed, file->Generation());
    FEarlier.push_back({std::move(file), std::move(owed)});
  }
  if (!FEarlier.empty()) WritePending(source.TickCount());
}

// The records whose day holds the file's marker were booked by the run that
// kept them, which ended before it could remove its file.
void TUsageBook::DropBooked(TOwed& owed, const std::string& generation) const {
  if (generation.empty()) return;
  const auto booked = [&](TDateTime day) {
    const std::string path = MonthFileName(FFolder, day);
    if (!FileExists(path)) return false;  // the file class would make a missing one
    TIniFile32 file(path, false);
    return file.ReadInteger(DaySerial(day), OwedMarker(generation), 0) != 0;
  };
  std::erase_if(owed.Calls, [&](const TOwedCall& call) { return booked(call.Day); });
  std::erase_if(owed.Totals, [&](const TOwedTotals& t) { return booked(t.Counted); });
}

TUsageBook::TTotals TUsageBook::DayAndMonthTotals(TDateTime day) const {
  const auto serial = static_cast<int32_t>(std::floor(day));
  const TSystemTime date = DecodeDaySerial(serial);
  const int32_t first = EncodeDaySerial(date.Year, date.Month, 1);
  const int32_t last = first + DaysInMonth(date.Year, date.Month) - 1;
  TTotals t;
  std::tie(t.DayReceived, t.DaySent) = Waiting(serial, serial);
  std::tie(t.MonthReceived, t.MonthSent) = Waiting(first, last);
  const std::string path = MonthFileName(FFolder, day);
  if (!FileExists(path)) return t;  // the file class would make a missing one
  const auto add = [](int64_t& sum, int64_t amount) {
    sum = amount > INT64_MAX - sum ? INT64_MAX : sum + amount;
  };
  TIniFile32 file(path, false);
  for (const std::string& section : file.ReadSections()) {
    const std::optional<int64_t> day = ParseInteger(section, 32);
    if (!day || *day < first || *day > last) continue;
    const int64_t received = std::max<int64_t>(file.ReadInt64(section, "Recv", 0), 0);
    const int64_t sent = std::max<int64_t>(file.ReadInt64(section, "Xmit", 0), 0);
    add(t.MonthReceived, received);
    add(t.MonthSent, sent);
    if (*day == serial) add(t.DayReceived, received), add(t.DaySent, sent);
  }
  return t;
}

std::pair<int64_t, int64_t> TUsageBook::Waiting(int32_t firstDay, int32_t lastDay) const {
  int64_t received = 0, sent = 0;
  for (const TOwed* owed : AllOwed())
    for (const TOwedTotals& totals : owed->Totals) {
      const auto day = static_cast<int32_t>(std::floor(totals.Counted));
      if (totals.Entry.empty() && day >= firstDay && day <= lastDay) {
        received += totals.Received;
        sent += totals.Sent;
      }
    }
  return {received, sent};
}
