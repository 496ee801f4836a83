// The smallest Win32 program with a window: one plain window and a message
// loop. bench/footprint.sh and bench/startup.sh run it beside tallyline.exe
// as what any windowed program costs under the same Wine. Started with
// "controls", it also loads the common controls (version 6, as its manifest
// asks), as every program with a status bar or a list view does.
#include <windows.h>

#include <commctrl.h>

#include <cstring>

namespace {

LRESULT CALLBACK WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  const bool controls = std::strcmp(commandLine, "controls") == 0;
  if (controls) {
    using TInit = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = reinterpret_cast<TInit>(reinterpret_cast<void*>(
        GetProcAddress(LoadLibraryA("comctl32.dll"), "InitCommonControlsEx")));
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    if (init) init(&classes);
  }
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WndProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "EmptyWindow";
  RegisterClassA(&windowClass);
  // Beside the program's window as the bench scripts place it.
  HWND window =
      CreateWindowA("EmptyWindow", controls ? "Empty window with common controls" : "Empty window",
                    WS_OVERLAPPEDWINDOW, 700, controls ? 400 : 100, 584, 282, nullptr, nullptr,
                    instance, nullptr);
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
