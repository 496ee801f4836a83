#include "ui/glyph_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// GetSysColor of the classic Windows scheme, by index; 0x00BBGGRR.
constexpr uint32_t kClassicSysColors[] = {
    0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
    0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
    0xE1FFFF, 0x000000, 0x800000, 0xF0CAA6, 0xC0C0C0, 0x6A240A, 0xC8D0D4};

}  // namespace

void TGlyphCanvas::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  FClip = {{0, 0, width, height}};
  FClipBox = FClip.front();
  FOrigin = {};
  if (width == FWidth && height == FHeight) return;
  FWidth = width;
  FHeight = height;
  FStride = (width * 3 + 3) & ~3;
  FBits.assign(static_cast<size_t>(FStride) * height, 0);
}

void TGlyphCanvas::SetView(const std::vector<TRect>& clip, TPoint origin) {
  FClip = clip;
  FClipBox = {};
  for (const TRect& r : clip)
    FClipBox = FClipBox.IsEmpty()
                   ? r
                   : TRect{std::min(FClipBox.Left, r.Left), std::min(FClipBox.Top, r.Top),
                           std::max(FClipBox.Right, r.Right), std::max(FClipBox.Bottom, r.Bottom)};
  FOrigin = origin;
}

TPixels TGlyphCanvas::Pixels() {
  return {FBits.data(), FWidth, FHeight, FStride};
}

uint32_t TGlyphCanvas::ColorToRgb(TColor color) const {
  if (!(color & kSysColorFlag)) return color & 0xFFFFFF;
  const uint32_t index = color & 0xFF;
  return index < std::size(kClassicSysColors) ? kClassicSysColors[index] : 0;
}

void TGlyphCanvas::FillRect(const TRect& rect, TColor color) {
  Fill(rect, ColorToRgb(color));
}

// Inside each clip rectangle, one row is filled pixel by pixel, the others
// copied from it.
void TGlyphCanvas::Fill(const TRect& area, uint32_t rgb) {
  for (const TRect& clip : FClip) {
    const TRect rect = area.Intersection(clip)
                           .Offset(-FOrigin.X, -FOrigin.Y)
                           .Intersection({0, 0, FWidth, FHeight});
    if (!rect.IsEmpty()) FillInside(rect, rgb);
  }
}

void TGlyphCanvas::FillInside(const TRect& rect, uint32_t rgb) {
  TPixels pixels = Pixels();
  uint8_t* first = pixels.At(rect.Left, rect.Top);
  for (int x = 0; x < rect.Right - rect.Left; ++x) {
    first[x * 3] = static_cast<uint8_t>(rgb >> 16);
    first[x * 3 + 1] = static_cast<uint8_t>(rgb >> 8);
    first[x * 3 + 2] = static_cast<uint8_t>(rgb);
  }
  const size_t bytes = static_cast<size_t>(rect.Right - rect.Left) * 3;
  for (int y = rect.Top + 1; y < rect.Bottom; ++y)
    std::memcpy(pixels.At(rect.Left, y), first, bytes);
}

void TGlyphCanvas::Line(TPoint from, TPoint to, TColor color, int width, TPenStyle style) {
  const uint32_t rgb = ColorToRgb(color);
  const int size = std::max(width, 1);
  if (from.X == to.X || from.Y == to.Y) {
    StraightLine(from, to, rgb, size, style);
    return;
  }
  const TRect reach{std::min(from.X, to.X) - size, std::min(from.Y, to.Y) - size,
                    std::max(from.X, to.X) + size, std::max(from.Y, to.Y) + size};
  if (!reach.Intersects(FClipBox)) return;
  const int dx = std::abs(to.X - from.X), dy = -std::abs(to.Y - from.Y);
  const int sx = from.X < to.X ? 1 : -1, sy = from.Y < to.Y ? 1 : -1;
  int error = dx + dy;
  for (int n = 0; !(from == to); ++n) {
    if (style == TPenStyle::Solid || n % 2 == 0) Stamp(from, size, rgb);
    const int e2 = 2 * error;
    if (e2 >= dy) {
      error += dy;
      from.X += sx;
    }
    if (e2 <= dx) {
      error += dx;
      from.Y += sy;
    }
  }
}

void TGlyphCanvas::Stamp(TPoint at, int size, uint32_t rgb) {
  Fill({at.X - size / 2, at.Y - size / 2, at.X - size / 2 + size, at.Y - size / 2 + size}, rgb);
}

// The walk's stamps along a row or a column, worked out rather than walked:
// only those that may reach into the clip, and a solid line as one fill.
// Grid lines cross the whole plot; the paint of a narrow strip must not pay
// for all of it.
void TGlyphCanvas::StraightLine(TPoint from, TPoint to, uint32_t rgb, int size, TPenStyle style) {
  const int steps = std::abs(to.X - from.X) + std::abs(to.Y - from.Y);
  const TPoint step{(to.X > from.X) - (to.X < from.X), (to.Y > from.Y) - (to.Y < from.Y)};
  const auto at = [&](int n) { return TPoint{from.X + n * step.X, from.Y + n * step.Y}; };
  // Stamp n stands at start + n * direction along the line; those within a
  // stamp of the clip there.
  const bool vertical = step.X == 0;
  const int start = vertical ? from.Y : from.X;
  const int direction = vertical ? step.Y : step.X;
  const int low = (vertical ? FClipBox.Top : FClipBox.Left) - size;
  const int high = (vertical ? FClipBox.Bottom : FClipBox.Right) + size;
  const int first = std::max(0, direction > 0 ? low - start : start - high);
  const int last = std::min(steps - 1, direction > 0 ? high - start : start - low);
  if (first > last) return;
  if (style == TPenStyle::Solid) {
    const TPoint a = at(first), b = at(last);
    Fill({std::min(a.X, b.X) - size / 2, std::min(a.Y, b.Y) - size / 2,
          std::max(a.X, b.X) - size / 2 + size, std::max(a.Y, b.Y) - size / 2 + size},
         rgb);
    return;
  }
  for (int n = first + first % 2; n <= last; n += 2) Stamp(at(n), size, rgb);
}

void TGlyphCanvas::FrameRect(const TRect& rect, TColor color) {
  Frame(rect, ColorToRgb(color));
}

void TGlyphCanvas::Frame(const TRect& r, uint32_t rgb) {
  if (r.Left >= r.Right || r.Top >= r.Bottom) return;
  Fill({r.Left, r.Top, r.Right, r.Top + 1}, rgb);
  Fill({r.Left, r.Bottom - 1, r.Right, r.Bottom}, rgb);
  Fill({r.Left, r.Top, r.Left + 1, r.Bottom}, rgb);
  Fill({r.Right - 1, r.Top, r.Right, r.Bottom}, rgb);
}

TSize TGlyphCanvas::TextExtent(const std::string& text) {
  return {static_cast<int>(text.size()) * kCharWidth, kCharHeight};
}

void TGlyphCanvas::WriteText(int x, int y, const std::string& text, TColor color) {
  const uint32_t rgb = ColorToRgb(color);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') continue;
    const int left = x + static_cast<int>(i) * kCharWidth + 1;
    Frame({left, y + 2, left + 4, y + 11}, rgb);
  }
}
