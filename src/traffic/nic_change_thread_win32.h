#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "dialup/ip_errors.h"
#include "ui/handle_guards_win32.h"

// An IP Helper function failed.
class EIpHlpError : public EIpBaseException {
 public:
  using EIpBaseException::EIpBaseException;
};

// Watches for the system's address-change notification and then sends the
// window a message, which runs the window's handler (the adapter list
// rebuilt) on the user-interface thread. It has no thread of its own: a
// thread that waited would cost a megabyte of memory under Wine, where a
// timer of the window, looking once a second whether the request completed,
// costs nothing.
class TNicChangeThread {
 public:
  // Requests the first notification and starts the timer. Throws EIpHlpError
  // or the system's error when the request or the event fails.
  TNicChangeThread(HWND window, UINT message);
  // Stops the timer and cancels the request, waiting for the cancelled
  // request to let go of its record.
  ~TNicChangeThread();
  TNicChangeThread(const TNicChangeThread&) = delete;
  TNicChangeThread& operator=(const TNicChangeThread&) = delete;

 private:
  // What the system writes when a request completes, and the event it sets.
  struct TRequest {
    TOwnedKernelHandle Event;
    HANDLE NotifyHandle = nullptr;
    OVERLAPPED Overlapped{};
  };

  static void CALLBACK Check(HWND window, UINT, UINT_PTR id, DWORD);
  void Request();
  // The object's address: no other timer of the window has it.
  UINT_PTR TimerId() const { return reinterpret_cast<UINT_PTR>(this); }

  HWND FWindow;
  UINT FMessage;
  std::unique_ptr<TRequest> FRequest;
};

// The text of an IP Helper result for a function, or empty for success
// (ERROR_IO_PENDING counts as success).
std::string IpHelperErrorText(DWORD result, const char* function);
