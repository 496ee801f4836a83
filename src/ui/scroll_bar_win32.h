#pragma once

#include <windows.h>

// A scroll bar control from 0 to its maximum.
struct TScrollState {
  int Max = 0;
  int Position = 0;
  int TrackPosition = 0;  // where the thumb is being dragged
};

TScrollState GetScrollState(HWND bar);
void SetScrollMax(HWND bar, int max);
void SetScrollPosition(HWND bar, int position);  // kept within 0 and the maximum
