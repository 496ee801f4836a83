#pragma once

#include <windows.h>

// Moves and sizes every window below parent from one DPI to another, in
// proportion; those in oldFont get newFont, and each TControl among them
// then scales what else it holds.
void RescaleChildren(HWND parent, int fromDpi, int toDpi, HFONT oldFont, HFONT newFont);
