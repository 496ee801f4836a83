#include "dialup/dial_up_win32.h"

// Before <ras.h>, which makes RAS_MaxEntryName a macro.
#include "dialup/ras_records.h"

#include <ras.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <deque>
#include <mutex>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/tick_count.h"
#include "ui/application_win32.h"
#include "ui/form_win32.h"

namespace {

// The entry points without their character-set suffix, in the order of
// TEntryTypes.
constexpr const char* kEntryNames[] = {
    "RasDial",           "RasEnumConnections", "RasGetConnectStatus",
    "RasGetErrorString", "RasHangUp",          "RasGetEntryDialParams"};
enum : size_t {
  kDial,
  kEnumConnections,
  kGetConnectStatus,
  kGetErrorString,
  kHangUp,
  kGetEntryDialParams
};
using TEntryTypes = std::tuple<decltype(&RasDialA), decltype(&RasEnumConnectionsA),
                               decltype(&RasGetConnectStatusA), decltype(&RasGetErrorStringA),
                               decltype(&RasHangUpA), decltype(&RasGetEntryDialParamsA)>;

// The records' first forms, which every system accepts: each ends, padded to
// four bytes, where the next form adds its first field.
constexpr DWORD kConnStatusSize = 160;
constexpr DWORD kDialParamsSize = 1052;
static_assert((offsetof(RASCONNSTATUSA, szPhoneNumber) + 3) / 4 * 4 == kConnStatusSize);
static_assert(offsetof(RASDIALPARAMSA, dwSubEntry) == kDialParamsSize);
static_assert(offsetof(RASCONNA, szEntryName) == offsetof(TRasConn, szEntryName));

constexpr size_t kMaxConnections = 100;
constexpr int kErrorInvalidHandle = 6;  // RAS's answer once a line is released
constexpr uint32_t kReleaseWaitMs = 20000;
constexpr DWORD kReleasePollMs = 50;

HRASCONN RasHandle(uint32_t handle) {
  return reinterpret_cast<HRASCONN>(static_cast<uintptr_t>(handle));
}

// The dialler RAS reports to. The notifier gets no context, so only one
// dials at a time; its events wait here, guarded against the RAS thread,
// until the user-interface thread takes them.
struct TEvent {
  uint32_t State;
  int Error;
};

struct TCurrentDial {
  std::mutex Lock;
  const TDialUp* Dialler = nullptr;
  HWND Window = nullptr;
  std::deque<TEvent> Events;
};

TCurrentDial& CurrentDial() {
  static TCurrentDial current;
  return current;
}

// Posted to the application window when an event waits.
UINT DialEventMessage() {
  static const UINT message = RegisterWindowMessageA("TallylineDialUpEvent");
  return message;
}

// Runs on a RAS thread; nothing may be thrown back into it.
VOID WINAPI Notify(UINT, RASCONNSTATE state, DWORD error) noexcept {
  try {
    TCurrentDial& current = CurrentDial();
    std::lock_guard lock(current.Lock);
    if (!current.Dialler) return;
    current.Events.push_back({static_cast<uint32_t>(state), static_cast<int>(error)});
    PostMessageA(current.Window, DialEventMessage(), 0, 0);
  } catch (...) {
    // Out of memory: the event is lost rather than RAS's thread.
  }
}
static_assert(std::is_convertible_v<decltype(&Notify), RASDIALFUNC>);

// Makes dialler the one reported to, with nothing pending, or no one.
void SetCurrentDialler(const TDialUp* dialler, HWND window) {
  TCurrentDial& current = CurrentDial();
  std::lock_guard lock(current.Lock);
  current.Dialler = dialler;
  current.Window = window;
  current.Events.clear();
}

std::optional<TEvent> NextEvent(const TDialUp* dialler) {
  TCurrentDial& current = CurrentDial();
  std::lock_guard lock(current.Lock);
  if (current.Dialler != dialler || current.Events.empty()) return std::nullopt;
  const TEvent event = current.Events.front();
  current.Events.pop_front();
  return event;
}

}  // namespace

TDialUp::TDialUp(std::string library)
    : FLibraryName(std::move(library)), FWindow(TApplication::Instance().Handle()) {
  FHook = TApplication::Instance().HookMessages([this](UINT msg, WPARAM, LPARAM, LRESULT&) {
    // Every dialler sees the message; only the current one has events.
    if (msg == DialEventMessage()) Deliver();
    return false;
  });
}

TDialUp::~TDialUp() {
  TApplication::Instance().UnhookMessages(FHook);
  {
    TCurrentDial& current = CurrentDial();
    std::lock_guard lock(current.Lock);
    if (current.Dialler == this) {
      current.Dialler = nullptr;
      current.Events.clear();
    }
  }
  if (FLibrary) FreeLibrary(FLibrary);
}

void TDialUp::Bind() {
  static_assert(std::size(kEntryNames) == kEntryCount);
  static_assert(std::tuple_size_v<TEntryTypes> == kEntryCount);
  if (FBound) return;
  FBound = true;
  // The first systems' RAS names its entry points without the suffix.
  bool ansi = true;
  FLibrary = LoadLibraryA(FLibraryName.c_str());
  if (!FLibrary) {
    FLibrary = LoadLibraryA("rnaph.dll");
    ansi = false;
  }
  if (!FLibrary) return;
  for (size_t i = 0; i < kEntryCount; ++i) {
    const std::string name = kEntryNames[i];
    FEntries[i] = ansi ? GetProcAddress(FLibrary, (name + "A").c_str()) : nullptr;
    if (!FEntries[i]) FEntries[i] = GetProcAddress(FLibrary, name.c_str());
  }
}

template <size_t entry, typename... TArgs>
int TDialUp::Call(TArgs... args) {
  Bind();
  using TFunction = std::tuple_element_t<entry, TEntryTypes>;
  const auto function = reinterpret_cast<TFunction>(reinterpret_cast<void*>(FEntries[entry]));
  return function ? static_cast<int>(function(args...)) : -1;
}

std::string TDialUp::ErrorText(int error) {
  char text[100] = {};
  if (Call<kGetErrorString>(static_cast<UINT>(error), text, DWORD{sizeof text}) != 0) return {};
  return std::string(text, strnlen(text, sizeof text));
}

int TDialUp::ConnectState(uint32_t handle, uint32_t& state) {
  RASCONNSTATUSA status{};
  status.dwSize = kConnStatusSize;
  const int result = Call<kGetConnectStatus>(RasHandle(handle), &status);
  state = status.rasconnstate;
  return result;
}

std::optional<std::vector<TActiveConnection>> TDialUp::ListConnections() {
  std::vector<TRasConn> records(kMaxConnections);
  records[0].dwSize = sizeof(TRasConn);
  DWORD size = sizeof(TRasConn) * kMaxConnections, count = 0;
  const int result =
      Call<kEnumConnections>(reinterpret_cast<RASCONNA*>(records.data()), &size, &count);
  if (result == -1) return std::nullopt;
  std::vector<TActiveConnection> connections;
  if (result != 0) return connections;
  records.resize(std::min<size_t>(count, kMaxConnections));
  for (const TRasConn& record : records) {
    // A connection that ended since the enumeration has no state.
    uint32_t state = 0;
    if (ConnectState(record.hrasconn, state) == 0)
      connections.push_back({record.hrasconn, state, record.szEntryName});
  }
  return connections;
}

int TDialUp::Dial(const std::string& entry) {
  HangUpCurrent();
  RASDIALPARAMSA params{};
  params.dwSize = kDialParamsSize;
  lstrcpynA(params.szEntryName, entry.c_str(), sizeof params.szEntryName);
  BOOL hasPassword = FALSE;
  if (const int error = Call<kGetEntryDialParams>(nullptr, &params, &hasPassword)) {
    Report(error, "GetEntryDialParams failed");
    return error;
  }
  Guarded(FWindow, [&] {
    if (OnDialing) OnDialing();
    return 0;
  });
  // Events of an earlier dial that are still waiting belong to no one now.
  SetCurrentDialler(this, FWindow);
  HRASCONN handle = nullptr;
  const int result =
      Call<kDial>(nullptr, nullptr, &params, DWORD{0}, reinterpret_cast<void*>(&Notify), &handle);
  FConnHandle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
  if (result != 0) Report(result, ErrorText(result));
  return result;
}

// The last dial's line is not this dialler's to hang up again once it was
// hung up: RAS may hand its handle to another line later. A line that was
// waited for in vain is not waited for again.
int TDialUp::HangUp(uint32_t handle) {
  if (handle == FConnHandle) FConnHandle = 0;
  const int result = Call<kHangUp>(RasHandle(handle));
  if (result == 0 && !FUnreleased.contains(handle) && !WaitForRelease(handle))
    FUnreleased.insert(handle);
  return result;
}

int TDialUp::HangUpCurrent() {
  return FConnHandle ? HangUp(FConnHandle) : 0;
}

// RAS releases the line some time after the hang-up, and a dial before then
// can fail. Between polls the thread sleeps and then runs its messages, so
// the windows stay alive; a plain sleep, as a quit request left in the queue
// would end every wait for messages at once.
bool TDialUp::WaitForRelease(uint32_t handle) {
  const uint32_t start = TickCount();
  uint32_t state;
  while (ConnectState(handle, state) != kErrorInvalidHandle) {
    if (TickCount() - start >= kReleaseWaitMs) return false;
    Sleep(kReleasePollMs);
    TApplication::Instance().ProcessMessages();
  }
  return true;
}

// Events are handed on one at a time: a handler that runs the message loop
// (a message box, a hang-up) does not get the next one until it returns;
// this loop does.
void TDialUp::Deliver() {
  if (FDelivering) return;
  FDelivering = true;
  while (const std::optional<TEvent> event = NextEvent(this)) {
    // A line that is up is no longer the dial's: a later dial must not hang
    // it up by a handle that RAS may since have given to another line.
    if (event->State == kRasConnected && event->Error == 0) FConnHandle = 0;
    Guarded(FWindow, [&] {
      const std::string text =
          event->Error != 0 ? ErrorText(event->Error) : RasStateText(event->State);
      if (OnAsyncEvent) OnAsyncEvent(event->State, event->Error, text);
      return 0;
    });
  }
  FDelivering = false;
}

void TDialUp::Report(int error, const std::string& text) {
  Guarded(FWindow, [&] {
    if (OnError) OnError(error, text);
    return 0;
  });
}
