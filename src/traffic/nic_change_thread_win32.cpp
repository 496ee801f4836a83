#include "traffic/nic_change_thread_win32.h"

#include <iphlpapi.h>

#include "dialup/ip_ras_access_win32.h"

namespace {

// Waiting for a completion is cut into seconds to notice termination.
constexpr DWORD kWaitSlice = 1000;

using TNotifyAddrChange = DWORD(WINAPI*)(HANDLE* handle, OVERLAPPED* overlapped);

TNotifyAddrChange NotifyAddrChangeEntry() {
  HMODULE module = LoadLibraryA("iphlpapi.dll");
  return module ? reinterpret_cast<TNotifyAddrChange>(
                      reinterpret_cast<void*>(GetProcAddress(module, "NotifyAddrChange")))
                : nullptr;
}

}  // namespace

std::string IpHelperErrorText(DWORD result, const char* function) {
  const std::string name = function;
  switch (result) {
    case NO_ERROR:
    case ERROR_IO_PENDING: return std::string();
    case ERROR_NOT_SUPPORTED:
      return "Function " + name + " is not supported by the operating system.";
    case ERROR_INVALID_PARAMETER: return "Function " + name + ". Invalid parameter";
    case ERROR_NO_DATA:
      return "Function " + name + ". No adapter information exists for the local computer.";
    default: return SystemErrorText(result);
  }
}

// What the thread and its owner share; the last one to let go frees it.
struct TNicChangeThread::TShared {
  HWND Window;
  UINT Message;
  TNotifyAddrChange Notify = NotifyAddrChangeEntry();
  HANDLE NotifyHandle = nullptr;
  HANDLE Port = nullptr;
  OVERLAPPED Overlapped{};
  std::atomic<bool> Terminated{false};

  void Request() {
    const DWORD result = Notify ? Notify(&NotifyHandle, &Overlapped) : ERROR_NOT_SUPPORTED;
    const std::string error = IpHelperErrorText(result, "NotifyAddrChange");
    if (!error.empty()) throw EIpHlpError(error);
  }
  ~TShared() {
    if (Port) CloseHandle(Port);
  }
};

TNicChangeThread::TNicChangeThread(HWND window, UINT message)
    : FShared(std::make_shared<TShared>()) {
  FShared->Window = window;
  FShared->Message = message;
  FShared->Request();
  FShared->Port = CreateIoCompletionPort(FShared->NotifyHandle, nullptr, 0, 0);
  if (!FShared->Port) throw EIpHlpError(SystemErrorText(GetLastError()));
  auto* shared = new std::shared_ptr<TShared>(FShared);
  HANDLE thread = CreateThread(nullptr, 0, Run, shared, 0, nullptr);
  if (!thread) {
    delete shared;
    throw EIpHlpError(SystemErrorText(GetLastError()));
  }
  CloseHandle(thread);
}

TNicChangeThread::~TNicChangeThread() {
  FShared->Terminated = true;
}

DWORD WINAPI TNicChangeThread::Run(void* parameter) {
  std::unique_ptr<std::shared_ptr<TShared>> owner(
      static_cast<std::shared_ptr<TShared>*>(parameter));
  TShared& shared = **owner;
  try {
    while (!shared.Terminated) {
      DWORD bytes;
      ULONG_PTR key;
      OVERLAPPED* overlapped;
      if (!GetQueuedCompletionStatus(shared.Port, &bytes, &key, &overlapped, kWaitSlice)) continue;
      if (shared.Terminated) break;
      // Runs the handler on the window's thread and waits for it.
      SendMessageA(shared.Window, shared.Message, 0, 0);
      shared.Request();
    }
  } catch (...) {
    // A failed request ends the watching (nothing may leave the thread); the
    // sampler checks the adapter on every read, so counting goes on.
  }
  return 0;
}
