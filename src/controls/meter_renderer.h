#pragma once

#include <optional>
#include <vector>

#include "controls/canvas.h"
#include "controls/meter_frame.h"
#include "controls/meter_model.h"

// Keeps a picture of the graph current at the cost of what changed. After
// appends to a live view with nothing else changed, it scrolls the series by
// the samples' width and paints only what the scroll cannot carry: the strips
// at both ends, the time lines, dotted grid lines, and the texts that changed
// or that the scroll would move. The picture equals a whole paint pixel for
// pixel; any other change paints it whole.
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
};
