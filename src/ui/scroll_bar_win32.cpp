#include "ui/scroll_bar_win32.h"

#include <algorithm>

namespace {

SCROLLINFO Info(UINT mask) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = mask;
  return info;
}

TControlArgs Horizontal(TControlArgs args) {
  args.ClassName = "SCROLLBAR";
  args.Style |= SBS_HORZ | WS_TABSTOP;
  return args;
}

}  // namespace

TScrollBar::TScrollBar(const TControlArgs& args) : TControl(Horizontal(args)) {}

int TScrollBar::Max() const {
  SCROLLINFO info = Info(SIF_RANGE);
  GetScrollInfo(Handle(), SB_CTL, &info);
  return info.nMax;
}

int TScrollBar::Position() const {
  return GetScrollPos(Handle(), SB_CTL);
}

void TScrollBar::SetMax(int max) {
  SCROLLINFO info = Info(SIF_RANGE);
  info.nMax = max;
  SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
}

void TScrollBar::SetPosition(int position) {
  SetScrollPos(Handle(), SB_CTL, std::clamp(position, 0, Max()), TRUE);
}

bool TScrollBar::Notified(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_HSCROLL) return false;
  result = 0;
  const std::optional<int> position = NewPosition(LOWORD(wParam));
  if (!position) return true;
  SetPosition(*position);
  if (OnChange) OnChange();
  return true;
}

// Where a scroll request puts the thumb, before it is kept in the range;
// nothing for the requests that only end a move.
std::optional<int> TScrollBar::NewPosition(int code) const {
  switch (code) {
    case SB_LINELEFT: return Position() - 1;
    case SB_LINERIGHT: return Position() + 1;
    case SB_PAGELEFT: return Position() - LargeChange;
    case SB_PAGERIGHT: return Position() + LargeChange;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info = Info(SIF_TRACKPOS);
      GetScrollInfo(Handle(), SB_CTL, &info);
      return info.nTrackPos;
    }
    case SB_LEFT: return 0;
    case SB_RIGHT: return Max();
  }
  return std::nullopt;
}
