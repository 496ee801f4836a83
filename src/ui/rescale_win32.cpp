#include "ui/rescale_win32.h"

#include <vector>

#include "ui/control_win32.h"

namespace {

struct TChildPlace {
  HWND Window;
  RECT Bounds;  // in its parent's client coordinates
};

BOOL CALLBACK AddPlace(HWND child, LPARAM places) {
  reinterpret_cast<std::vector<TChildPlace>*>(places)->push_back({child, BoundsInParent(child)});
  return TRUE;
}

}  // namespace

void RescaleChildren(HWND parent, int fromDpi, int toDpi, HFONT oldFont, HFONT newFont) {
  // Every place is read before any moves: a control that lays out windows
  // beside it (a list under its header) does so once all are in place.
  std::vector<TChildPlace> children;
  EnumChildWindows(parent, AddPlace, reinterpret_cast<LPARAM>(&children));
  const auto scale = [&](LONG value) { return MulDiv(value, toDpi, fromDpi); };
  for (const TChildPlace& child : children) {
    const RECT& r = child.Bounds;
    const int left = scale(r.left), top = scale(r.top);
    SetWindowPos(child.Window, nullptr, left, top, scale(r.right) - left, scale(r.bottom) - top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (reinterpret_cast<HFONT>(SendMessageA(child.Window, WM_GETFONT, 0, 0)) == oldFont)
      SendMessageA(child.Window, WM_SETFONT, reinterpret_cast<WPARAM>(newFont), TRUE);
  }
  for (const TChildPlace& child : children)
    if (TControl* control = TControl::FromHandle(child.Window)) control->DpiChanged(fromDpi, toDpi);
}
