#pragma once

#include <cstdint>
#include <vector>

#include "ui/canvas.h"

// A canvas with no system behind it, so that layouts and pixels come out the
// same on every machine: every character is a fixed cell, drawn as a small
// hollow box (blanks as nothing); pens are one-pixel Bresenham lines, wide
// pens a square stamped along them, dotted pens every other pixel; system
// colours come from the classic Windows scheme.
class TGlyphCanvas : public TCanvas {
 public:
  static constexpr int kCharWidth = 6;
  static constexpr int kCharHeight = 13;

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
  void Stamp(TPoint at, int size, uint32_t rgb);
  void StraightLine(TPoint from, TPoint to, uint32_t rgb, int size, TPenStyle style);
  void Fill(const TRect& area, uint32_t rgb);
  void FillInside(const TRect& rect, uint32_t rgb);  // in pixels, inside the bitmap
  void Frame(const TRect& rect, uint32_t rgb);

  std::vector<uint8_t> FBits;
  int FWidth = 0;
  int FHeight = 0;
  int FStride = 0;
  std::vector<TRect> FClip;  // in drawing coordinates
  TRect FClipBox;            // around all of it
  TPoint FOrigin;
};
