#pragma once

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "controls/meter_model.h"
#include "controls/meter_painter.h"
#include "ui/glyph_canvas.h"

// A meter with a hand-driven clock, the fixed English locale and a count of
// its repaints, and the canvases to paint it on.

struct TTestClock {
  uint32_t Tick = 1000000;
  TDateTime Now = 46000.5;
};

inline TMeterSystem TestSystem(TTestClock& clock) {
  static const TFormatSettings english;
  TMeterSystem system;
  system.TickCount = [&clock] { return clock.Tick; };
  system.Now = [&clock] { return clock.Now; };
  system.Locale = []() -> const TFormatSettings& { return english; };
  return system;
}

class TTestMeter : public TMeterModel {
 public:
  explicit TTestMeter(TTestClock& clock) : TMeterModel(TestSystem(clock)) {}
  int Repaints = 0;

 protected:
  void Repaint() override { ++Repaints; }
};

// Paints as the window does, the meter keeping the layout; false when the
// control is too narrow.
inline bool PaintAndKeepLayout(TMeterModel& meter, TCanvas& main, TCanvas& super, int width,
                               int height) {
  const std::optional<TMeterLayout> layout = PaintMeter(meter, main, super, width, height);
  if (layout) meter.SetLayout(*layout);
  return layout.has_value();
}

// Remembers every text drawn, with its position.
class TRecordingCanvas : public TGlyphCanvas {
 public:
  struct TText {
    int X, Y;
    std::string Text;
  };
  std::vector<TText> Texts;

  void WriteText(int x, int y, const std::string& text, TColor color) override {
    Texts.push_back({x, y, text});
    TGlyphCanvas::WriteText(x, y, text, color);
  }
};

// 0x00BBGGRR of a pixel, for comparing with the meter's colours.
inline uint32_t PixelAt(TCanvas& canvas, int x, int y) {
  return canvas.Pixels().Rgb(x, y);
}

// Moves the pixels inside area distance pixels to the left, as a window
// scrolls; the rightmost distance columns of area keep what they held.
inline void ShiftLeft(const TPixels& pixels, const TRect& area, int distance) {
  const TRect r = area.Intersection({0, 0, pixels.Width, pixels.Height});
  if (r.Right - r.Left <= distance) return;
  const size_t bytes = static_cast<size_t>(r.Right - r.Left - distance) * 3;
  for (int y = r.Top; y < r.Bottom; ++y)
    std::memmove(pixels.At(r.Left, y), pixels.At(r.Left + distance, y), bytes);
}

// The first pixel where two pictures differ, or nothing.
inline std::optional<TPoint> FirstDifference(TCanvas& a, TCanvas& b) {
  const TPixels p = a.Pixels(), q = b.Pixels();
  if (p.Width != q.Width || p.Height != q.Height) return TPoint{-1, -1};
  for (int y = 0; y < p.Height; ++y)
    if (std::memcmp(p.At(0, y), q.At(0, y), static_cast<size_t>(p.Width) * 3) != 0)
      for (int x = 0; x < p.Width; ++x)
        if (p.Rgb(x, y) != q.Rgb(x, y)) return TPoint{x, y};
  return std::nullopt;
}
