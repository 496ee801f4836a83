#pragma once

#include <windows.h>

// The program is aware of each monitor's DPI (its manifest says so): every
// size is designed at 96 DPI and scaled to the DPI of the window it is in.
// The functions that know a window's DPI are bound at run time; a system
// without them has one DPI, the screen's.

constexpr int kDesignDpi = 96;
// Sent when a window moves to a monitor of another DPI: the new DPI in
// wParam, the suggested window rectangle at lParam.
constexpr UINT kWmDpiChanged = 0x02E0;

int WindowDpi(HWND window);
// A length designed at 96 DPI, at dpi.
inline int ScaleToDpi(int value, int dpi) {
  return MulDiv(value, dpi, kDesignDpi);
}
int SystemMetricForDpi(int index, int dpi);
// The window rectangle around a client rectangle, with the frame at dpi.
void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);
// Places a window at a rectangle (the one a DPI change suggests), as it
// stands in the z-order and without activating it.
void MoveToRect(HWND window, const RECT& rect);
// The font of message boxes and dialogs, at dpi.
HFONT CreateMessageFont(int dpi);
