#pragma once

#include <windows.h>

#include "ui/form_win32.h"

// A plain top-level window to hold controls in the tests, shown at once.
class TTestForm : public TForm {
 public:
  TTestForm(const char* className, const char* caption, RECT bounds, HWND owner = nullptr) {
    TFormArgs args;
    args.ClassName = className;
    args.Caption = caption;
    args.Left = bounds.left;
    args.Top = bounds.top;
    args.Width = bounds.right - bounds.left;
    args.Height = bounds.bottom - bounds.top;
    args.Owner = owner;
    CreateForm(args);
    ShowWindow(Handle(), SW_SHOW);
  }
};

// Runs the messages of this thread, for at least ms milliseconds. The quit
// request a destroyed main window leaves is dropped: the tests run no loop
// of their own that it could end, and it would end the next message box.
inline void PumpMessages(DWORD ms = 0) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (GetTickCount() - start >= ms) return;
    Sleep(1);
  }
}

// A click through the system's input queue: like a user's, it never reaches
// a disabled window. The pointer settles first: X reports the move late, and
// a move while the button is down would drag the selection along.
inline void ClickAt(HWND window, POINT point) {
  ClientToScreen(window, &point);
  SetCursorPos(point.x, point.y);
  PumpMessages(100);
  INPUT input[2]{};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
  PumpMessages(100);
}
