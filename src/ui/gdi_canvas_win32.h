#pragma once

#include <windows.h>

#include "ui/canvas.h"
#include "ui/handle_guards_win32.h"

// The union of rects, as a region.
TGdiObject<HRGN> RegionOf(const std::vector<TRect>& rects);

// A canvas on a 24-bit top-down DIB section in a memory device context: GDI
// draws the pens and text, the pixels are open to direct work, and the
// context is ready as the source of the copy to the window.
class TGdiCanvas : public TCanvas {
 public:
  TGdiCanvas();

  HDC Dc() const { return FDc.Get(); }
  // The font stays the caller's; it must outlive its use here.
  void SetFont(HFONT font);

  void SetSize(int width, int height) override;
  void SetView(const std::vector<TRect>& clip, TPoint origin) override;
  TPixels Pixels() override;
  uint32_t ColorToRgb(TColor color) const override;

  void FillRect(const TRect& rect, TColor color) override;
  void Line(TPoint from, TPoint to, TColor color, int width, TPenStyle style) override;
  void FrameRect(const TRect& rect, TColor color) override;

  TSize TextExtent(const std::string& text) override;
  void WriteText(int x, int y, const std::string& text, TColor color) override;

 private:
  // Declared in the order of release, last first.
  TMemoryDC FDc;
  TGdiObject<HBITMAP> FBitmap;
  TSelection FBitmapSelection;
  TSelection FFontSelection;
  TPixels FPixels;
};
