#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "dialup/ip_errors.h"

// An IP Helper function failed.
class EIpHlpError : public EIpBaseException {
 public:
  using EIpBaseException::EIpBaseException;
};

// Waits in the background for the system's address-change notification and
// then sends the window a message, which runs the window's handler (the
// adapter list rebuilt) on the user-interface thread while the watcher waits.
class TNicChangeThread {
 public:
  // Requests the first notification and starts the thread. Throws EIpHlpError
  // or the system's error when the request or the completion port fails.
  TNicChangeThread(HWND window, UINT message);
  // Asks the thread to end; it notices within a second and frees what it
  // holds itself, so this never waits for it.
  ~TNicChangeThread();
  TNicChangeThread(const TNicChangeThread&) = delete;
  TNicChangeThread& operator=(const TNicChangeThread&) = delete;

 private:
  struct TShared;
  static DWORD WINAPI Run(void* shared);
  std::shared_ptr<TShared> FShared;
};

// The text of an IP Helper result for a function, or empty for success
// (ERROR_IO_PENDING counts as success).
std::string IpHelperErrorText(DWORD result, const char* function);
