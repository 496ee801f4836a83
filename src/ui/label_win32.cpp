#include "ui/label_win32.h"

TLabel::TLabel(const TControlArgs& args) : TControl(args) {}

void TLabel::SetColors(COLORREF text, COLORREF background) {
  if (!FBrush.Get() || background != FBackground) FBrush.Reset(CreateSolidBrush(background));
  FTextColor = text;
  FBackground = background;
  InvalidateRect(Handle(), nullptr, TRUE);
}

bool TLabel::Notified(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_CTLCOLORSTATIC || !FTextColor) return false;
  const auto dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, *FTextColor);
  SetBkColor(dc, FBackground);
  result = reinterpret_cast<LRESULT>(FBrush.Get());
  return true;
}
