#include "ui/scroll_bar_win32.h"

#include <algorithm>

namespace {

SCROLLINFO Info(UINT mask) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = mask;
  return info;
}

}  // namespace

TScrollState GetScrollState(HWND bar) {
  SCROLLINFO info = Info(SIF_ALL);
  GetScrollInfo(bar, SB_CTL, &info);
  return {info.nMax, info.nPos, info.nTrackPos};
}

void SetScrollMax(HWND bar, int max) {
  SCROLLINFO info = Info(SIF_RANGE);
  info.nMax = max;
  SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

void SetScrollPosition(HWND bar, int position) {
  SCROLLINFO info = Info(SIF_POS);
  info.nPos = std::clamp(position, 0, GetScrollState(bar).Max);
  SetScrollInfo(bar, SB_CTL, &info, TRUE);
}
