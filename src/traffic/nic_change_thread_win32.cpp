#include "traffic/nic_change_thread_win32.h"

#include <iphlpapi.h>

#include "dialup/ip_ras_access_win32.h"

namespace {

constexpr UINT kCheckIntervalMs = 1000;

using TNotifyAddrChange = DWORD(WINAPI*)(HANDLE* handle, OVERLAPPED* overlapped);
using TCancelIPChangeNotify = BOOL(WINAPI*)(OVERLAPPED* overlapped);

FARPROC IpHelperEntry(const char* name) {
  HMODULE module = LoadLibraryA("iphlpapi.dll");
  return module ? GetProcAddress(module, name) : nullptr;
}

TNotifyAddrChange NotifyAddrChangeEntry() {
  static const auto entry = reinterpret_cast<TNotifyAddrChange>(
      reinterpret_cast<void*>(IpHelperEntry("NotifyAddrChange")));
  return entry;
}

TCancelIPChangeNotify CancelIPChangeNotifyEntry() {
  static const auto entry = reinterpret_cast<TCancelIPChangeNotify>(
      reinterpret_cast<void*>(IpHelperEntry("CancelIPChangeNotify")));
  return entry;
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

TNicChangeThread::TNicChangeThread(HWND window, UINT message)
    : FWindow(window), FMessage(message), FRequest(std::make_unique<TRequest>()) {
  FRequest->Event = TOwnedKernelHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!FRequest->Event.Get()) throw EIpHlpError(SystemErrorText(GetLastError()));
  Request();
  SetTimer(FWindow, TimerId(), kCheckIntervalMs, Check);
}

TNicChangeThread::~TNicChangeThread() {
  KillTimer(FWindow, TimerId());
  TRequest& request = *FRequest;
  if (WaitForSingleObject(request.Event.Get(), 0) == WAIT_OBJECT_0) return;  // not pending
  const TCancelIPChangeNotify cancel = CancelIPChangeNotifyEntry();
  DWORD bytes;
  if (cancel && cancel(&request.Overlapped))
    GetOverlappedResult(request.NotifyHandle, &request.Overlapped, &bytes, TRUE);
  else
    FRequest.release();  // still pending: the system may yet write to it
}

void TNicChangeThread::Request() {
  TRequest& request = *FRequest;
  ResetEvent(request.Event.Get());
  request.Overlapped = {};
  request.Overlapped.hEvent = request.Event.Get();
  const TNotifyAddrChange notify = NotifyAddrChangeEntry();
  const DWORD result =
      notify ? notify(&request.NotifyHandle, &request.Overlapped) : ERROR_NOT_SUPPORTED;
  const std::string error = IpHelperErrorText(result, "NotifyAddrChange");
  if (!error.empty()) throw EIpHlpError(error);
}

// Runs the handler, then asks for the next change. A failed request ends
// the watching (nothing may leave a timer's callback); the sampler checks
// the adapter on every read, so counting goes on.
void CALLBACK TNicChangeThread::Check(HWND window, UINT, UINT_PTR id, DWORD) {
  auto* watcher = reinterpret_cast<TNicChangeThread*>(id);
  if (WaitForSingleObject(watcher->FRequest->Event.Get(), 0) != WAIT_OBJECT_0) return;
  SendMessageA(window, watcher->FMessage, 0, 0);
  try {
    watcher->Request();
  } catch (...) {
    KillTimer(window, id);
  }
}
