#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Colours as the settings store them: 0x00BBGGRR, or a system colour index
// with the top bit set (0x8000000F is the button face).
using TColor = uint32_t;
constexpr TColor kSysColorFlag = 0x80000000;
constexpr TColor clBtnFace = kSysColorFlag | 15;
constexpr TColor clInfoBk = kSysColorFlag | 24;

struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};

// Right and bottom edges are exclusive, as in GDI.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool operator==(const TRect&) const = default;
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  bool IsEmpty() const { return Left >= Right || Top >= Bottom; }
  bool Intersects(const TRect& r) const {
    return !IsEmpty() && !r.IsEmpty() && Left < r.Right && r.Left < Right && Top < r.Bottom &&
           r.Top < Bottom;
  }
  TRect Intersection(const TRect& r) const {
    return {std::max(Left, r.Left), std::max(Top, r.Top), std::min(Right, r.Right),
            std::min(Bottom, r.Bottom)};
  }
  TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  TRect Inflate(int d) const { return {Left - d, Top - d, Right + d, Bottom + d}; }
};

struct TSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const TSize&) const = default;
};

// Direct access to a 24-bit bitmap: top-down rows of blue, green, red bytes,
// each row padded to a multiple of four bytes.
struct TPixels {
  uint8_t* Bits = nullptr;
  int Width = 0;
  int Height = 0;
  int Stride = 0;

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
  uint8_t* At(int x, int y) const { return Bits + static_cast<std::ptrdiff_t>(y) * Stride + x * 3; }
  // The pixel as a colour value 0x00BBGGRR.
  uint32_t Rgb(int x, int y) const {
    const uint8_t* p = At(x, y);
    return p[2] | p[1] << 8 | p[0] << 16;
  }
};

enum class TPenStyle { Solid, Dotted };

// A 24-bit bitmap with the drawing the graph needs besides its own pixel work:
// fills, pen lines, a frame and text in one font. GDI on a DIB section in the
// Windows build; a deterministic stand-in natively.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  // Contents are undefined after a change of size; after every call the
  // view is the whole bitmap again, at origin (0, 0).
  virtual void SetSize(int width, int height) = 0;
  // Drawing from now on lands origin on pixel (0, 0) and changes only what
  // falls inside one of clip's rectangles; both are in drawing coordinates.
  virtual void SetView(const std::vector<TRect>& clip, TPoint origin) = 0;
  // Finishes pending drawing first, so the pixels are current.
  virtual TPixels Pixels() = 0;
  virtual uint32_t ColorToRgb(TColor color) const = 0;

  virtual void FillRect(const TRect& rect, TColor color) = 0;
  // The end point itself is not drawn.
  virtual void Line(TPoint from, TPoint to, TColor color, int width, TPenStyle style) = 0;
  // A one-pixel hollow rectangle inside rect.
  virtual void FrameRect(const TRect& rect, TColor color) = 0;

  virtual TSize TextExtent(const std::string& text) = 0;
  // Transparent background; (x, y) is the top-left corner of the text.
  virtual void WriteText(int x, int y, const std::string& text, TColor color) = 0;
};
