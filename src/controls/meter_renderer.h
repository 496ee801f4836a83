#pragma once

#include <optional>
#include <vector>

#include "controls/meter_frame.h"
#include "controls/meter_model.h"
#include "controls/meter_pixels.h"
#include "ui/canvas.h"

// Keeps a picture of the graph current at the cost of what changed. After
// appends to a live view with nothing else changed, it scrolls the picture
// by the samples' width and paints again only the strips at both ends where
// samples leave and join, what stands still while the series move (the time
// lines, dotted grid lines, and texts the scroll would move), and the time
// labels whose text changed. Supersampled series lie under the grid; they
// also scroll in a layer of their own, from which those parts are laid again
// with the grid and the texts over them. The picture equals a whole paint
// pixel for pixel; any other change paints it whole.
class TMeterRenderer {
 public:
  // The picture's pixels inside Area moved Distance pixels to the left; the
  // rightmost Distance columns of Area are among the changed parts, so a copy
  // of the picture scrolled the same way and then given those parts equals it.
  struct TScroll {
    TRect Area;
    int Distance = 0;
  };
  struct TResult {
    TMeterLayout Layout;
    // Where the picture's pixels may have changed, after the scroll if any.
    std::vector<TRect> Changed;
    std::optional<TScroll> Scroll;
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
