#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ui/canvas.h"

// The graph's own pixel work on 24-bit bitmaps: its anti-aliased line, the
// blend that lays line pixels over the background, and the box filter that
// shrinks a supersampled picture.

// Channels in pixel order: blue, green, red.
using TChannels = std::array<int, 3>;

struct TSmoothTarget {
  TPixels Pixels;
  int Right = 0;  // the plot's right and bottom edges bound the walk
  int Bottom = 0;
  bool Solid = false;            // full-weight lines get a solid core pixel
  uint32_t GraphBackground = 0;  // 0x00BBGGRR; a line pixel over these two
  uint32_t Grid = 0;             // counts as over an empty plot
  TRect Clip;                    // only pixels inside it change
};

// Lays cand over pixel (x, y) at a strength chosen by weight, by what the
// pixel holds and by whether it is a primary (anti-aliased) line pixel.
// Pixels outside the target's clip are left alone.
void BlendPixel(const TSmoothTarget& target, int x, int y, const TChannels& cand, bool primary,
                double weight);

// A line from a to b of colour rgb (0x00BBGGRR), in 11-bit fixed point: each
// step along the major axis covers two pixels across it, near and far, by
// the fractional position. weight 1.0 draws a series, below 1 an area fill.
void DrawSmoothLine(const TSmoothTarget& target, TPoint a, TPoint b, double weight, uint32_t rgb);

// Each target pixel inside area becomes the truncated mean of the first
// min(factor, 4) squared pixels of its factor x factor block in source,
// which holds area supersampled from its top-left corner on.
void BoxFilter(const TPixels& source, const TPixels& target, int factor, const TRect& area);

// A 24-bit bitmap in plain memory, for pixels no system draws on.
class TPixelBuffer {
 public:
  // Contents are undefined after a change of size.
  void SetSize(int width, int height);
  const TPixels& Pixels() const { return FPixels; }
  // Every pixel moves distance pixels to the left; the rightmost distance
  // columns are undefined. The picture's start mostly just moves on into
  // room kept behind it, so the pixels themselves are seldom copied.
  void ScrollLeft(int distance);

 private:
  std::vector<uint8_t> FBits;
  TPixels FPixels;
};

// Copies the pixels inside areas between two bitmaps of the same size.
void CopyPixels(const TPixels& source, const TPixels& target, const std::vector<TRect>& areas);
