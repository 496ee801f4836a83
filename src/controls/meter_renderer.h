#pragma once

#include <optional>
#include <vector>

#include "controls/meter_frame.h"
#include "controls/meter_model.h"
#include "controls/meter_pixels.h"
#include "ui/canvas.h"

// Paints the graph at the cost of what changed. After appends to a live view
// with nothing else changed, the picture's owner (the window) scrolls its
// copy of the picture by the samples' width, and only what that leaves
// wrong is painted again: the strips at both ends where samples leave and
// join, what stands still while the series move (the time lines, dotted
// grid lines, and texts the scroll would move), and the time labels whose
// text changed. Supersampled series lie under the grid; they also scroll in
// a layer of their own, from which those parts are laid again with the grid
// and the texts over them. Main itself does not scroll: after a scroll it
// holds the picture only in the parts painted since, and other parts are
// painted again on demand. Any other change paints the picture whole.
class TMeterRenderer {
 public:
  // The picture's pixels inside Area moved Distance pixels to the left; the
  // rightmost Distance columns of Area are among the changed parts, so a copy
  // of the last picture scrolled the same way and then given those parts
  // from main equals the new one.
  struct TScroll {
    TRect Area;
    int Distance = 0;
  };
  struct TResult {
    TMeterLayout Layout;
    // The parts painted into main: where the picture changed, after the
    // scroll if any.
    std::vector<TRect> Changed;
    std::optional<TScroll> Scroll;
  };

  // Nothing, leaving the picture as it was, when the control is too narrow.
  std::optional<TResult> Paint(const TMeterModel& meter, TCanvas& main, TCanvas& super, int width,
                               int height);
  // The next paint is whole: after a change the frame does not record, such
  // as the font.
  void Reset() { FLast.reset(); }
  // Paints these parts of the last picture into main again, for a copy
  // that lost them (a window uncovered).
  void PaintParts(const TMeterModel& meter, TCanvas& main, TCanvas& super,
                  const std::vector<TRect>& parts);

 private:
  void PaintParts(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main, TCanvas& super,
                  const std::vector<TRect>& parts);

  std::optional<TMeterFrame> FLast;
  TPixelBuffer FLayer;  // the filtered series of a supersampled picture, in its series area
};
