#include "ui/force_foreground_win32.h"

namespace {

// Windows 98, ME and 2000 on refuse SetForegroundWindow from a background
// process; older systems grant it.
bool HasForegroundLock() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return false;
  if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) return version.dwMajorVersion > 4;
  return version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS &&
         (version.dwMajorVersion > 4 ||
          (version.dwMajorVersion == 4 && version.dwMinorVersion > 0));
}

bool BringToFront(HWND window) {
  BringWindowToTop(window);
  SetForegroundWindow(window);
  return GetForegroundWindow() == window;
}

}  // namespace

bool ForceForegroundWindow(HWND window, bool restore) {
  if (restore && IsIconic(window)) ShowWindow(window, SW_RESTORE);
  if (GetForegroundWindow() == window) return true;
  if (!HasForegroundLock()) return BringToFront(window);

  // Borrow the foreground thread's input state, which carries the right to
  // take the foreground.
  const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
  bool done = false;
  if (AttachThreadInput(windowThread, foregroundThread, TRUE)) {
    done = BringToFront(window);
    AttachThreadInput(windowThread, foregroundThread, FALSE);
  }
  if (!done) {
    // Lift the lock time-out for the two calls and put it back at once.
    DWORD timeout = 0;
    SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
    BringWindowToTop(window);
    SetForegroundWindow(window);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<PVOID>(static_cast<uintptr_t>(timeout)),
                          SPIF_SENDCHANGE);
  }
  return GetForegroundWindow() == window;
}
