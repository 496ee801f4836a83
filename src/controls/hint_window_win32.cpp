#include "controls/hint_window_win32.h"

#include "ui/canvas.h"
#include "ui/dpi_win32.h"
#include "ui/handle_guards_win32.h"

namespace {

constexpr UINT kTextFlags = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;
// Room around the text at 96 DPI: the border takes one pixel a side, the
// rest is padding left and right.
constexpr int kExtraWidth = 8;
constexpr int kExtraHeight = 2;
constexpr int kPadding = 3;
constexpr int kBorders = 2;

}  // namespace

THintWindow::THintWindow(HWND owner) {
  TFormArgs args;
  args.ClassName = "THintWindow";
  args.Style = WS_POPUP | WS_BORDER;
  args.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  args.Left = args.Top = args.Width = args.Height = 0;
  args.Owner = owner;
  CreateForm(args);
}

void THintWindow::ActivateHint(POINT topLeft, const std::string& text, HFONT font, int dpi) {
  FFont = font;
  FPadding = ScaleToDpi(kPadding, dpi);
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), 0};
  {
    const TWindowDC screen(nullptr);
    const TSelection selected(screen.Get(), font);
    DrawTextA(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r,
              kTextFlags | DT_CALCRECT);
  }
  SetCaption(text);
  // The borders stay one pixel wide.
  SetWindowPos(Handle(), HWND_TOPMOST, topLeft.x, topLeft.y,
               r.right + ScaleToDpi(kExtraWidth - kBorders, dpi) + kBorders,
               r.bottom + ScaleToDpi(kExtraHeight - kBorders, dpi) + kBorders,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT THintWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return TRUE;  // the paint fills everything
    case WM_PAINT: Paint(); return 0;
  }
  return TForm::WndProc(msg, wParam, lParam);
}

void THintWindow::Paint() {
  const TPaintDC dc(Handle());
  RECT r;
  GetClientRect(Handle(), &r);
  const TGdiObject<HBRUSH> background(CreateSolidBrush(GetSysColor(clInfoBk & 0xFF)));
  FillRect(dc.Get(), &r, background.Get());
  const TSelection selected(dc.Get(), FFont);
  SetBkMode(dc.Get(), TRANSPARENT);
  SetTextColor(dc.Get(), GetSysColor(COLOR_INFOTEXT));
  const std::string text = Caption();
  r.left += FPadding;
  DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, kTextFlags);
}
