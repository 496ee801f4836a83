#include "ui/gdi_canvas_win32.h"

#include <new>

TGdiCanvas::TGdiCanvas() {
  SetBkMode(FDc.Get(), TRANSPARENT);  // text and dotted pens leave what is below
}

// Each selection is undone before the next is made, so that the guard always
// puts back what the context held at the start.
void TGdiCanvas::SetFont(HFONT font) {
  FFontSelection = {};
  FFontSelection = TSelection(FDc.Get(), font);
}

void TGdiCanvas::SetSize(int width, int height) {
  SetWindowOrgEx(FDc.Get(), 0, 0, nullptr);
  SelectClipRgn(FDc.Get(), nullptr);
  if (width == FPixels.Width && height == FPixels.Height) return;
  FBitmapSelection = {};
  FBitmap = {};
  FPixels = {};
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  FBitmap =
      TGdiObject<HBITMAP>(CreateDIBSection(FDc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!FBitmap.Get()) throw std::bad_alloc();
  FBitmapSelection = TSelection(FDc.Get(), FBitmap.Get());
  FPixels = {static_cast<uint8_t*>(bits), width, height, (width * 3 + 3) & ~3};
}

TGdiObject<HRGN> RegionOf(const std::vector<TRect>& rects) {
  TGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  for (const TRect& r : rects) {
    const TGdiObject<HRGN> part(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
    CombineRgn(region.Get(), region.Get(), part.Get(), RGN_OR);
  }
  return region;
}

// The clip region is in device coordinates, the origin moves the drawing.
void TGdiCanvas::SetView(const std::vector<TRect>& clip, TPoint origin) {
  SetWindowOrgEx(FDc.Get(), origin.X, origin.Y, nullptr);
  const TGdiObject<HRGN> region(RegionOf(clip));
  OffsetRgn(region.Get(), -origin.X, -origin.Y);
  SelectClipRgn(FDc.Get(), region.Get());  // the context keeps a copy
}

TPixels TGdiCanvas::Pixels() {
  GdiFlush();
  return FPixels;
}

uint32_t TGdiCanvas::ColorToRgb(TColor color) const {
  return color & kSysColorFlag ? GetSysColor(color & 0xFF) : color & 0xFFFFFF;
}

void TGdiCanvas::FillRect(const TRect& rect, TColor color) {
  const TGdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRgb(color)));
  const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  ::FillRect(FDc.Get(), &r, brush.Get());
}

void TGdiCanvas::Line(TPoint from, TPoint to, TColor color, int width, TPenStyle style) {
  const TGdiObject<HPEN> pen(
      CreatePen(style == TPenStyle::Dotted ? PS_DOT : PS_SOLID, width, ColorToRgb(color)));
  const TSelection selected(FDc.Get(), pen.Get());
  MoveToEx(FDc.Get(), from.X, from.Y, nullptr);
  LineTo(FDc.Get(), to.X, to.Y);
}

void TGdiCanvas::FrameRect(const TRect& rect, TColor color) {
  const TGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ColorToRgb(color)));
  const TSelection selectedPen(FDc.Get(), pen.Get());
  const TSelection hollow(FDc.Get(), GetStockObject(NULL_BRUSH));
  Rectangle(FDc.Get(), rect.Left, rect.Top, rect.Right, rect.Bottom);
}

TSize TGdiCanvas::TextExtent(const std::string& text) {
  SIZE size{};
  GetTextExtentPoint32A(FDc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
  return {size.cx, size.cy};
}

void TGdiCanvas::WriteText(int x, int y, const std::string& text, TColor color) {
  SetTextColor(FDc.Get(), ColorToRgb(color));
  ::TextOutA(FDc.Get(), x, y, text.c_str(), static_cast<int>(text.size()));
}
