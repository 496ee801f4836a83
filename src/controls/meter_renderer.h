#pragma once

#include <optional>
#include <vector>

#include "ui/canvas.h"
#include "controls/meter_frame.h"
#include "controls/meter_model.h"
#include "controls/meter_pixels.h"

// Keeps a picture of the graph current at the cost of what changed. After
// appends to a live view with nothing else changed, it scrolls the series by
// the samples' width and paints only the strips at both ends where samples
// leave and join, and the time labels whose text changed. Plain series lie
// over the grid, so what stands still under them is painted again too: the
// time lines, dotted grid lines, and texts the scroll would move.
// Supersampled series lie under the grid; they scroll in a layer of their
// own, under the grid and the texts laid over them afresh. The picture
// equals a whole paint pixel for pixel; any other change paints it whole.
class TMeterRenderer {
 public:
  struct TResult {
    TMeterLayout Layout;
    std::vector<TRect> Changed;  // where the picture's pixels may have changed
  };

  // Nothing, leaving the picture as it was, when the control is too narrow.
  std::optional<TResult> Paint(const TMeterModel& meter, TCanvas& main, TCanvas& super, int width,
                               int height);
  // The next paint is whole: after a change the frame does not record, such
  // as the font.
  void Reset() { FLast.reset(); }

 private:
  std::optional<TMeterFrame> FLast;
  TPixelBuffer FLayer;  // the filtered series of a supersampled picture
};
