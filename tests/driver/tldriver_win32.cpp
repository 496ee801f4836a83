// tldriver: drives real windows from scripts.
//
//   tldriver wait TITLE [TIMEOUT_MS]        waits for a visible window, prints its handle
//   tldriver find TITLE [CLASS]             prints the handles of all matching windows
//   tldriver text HANDLE                    prints a window's text and its dialog texts
//   tldriver press TITLE BUTTON [TIMEOUT [CLASS]]
//                                           waits for a dialog (of the class, a message
//                                           box's by default) and clicks one of its buttons
//   tldriver choose HANDLE TEXT             selects the list row that holds TEXT
//   tldriver post HANDLE MSG [WPARAM [LPARAM]]
//   tldriver close TITLE                    asks the window to close (WM_CLOSE)
//   tldriver key HANDLE VK                  presses a key (virtual-key code) in a window
//   tldriver child HANDLE CLASS             prints the handle of a child window
//   tldriver shot TITLE|desktop FILE.bmp    saves a screenshot
//
// Handles are decimal numbers. Exit status 0 on success, 1 when a window was
// not found or the action failed, 2 on a usage error.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver/window_driver_win32.h"

namespace {

constexpr DWORD kDefaultTimeout = 10000;

HWND ParseHandle(const char* text) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text, nullptr, 10)));
}

DWORD Timeout(int argc, char** argv, int index) {
  return argc > index ? static_cast<DWORD>(std::strtoul(argv[index], nullptr, 10))
                      : kDefaultTimeout;
}

int Usage() {
  std::fputs("usage: tldriver wait|find|text|press|choose|post|close|key|child|shot ...\n", stderr);
  return 2;
}

int Run(int argc, char** argv) {
  const std::string command = argv[1];
  if (command == "wait" && argc >= 3) {
    HWND window = WaitForWindow({argv[2], "", 0}, Timeout(argc, argv, 3));
    if (!window) return 1;
    std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
    return 0;
  }
  if (command == "find" && argc >= 3) {
    const auto windows = FindTopWindows({argv[2], argc > 3 ? argv[3] : "", 0});
    for (HWND window : windows)
      std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
    return windows.empty() ? 1 : 0;
  }
  if (command == "text" && argc >= 3) {
    HWND window = ParseHandle(argv[2]);
    if (!IsWindow(window)) return 1;
    std::printf("%s\n", WindowText(window).c_str());
    const std::string body = DialogText(window);
    if (!body.empty()) std::printf("%s\n", body.c_str());
    return 0;
  }
  if (command == "press" && argc >= 4) {
    HWND dialog =
        WaitForWindow({argv[2], argc > 5 ? argv[5] : "#32770", 0}, Timeout(argc, argv, 4));
    return dialog && PressButton(dialog, argv[3]) ? 0 : 1;
  }
  if (command == "post" && argc >= 4) {
    const WPARAM wParam = argc > 4 ? std::strtoul(argv[4], nullptr, 10) : 0;
    const LPARAM lParam = argc > 5 ? std::strtol(argv[5], nullptr, 10) : 0;
    return PostMessageA(ParseHandle(argv[2]), std::strtoul(argv[3], nullptr, 10), wParam, lParam)
               ? 0
               : 1;
  }
  if (command == "close" && argc >= 3) {
    HWND window = WaitForWindow({argv[2], "", 0}, kDefaultTimeout);
    return window && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  if (command == "choose" && argc >= 4)
    return ChooseListItem(ParseHandle(argv[2]), argv[3]) ? 0 : 1;
  if (command == "key" && argc >= 4)
    return PressKey(ParseHandle(argv[2]), std::strtoul(argv[3], nullptr, 0)) ? 0 : 1;
  if (command == "child" && argc >= 4) {
    HWND child = FindChild(ParseHandle(argv[2]), argv[3]);
    if (!child) return 1;
    std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(child)));
    return 0;
  }
  if (command == "shot" && argc >= 4) {
    const std::string target = argv[2];
    HWND window = nullptr;
    if (target != "desktop") {
      window = WaitForWindow({target, "", 0}, kDefaultTimeout);
      if (!window) return 1;
    }
    return SaveScreenshot(window, argv[3]) ? 0 : 1;
  }
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  return Run(argc, argv);
}
