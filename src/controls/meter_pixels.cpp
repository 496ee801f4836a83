#include "controls/meter_pixels.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "controls/meter_scale.h"

namespace {

constexpr int kOne = 2048;  // 1.0 in the line's fixed point
constexpr int kShift = 11;

TChannels Channels(uint32_t rgb) {
  return {static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
          static_cast<int>(rgb & 0xFF)};
}

// One step of the walk: the near pixel takes the colour with coverage
// 1 - F^2, the far one (a pixel further across) with 1 - (1 - F)^2, where F is
// the fractional position f / 2048. A solid full-weight line puts a pixel of
// plain colour between them.
void Cover(const TSmoothTarget& target, TPoint nearPixel, TPoint across, int f,
           const TChannels& color, double weight) {
  const uint32_t fu = f, w = kOne - f;
  TPoint farPixel{nearPixel.X + across.X, nearPixel.Y + across.Y};
  if (target.Pixels.Contains(nearPixel.X, nearPixel.Y)) {
    const uint8_t* p = target.Pixels.At(nearPixel.X, nearPixel.Y);
    TChannels cand;
    for (int i = 0; i < 3; ++i) {
      const uint32_t c = color[i];
      cand[i] = static_cast<int>(((p[i] * fu * fu + c * fu * w) >> 22) + ((c * w) >> kShift));
    }
    BlendPixel(target, nearPixel.X, nearPixel.Y, cand, true, weight);
  }
  if (weight == 1.0 && target.Solid) {
    BlendPixel(target, farPixel.X, farPixel.Y, color, false, weight);
    farPixel = {farPixel.X + across.X, farPixel.Y + across.Y};
  }
  if (target.Pixels.Contains(farPixel.X, farPixel.Y)) {
    const uint8_t* p = target.Pixels.At(farPixel.X, farPixel.Y);
    TChannels cand;
    for (int i = 0; i < 3; ++i) {
      const uint32_t c = color[i];
      cand[i] = static_cast<int>(((p[i] * w * w + c * fu * w) >> 22) + ((c * fu) >> kShift));
    }
    BlendPixel(target, farPixel.X, farPixel.Y, cand, true, weight);
  }
}

}  // namespace

// Line pixels go down at 60 % over anything, the solid core at full strength
// over the background and the grid and at 40 % over other lines, the area
// fill at its weight (85 % over grid pixels, so the grid shows through less).
void BlendPixel(const TSmoothTarget& target, int x, int y, const TChannels& cand, bool primary,
                double weight) {
  if (!target.Clip.Contains(x, y) || !target.Pixels.Contains(x, y)) return;
  const uint32_t old = target.Pixels.Rgb(x, y);
  double k = weight != 1.0 || old == target.GraphBackground || old == target.Grid ? weight : 0.4;
  if (primary && weight == 1.0) k = 0.6;
  if (old == target.Grid && weight != 1.0) k = 0.85;
  uint8_t* p = target.Pixels.At(x, y);
  for (int i = 0; i < 3; ++i)
    p[i] = static_cast<uint8_t>(
        std::clamp<int64_t>(RoundHalfEven(p[i] + (cand[i] - p[i]) * k), 0, 255));
}

void DrawSmoothLine(const TSmoothTarget& target, TPoint a, TPoint b, double weight, uint32_t rgb) {
  if (target.Pixels.Width <= 0 || target.Pixels.Height <= 0) return;
  if (a.Y >= target.Bottom) a.Y = target.Bottom - 1;
  const TChannels color = Channels(rgb);
  const int dx = std::abs(b.X - a.X), dy = std::abs(b.Y - a.Y);
  if (dx > dy) {
    // Mostly horizontal: left to right, y in fixed point.
    const TPoint from = a.X <= b.X ? a : b, to = a.X <= b.X ? b : a;
    const int gradient = dy * kOne / dx * (to.Y >= from.Y ? 1 : -1);
    // Each step covers its own column only, so the walk starts at the clip.
    const int start = std::max(from.X, target.Clip.Left);
    int yf = from.Y * kOne + (start - from.X) * gradient;
    const int end = std::min({to.X, target.Right - 1, target.Clip.Right - 1});
    for (int x = start; x <= end; ++x, yf += gradient) {
      const int yi = yf >> kShift;
      if (x >= 0 && yi >= 0 && yi <= target.Bottom - 2)
        Cover(target, {x, yi}, {0, 1}, yf - yi * kOne, color, weight);
    }
  } else {
    // Mostly vertical (a single point too): top to bottom, x in fixed point.
    const TPoint from = a.Y <= b.Y ? a : b, to = a.Y <= b.Y ? b : a;
    const int gradient = dy == 0 ? 0 : dx * kOne / dy * (to.X >= from.X ? 1 : -1);
    const int start = std::max(from.Y, target.Clip.Top);
    int xf = from.X * kOne + (start - from.Y) * gradient;
    const int end = std::min({to.Y, target.Bottom - 1, target.Clip.Bottom - 1});
    for (int y = start; y <= end; ++y, xf += gradient) {
      const int xi = xf >> kShift;
      if (y >= 0 && xi >= 0 && xi <= target.Right - 1)
        Cover(target, {xi, y}, {1, 0}, xf - xi * kOne, color, weight);
    }
  }
}

// Whether the first N rows of N pixels from block on hold one colour: the
// first row repeats its first pixel, and the others repeat the first row.
template <int N>
bool Uniform(const uint8_t* block, std::ptrdiff_t stride) {
  if (std::memcmp(block, block + 3, (N - 1) * 3) != 0) return false;
  for (int row = 1; row < N; ++row)
    if (std::memcmp(block + row * stride, block, N * 3) != 0) return false;
  return true;
}

// N, the block's side that counts, is a constant here, so the division by
// the block's area is a cheap one. A block of one colour, as most of the
// plot is, is its mean without the sums. The source's address and stride
// are copied first: the writes of bytes may alias anything, and would have
// the compiler read them again for every pixel.
template <int N>
void BoxFilterOf(const TPixels& source, const TPixels& target, int factor, const TRect& area) {
  const TRect r = area.Intersection({0, 0, target.Width, target.Height});
  const uint8_t* const bits = source.Bits;
  const std::ptrdiff_t stride = source.Stride;
  const int step = factor * 3;  // bytes from one block to the next
  for (int y = r.Top; y < r.Bottom; ++y) {
    uint8_t* out = target.At(r.Left, y);
    const uint8_t* block = bits + (y - area.Top) * factor * stride + (r.Left - area.Left) * step;
    for (int x = r.Left; x < r.Right; ++x, out += 3, block += step) {
      if (Uniform<N>(block, stride)) {
        std::memcpy(out, block, 3);
        continue;
      }
      unsigned sum[3] = {0, 0, 0};
      for (int row = 0; row < N; ++row) {
        const uint8_t* in = block + row * stride;
        for (int i = 0; i < N * 3; i += 3) {
          sum[0] += in[i];
          sum[1] += in[i + 1];
          sum[2] += in[i + 2];
        }
      }
      for (int i = 0; i < 3; ++i) out[i] = static_cast<uint8_t>(sum[i] / (N * N));
    }
  }
}

void BoxFilter(const TPixels& source, const TPixels& target, int factor, const TRect& area) {
  switch (std::min(factor, 4)) {
    case 2: BoxFilterOf<2>(source, target, factor, area); break;
    case 3: BoxFilterOf<3>(source, target, factor, area); break;
    case 4: BoxFilterOf<4>(source, target, factor, area); break;
    default: BoxFilterOf<1>(source, target, factor, area); break;
  }
}

// Bytes behind the picture that its start moves into as it scrolls: hours
// of a live graph before the pixels go back to the buffer's start.
constexpr size_t kScrollRoom = 64 * 1024;

void TPixelBuffer::SetSize(int width, int height) {
  if (width == FPixels.Width && height == FPixels.Height) return;
  const int stride = (std::max(width, 0) * 3 + 3) & ~3;
  FBits.assign(static_cast<size_t>(stride) * std::max(height, 0) + kScrollRoom, 0);
  FPixels = {FBits.data(), std::max(width, 0), std::max(height, 0), stride};
}

void TPixelBuffer::ScrollLeft(int distance) {
  if (FBits.empty()) return;
  const size_t size = static_cast<size_t>(FPixels.Stride) * FPixels.Height;
  size_t start = static_cast<size_t>(FPixels.Bits - FBits.data()) + distance * size_t{3};
  if (start + size > FBits.size()) {
    const size_t kept = start < FBits.size() ? FBits.size() - start : 0;
    std::memmove(FBits.data(), FBits.data() + start, kept);
    start = 0;
  }
  FPixels.Bits = FBits.data() + start;
}

// Rows of a few pixels are copied in place: a call for each would cost more
// than the copy (a time line's part is three pixels wide and as tall as the
// plot).
void CopyPixels(const TPixels& source, const TPixels& target, const std::vector<TRect>& areas) {
  constexpr int kInPlace = 4;  // pixels
  for (const TRect& area : areas) {
    const TRect r = area.Intersection({0, 0, target.Width, target.Height});
    const int bytes = (r.Right - r.Left) * 3;
    for (int y = r.Top; y < r.Bottom && bytes > 0; ++y) {
      uint8_t* to = target.At(r.Left, y);
      const uint8_t* from = source.At(r.Left, y);
      if (bytes > kInPlace * 3)
        std::memcpy(to, from, static_cast<size_t>(bytes));
      else
        for (int i = 0; i < bytes; i += 3) std::memcpy(to + i, from + i, 3);
    }
  }
}
