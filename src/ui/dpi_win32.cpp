#include "ui/dpi_win32.h"

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
