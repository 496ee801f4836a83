#include "controls/vexa_meter_win32.h"

#include <windowsx.h>

#include <vector>

#include "ui/dpi_win32.h"

namespace {

constexpr UINT_PTR kHintTimer = 1;
constexpr UINT kHintDelayMs = 500;
constexpr int kHintBelowMouse = 6;

std::vector<TRect> RegionRects(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<char> data(size);
  auto* header = reinterpret_cast<RGNDATA*>(data.data());
  if (size == 0 || !GetRegionData(region, size, header)) return {};
  const auto* rects = reinterpret_cast<const RECT*>(header->Buffer);
  std::vector<TRect> result;
  for (DWORD i = 0; i < header->rdh.nCount; ++i)
    result.push_back({rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
  return result;
}

// What of region lies outside all of parts.
TGdiObject<HRGN> Outside(HRGN region, const std::vector<TRect>& parts) {
  TGdiObject<HRGN> rest(RegionOf(parts));
  CombineRgn(rest.Get(), region, rest.Get(), RGN_DIFF);
  return rest;
}

}  // namespace

TVexaMeter::TVexaMeter(const TVexaMeterArgs& args)
    : TMeterModel(args.System), FFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))) {
  FMain.SetFont(FFont);
  TFormArgs form;
  form.ClassName = "TVexaMeter";
  form.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  form.Owner = args.Parent;
  form.Left = args.Left;
  form.Top = args.Top;
  form.Width = args.Width;
  form.Height = args.Height;
  CreateForm(form);
}

// Destroyed here rather than by the base, so that WM_DESTROY still reaches
// this class and takes the timer and the hint window with it.
TVexaMeter::~TVexaMeter() {
  if (Handle()) DestroyWindow(Handle());
}

void TVexaMeter::SetFont(HFONT font) {
  FFont = font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  FMain.SetFont(FFont);
  FRenderer.Reset();
  Repaint();
}

// The paint that follows at once shows what was just rendered.
void TVexaMeter::Repaint() {
  if (!Handle()) return;
  Render();
  FRendered = true;
  UpdateWindow(Handle());
  FRendered = false;
}

void TVexaMeter::Render() {
  RECT client;
  GetClientRect(Handle(), &client);
  std::optional<TMeterRenderer::TResult> result =
      FRenderer.Paint(*this, FMain, FSuper, client.right, client.bottom);
  FDrawn = result.has_value();
  FFresh.clear();
  if (!result) return;
  SetLayout(result->Layout);
  FFresh = result->Changed;
  // The window's picture scrolls as the renderer says, so that only the
  // parts that changed besides are copied to it. Parts still waiting for a
  // paint move along, as the system offsets them with the scroll; the paint
  // finds them outside the fresh parts and paints them again.
  if (result->Scroll) {
    const TRect& a = result->Scroll->Area;
    const RECT area{a.Left, a.Top, a.Right, a.Bottom};
    ScrollWindowEx(Handle(), -result->Scroll->Distance, 0, &area, &area, nullptr, nullptr,
                   SW_INVALIDATE);
  }
  // One request to the system for all parts, not one for each.
  InvalidateRgn(Handle(), RegionOf(result->Changed).Get(), FALSE);
}

LRESULT TVexaMeter::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: WMPaint(); return 0;
    case WM_SIZE:
      InvalidateRect(Handle(), nullptr, FALSE);  // the layout hangs on the right edge
      return 0;
    case WM_SETFONT: SetFont(reinterpret_cast<HFONT>(wParam)); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(FFont);
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT) break;
      SetCursor(LoadCursorA(nullptr, FCrossHair ? IDC_CROSS : IDC_ARROW));
      return TRUE;
    case WM_MOUSEMOVE: WMMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_MOUSELEAVE: WMMouseLeave(); return 0;
    case WM_TIMER:
      if (wParam == kHintTimer) ShowHint();
      return 0;
    case WM_LBUTTONDOWN: ButtonDown(mbLeft, lParam, false); return 0;
    case WM_LBUTTONDBLCLK: ButtonDown(mbLeft, lParam, true); return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: ButtonDown(mbRight, lParam, false); return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: ButtonDown(mbMiddle, lParam, false); return 0;
    case WM_LBUTTONUP: ButtonUp(lParam); return 0;
    case WM_CAPTURECHANGED: FClicking = false; return 0;
    case WM_DESTROY: FreeHint(); return 0;
  }
  return TForm::WndProc(msg, wParam, lParam);
}

// Changes made without a repaint (some properties, the size) show here; what
// they changed joins the area to paint before it is taken. Since the back
// buffer does not scroll, it holds the picture only where the last render
// painted; the rest of the area (another window uncovered it) is painted
// into it first. The copy goes rectangle by rectangle, not over the box
// around them all: after a scroll the parts lie far apart, and the copy
// converts every pixel it is given.
void TVexaMeter::WMPaint() {
  if (!FRendered) Render();
  const TGdiObject<HRGN> update(CreateRectRgn(0, 0, 0, 0));
  GetUpdateRgn(Handle(), update.Get(), FALSE);
  const TPaintDC dc(Handle());
  if (!FDrawn) return;  // too narrow: the window keeps what it showed
  const std::vector<TRect> stale = RegionRects(Outside(update.Get(), FFresh).Get());
  FRenderer.PaintParts(*this, FMain, FSuper, stale);
  FFresh.insert(FFresh.end(), stale.begin(), stale.end());
  for (const TRect& r : RegionRects(update.Get()))
    BitBlt(dc.Get(), r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, FMain.Dc(), r.Left, r.Top,
           SRCCOPY);
}

void TVexaMeter::WMMouseMove(int x, int y) {
  if (!FTracking) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
    FTracking = TrackMouseEvent(&track);
    SetCrossHair(false);  // the mouse has come in
  }
  switch (MouseMove(x, y, FHint != nullptr)) {
    case THintStep::Hide: FreeHint(); break;
    case THintStep::ShowNow: ShowHint(); break;
    case THintStep::StartTimer: SetTimer(Handle(), kHintTimer, kHintDelayMs, nullptr); break;
    case THintStep::None: break;
  }
}

void TVexaMeter::WMMouseLeave() {
  FTracking = false;
  FreeHint();
  MouseLeave();
}

// The hint for the sample last hovered, if the mouse is still over the plot.
// While another window is in front, of this program or another, the timer
// keeps running and nothing shows until this one is in front again.
void TVexaMeter::ShowHint() {
  if (GetForegroundWindow() != GetAncestor(Handle(), GA_ROOT)) return;
  KillTimer(Handle(), kHintTimer);
  POINT mouse;
  GetCursorPos(&mouse);
  POINT client = mouse;
  ScreenToClient(Handle(), &client);
  const std::string text = HintText(client.x, client.y);
  if (text.empty()) {
    FreeHint();
    return;
  }
  if (!FHint) {
    FHint = std::make_unique<THintWindow>(GetAncestor(Handle(), GA_ROOT));
    SetCrossHair(true);
  }
  FHint->ActivateHint({mouse.x, mouse.y + ScaleToDpi(kHintBelowMouse, PixelsPerInch())}, text,
                      FFont, PixelsPerInch());
}

void TVexaMeter::FreeHint() {
  KillTimer(Handle(), kHintTimer);
  FHint.reset();
  SetCrossHair(false);
}

void TVexaMeter::SetCrossHair(bool on) {
  FCrossHair = on;
  if (FTracking) SetCursor(LoadCursorA(nullptr, on ? IDC_CROSS : IDC_ARROW));
}

// A click is a press and a release of the left button inside the control;
// the second press of a double-click reports the double-click, not a click.
void TVexaMeter::ButtonDown(TMouseButton button, LPARAM lParam, bool twice) {
  if (button == mbLeft) {
    SetCapture(Handle());
    FClicking = !twice;
    if (twice && OnDblClick) OnDblClick();
  }
  if (OnMouseDown) OnMouseDown(button, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

void TVexaMeter::ButtonUp(LPARAM lParam) {
  RECT client;
  GetClientRect(Handle(), &client);
  const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const bool click = FClicking && PtInRect(&client, at);
  if (GetCapture() == Handle()) ReleaseCapture();
  FClicking = false;
  if (click && OnClick) OnClick();
}
