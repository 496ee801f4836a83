// The smallest Win32 program with a window: one plain window and a message
// loop. bench/footprint.sh and bench/startup.sh run it beside tallyline.exe
// as what any windowed program costs under the same Wine. Started with
// "tray", it also has the least a tray meter's window must: the system's
// status bar (the common controls, version 6 as its manifest asks) and an
// icon in the tray (the shell).
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

namespace {

LRESULT CALLBACK WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

// Both libraries loaded by name, so that the plain window loads neither.
template <class TFunction>
TFunction* Bound(const char* library, const char* name) {
  return reinterpret_cast<TFunction*>(
      reinterpret_cast<void*>(GetProcAddress(LoadLibraryA(library), name)));
}

void AddBarAndIcon(HWND window) {
  const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
  if (const auto init =
          Bound<BOOL WINAPI(const INITCOMMONCONTROLSEX*)>("comctl32.dll", "InitCommonControlsEx"))
    init(&classes);
  CreateWindowExA(0, STATUSCLASSNAMEA, "Ready", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                  window, nullptr, nullptr, nullptr);
  NOTIFYICONDATAA icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uFlags = NIF_ICON | NIF_TIP;
  icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  std::strcpy(icon.szTip, "Empty window");
  if (const auto notify =
          Bound<BOOL WINAPI(DWORD, NOTIFYICONDATAA*)>("shell32.dll", "Shell_NotifyIconA"))
    notify(NIM_ADD, &icon);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  const bool tray = std::strcmp(commandLine, "tray") == 0;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WndProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "EmptyWindow";
  RegisterClassA(&windowClass);
  // Beside the program's window as the bench scripts place it.
  HWND window = CreateWindowA(
      "EmptyWindow", tray ? "Empty window with status bar and tray icon" : "Empty window",
      WS_OVERLAPPEDWINDOW, 700, tray ? 400 : 100, 584, 282, nullptr, nullptr, instance, nullptr);
  if (tray) AddBarAndIcon(window);
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
