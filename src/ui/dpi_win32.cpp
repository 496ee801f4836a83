#include "ui/dpi_win32.h"

#include <vector>

#include "ui/control_win32.h"
#include "ui/handle_guards_win32.h"

namespace {

// A function of user32 that older systems lack, or nullptr.
template <class TFunction>
TFunction UserFunction(const char* name) {
  return reinterpret_cast<TFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using TSystemParametersInfoForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

// The DPI of the whole screen: the only one a system without per-monitor
// DPI has.
int ScreenDpi() {
  const TWindowDC screen(nullptr);
  return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

struct TChildPlace {
  HWND Window;
  RECT Bounds;  // in its parent's client coordinates
};

BOOL CALLBACK AddPlace(HWND child, LPARAM places) {
  reinterpret_cast<std::vector<TChildPlace>*>(places)->push_back({child, BoundsInParent(child)});
  return TRUE;
}

}  // namespace

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = UserFunction<TGetDpiForWindow>("GetDpiForWindow");
  const int dpi = getDpiForWindow && window ? static_cast<int>(getDpiForWindow(window)) : 0;
  return dpi > 0 ? dpi : ScreenDpi();
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto forDpi = UserFunction<TGetSystemMetricsForDpi>("GetSystemMetricsForDpi");
  return forDpi ? forDpi(index, dpi) : MulDiv(GetSystemMetrics(index), dpi, ScreenDpi());
}

void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  static const auto forDpi = UserFunction<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
  if (!forDpi || !forDpi(&rect, style, FALSE, exStyle, dpi))
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

void MoveToRect(HWND window, const RECT& rect) {
  SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT CreateMessageFont(int dpi) {
  static const auto forDpi =
      UserFunction<TSystemParametersInfoForDpi>("SystemParametersInfoForDpi");
  if (forDpi) {
    // The systems that have it want the structure with its last field,
    // which the headers for older ones leave out.
    struct {
      NONCLIENTMETRICSW Metrics;
      int PaddedBorderWidth;
    } wide{};
    wide.Metrics.cbSize = sizeof wide;
    if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof wide, &wide, 0, dpi))
      return CreateFontIndirectW(&wide.Metrics.lfMessageFont);
  }
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, ScreenDpi());
  return CreateFontIndirectA(&metrics.lfMessageFont);
}

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
