// A stand-in for the Remote Access Service, which Wine lacks: a rasapi32.dll
// whose connections, counters and dialling a test controls through a text
// file named by the environment variable TALLYLINE_FAKERAS. Lines:
//
//   conn=HANDLE|ENTRY|STATE|RECEIVED|SENT|BPS|DURATION_MS|FALL
//                                          an active connection; FALL (optional)
//                                          bytes are taken off RECEIVED, down to
//                                          0, on every read of its statistics
//   entry=NAME                             a phone-book entry, the only ones
//                                          RasGetEntryDialParamsA knows (623)
//   dial=RESULT|DELAY_MS|STATE,STATE,...|ERROR
//                                          how the next dial goes
//   nostatistics=1                         RasGetConnectionStatistics fails
//   hangupdelay=MS                         how long a hung-up line takes to be
//                                          released; "never" for never
//   hangupignored=1                        RasHangUpA answers 0 and the line
//                                          stays up (a line that never lets go)
//   hungup=HANDLE|TICK|MS                  a line hung up at GetTickCount() TICK
//                                          and not yet released (written by
//                                          RasHangUpA while hangupdelay is set)
//
// A dial returns RESULT at once; when that is 0 the notifier then receives
// every STATE, DELAY_MS apart, the last one with ERROR (so a list cut short
// fails at the state of choice); a last state of 8192 (connected) adds the
// entry's connection to the file. Hanging up removes the connection; until
// its release RasGetConnectStatusA still answers for it, as disconnected.
// Hanging up a dial in progress abandons it: no more notifications, and no
// connection.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kConnected = 8192;
constexpr DWORD kDisconnected = 8193;
constexpr DWORD kInvalidHandle = 6;
constexpr DWORD kCannotFindEntry = 623;
constexpr DWORD kBufferTooSmall = 603;
constexpr UINT kRasDialEvent = 0xCCCD;

struct TConnection {
  DWORD Handle = 0;
  std::string Entry;
  DWORD State = kConnected;
  DWORD Received = 0, Sent = 0, Bps = 0, Duration = 0, Fall = 0;
};

struct THungUp {
  DWORD Handle = 0, Tick = 0, Delay = 0;
  bool Released() const { return Delay != INFINITE && GetTickCount() - Tick >= Delay; }
};

struct TState {
  std::vector<TConnection> Connections;
  std::vector<std::string> Entries;
  DWORD DialResult = 0, DialDelay = 50, DialError = 0;
  std::vector<DWORD> DialStates = {0, 2, 5, kConnected};
  bool NoStatistics = false;
  DWORD HangUpDelay = 0;
  bool HangUpIgnored = false;
  std::vector<THungUp> HungUp;
  std::vector<std::string> Other;  // the other lines, written back as they are
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

DWORD Number(const std::vector<std::string>& parts, size_t i) {
  return i < parts.size() ? std::strtoul(parts[i].c_str(), nullptr, 10) : 0;
}

// A delay in milliseconds, or INFINITE for "never".
DWORD Delay(const std::string& text) {
  return text == "never" ? INFINITE : std::strtoul(text.c_str(), nullptr, 10);
}

std::string DelayText(DWORD delay) {
  return delay == INFINITE ? "never" : std::to_string(delay);
}

// Read from the process's environment rather than the C library's copy, so
// that a test may point the stand-in at a file from within its own process.
std::string ControlFile() {
  char path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA("TALLYLINE_FAKERAS", path, sizeof path);
  return n > 0 && n < sizeof path ? path : "";
}

// One lock across processes keeps a read from meeting a half-written file.
class TFileLock {
 public:
  TFileLock() : FMutex(CreateMutexA(nullptr, FALSE, "TallylineFakeRasFile")) {
    WaitForSingleObject(FMutex, INFINITE);
  }
  ~TFileLock() {
    ReleaseMutex(FMutex);
    CloseHandle(FMutex);
  }

 private:
  HANDLE FMutex;
};

TState Load() {
  TState state;
  std::ifstream in(ControlFile());
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t eq = line.find('=');
    const std::string key = line.substr(0, eq),
                      value = eq == std::string::npos ? "" : line.substr(eq + 1);
    const auto parts = Split(value, '|');
    if (key == "conn" && parts.size() >= 2) {
      TConnection c;
      c.Handle = Number(parts, 0);
      c.Entry = parts[1];
      c.State = parts.size() > 2 ? Number(parts, 2) : kConnected;
      c.Received = Number(parts, 3);
      c.Sent = Number(parts, 4);
      c.Bps = Number(parts, 5);
      c.Duration = Number(parts, 6);
      c.Fall = Number(parts, 7);
      state.Connections.push_back(c);
    } else if (key == "entry") {
      state.Entries.push_back(value);
    } else if (key == "dial") {
      state.DialResult = Number(parts, 0);
      state.DialDelay = Number(parts, 1);
      state.DialStates.clear();
      if (parts.size() > 2)
        for (const std::string& s : Split(parts[2], ','))
          state.DialStates.push_back(std::strtoul(s.c_str(), nullptr, 10));
      state.DialError = Number(parts, 3);
      state.Other.push_back(line);
    } else if (key == "nostatistics") {
      state.NoStatistics = value == "1";
      state.Other.push_back(line);
    } else if (key == "hangupdelay") {
      state.HangUpDelay = Delay(value);
      state.Other.push_back(line);
    } else if (key == "hangupignored") {
      state.HangUpIgnored = value == "1";
      state.Other.push_back(line);
    } else if (key == "hungup") {
      state.HungUp.push_back(
          {Number(parts, 0), Number(parts, 1), Delay(parts.size() > 2 ? parts[2] : "")});
    } else if (!line.empty()) {
      state.Other.push_back(line);
    }
  }
  return state;
}

void Save(const TState& state) {
  std::ostringstream out;
  for (const TConnection& c : state.Connections)
    out << "conn=" << c.Handle << '|' << c.Entry << '|' << c.State << '|' << c.Received << '|'
        << c.Sent << '|' << c.Bps << '|' << c.Duration << '|' << c.Fall << "\n";
  for (const THungUp& h : state.HungUp)
    if (!h.Released())
      out << "hungup=" << h.Handle << '|' << h.Tick << '|' << DelayText(h.Delay) << "\n";
  for (const std::string& e : state.Entries) out << "entry=" << e << "\n";
  for (const std::string& line : state.Other) out << line << "\n";
  std::ofstream(ControlFile(), std::ios::trunc) << out.str();
}

TConnection* Find(TState& state, DWORD handle) {
  for (TConnection& c : state.Connections)
    if (c.Handle == handle) return &c;
  return nullptr;
}

void CopyText(char* target, size_t size, const std::string& text) {
  std::snprintf(target, size, "%s", text.c_str());
}

using TNotifier = VOID(WINAPI*)(UINT, DWORD, DWORD);

DWORD HandleOf(HANDLE connection) {
  return static_cast<DWORD>(reinterpret_cast<uintptr_t>(connection));
}

void Connect(const std::string& entry, DWORD handle) {
  TFileLock lock;
  TState state = Load();
  TConnection c;
  c.Handle = handle;
  c.Entry = entry;
  c.Bps = 28800;
  state.Connections.push_back(c);
  Save(state);
}

// A dial in progress on a thread of its own, which holds this library loaded
// until the last notification: a caller may free it meanwhile.
struct TDial {
  std::string Entry;
  DWORD Handle = 0;
  TState Script;
  bool Connects = false;
  TNotifier Notifier = nullptr;
  HMODULE Module = nullptr;
};

// The handles of dials in progress in this process, which RasHangUpA takes
// out to abandon one.
std::mutex dialsLock;
std::vector<DWORD> dialsInProgress;

bool DialInProgress(DWORD handle, bool abandon = false) {
  const std::lock_guard<std::mutex> lock(dialsLock);
  const auto found = std::find(dialsInProgress.begin(), dialsInProgress.end(), handle);
  const bool inProgress = found != dialsInProgress.end();
  if (inProgress && abandon) dialsInProgress.erase(found);
  return inProgress;
}

DWORD WINAPI RunDial(void* parameter) {
  const TDial* dial = static_cast<TDial*>(parameter);
  const TState& script = dial->Script;
  for (size_t i = 0; i < script.DialStates.size(); ++i) {
    Sleep(script.DialDelay);
    if (!DialInProgress(dial->Handle)) break;
    const bool last = i + 1 == script.DialStates.size();
    if (last && dial->Connects) Connect(dial->Entry, dial->Handle);
    dial->Notifier(kRasDialEvent, script.DialStates[i], last ? script.DialError : 0);
  }
  DialInProgress(dial->Handle, true);
  const HMODULE module = dial->Module;
  delete dial;
  FreeLibraryAndExitThread(module, 0);
}

}  // namespace

extern "C" {

DWORD WINAPI RasEnumConnectionsA(void* buffer, DWORD* size, DWORD* count) {
  if (!buffer || !size || !count) return ERROR_INVALID_PARAMETER;
  const DWORD recordSize = *static_cast<DWORD*>(buffer);
  if (recordSize < 412) return 632;  // ERROR_INVALID_SIZE
  TFileLock lock;
  const TState state = Load();
  const DWORD needed = recordSize * static_cast<DWORD>(state.Connections.size());
  if (*size < needed) {
    *size = needed;
    return kBufferTooSmall;
  }
  auto* bytes = static_cast<BYTE*>(buffer);
  for (size_t i = 0; i < state.Connections.size(); ++i) {
    BYTE* record = bytes + i * recordSize;
    std::memset(record, 0, recordSize);
    *reinterpret_cast<DWORD*>(record) = recordSize;
    *reinterpret_cast<DWORD*>(record + 4) = state.Connections[i].Handle;
    CopyText(reinterpret_cast<char*>(record + 8), 257, state.Connections[i].Entry);
    CopyText(reinterpret_cast<char*>(record + 8 + 257), 17, "modem");
    CopyText(reinterpret_cast<char*>(record + 8 + 257 + 17), 129, "Fake Modem");
  }
  *count = static_cast<DWORD>(state.Connections.size());
  return 0;
}

DWORD WINAPI RasGetConnectionStatistics(HANDLE connection, DWORD* stats) {
  TFileLock lock;
  TState state = Load();
  TConnection* c = Find(state, HandleOf(connection));
  if (!c || state.NoStatistics) return kInvalidHandle;
  if (c->Fall != 0) {
    c->Received -= std::min(c->Fall, c->Received);
    Save(state);
  }
  // RAS_STATS: bytes sent, received, ..., link speed and duration at the end.
  stats[1] = c->Sent;
  stats[2] = c->Received;
  stats[13] = c->Bps;
  stats[14] = c->Duration;
  return 0;
}

DWORD WINAPI RasGetConnectStatusA(HANDLE connection, DWORD* status) {
  TFileLock lock;
  TState state = Load();
  const DWORD handle = HandleOf(connection);
  const TConnection* c = Find(state, handle);
  const bool releasing =
      std::any_of(state.HungUp.begin(), state.HungUp.end(),
                  [&](const THungUp& h) { return h.Handle == handle && !h.Released(); });
  if (!c && !releasing) return kInvalidHandle;
  status[1] = c ? c->State : kDisconnected;
  status[2] = 0;
  CopyText(reinterpret_cast<char*>(status + 3), 17, "modem");
  return 0;
}

DWORD WINAPI RasGetErrorStringA(UINT error, char* text, DWORD size) {
  if (!text || size == 0) return ERROR_INVALID_PARAMETER;
  std::snprintf(text, size, "Fake RAS error %u", error);
  return 0;
}

DWORD WINAPI RasGetEntryDialParamsA(const char*, char* params, BOOL* hasPassword) {
  TFileLock lock;
  const TState state = Load();
  const std::string entry = params + 4;
  for (const std::string& e : state.Entries)
    if (e == entry) {
      if (hasPassword) *hasPassword = TRUE;
      return 0;
    }
  return kCannotFindEntry;
}

DWORD WINAPI RasDialA(void*, const char*, const char* params, DWORD, void* notifier,
                      HANDLE* connection) {
  const std::string entry = params + 4;
  TState state;
  {
    TFileLock lock;
    state = Load();
  }
  static DWORD nextHandle = 1000;
  const DWORD handle = ++nextHandle;
  *connection = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle));
  if (state.DialResult != 0) return state.DialResult;
  const bool connects =
      !state.DialStates.empty() && state.DialStates.back() == kConnected && state.DialError == 0;
  if (!notifier) {
    if (connects) Connect(entry, handle);
    return connects ? 0 : state.DialError;
  }
  auto* dial = new TDial{entry, handle, state, connects, reinterpret_cast<TNotifier>(notifier)};
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<const char*>(&RunDial), &dial->Module);
  {
    const std::lock_guard<std::mutex> lock(dialsLock);
    dialsInProgress.push_back(handle);
  }
  CloseHandle(CreateThread(nullptr, 0, RunDial, dial, 0, nullptr));
  return 0;
}

DWORD WINAPI RasHangUpA(HANDLE connection) {
  const DWORD handle = HandleOf(connection);
  if (DialInProgress(handle, true)) return 0;
  TFileLock lock;
  TState state = Load();
  if (!Find(state, handle)) return kInvalidHandle;
  if (state.HangUpIgnored) return 0;
  std::erase_if(state.Connections, [&](const TConnection& c) { return c.Handle == handle; });
  if (state.HangUpDelay != 0) state.HungUp.push_back({handle, GetTickCount(), state.HangUpDelay});
  Save(state);
  return 0;
}

}  // extern "C"
