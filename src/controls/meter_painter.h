#pragma once

#include <optional>

#include "controls/canvas.h"
#include "controls/meter_model.h"

// Paints the graph at width x height into main, using super for the
// supersampled series when the meter's AntiAlias is above 0, and returns the
// layout it drew, for the meter to keep (hit testing and the next paint's
// label widths go by it). Returns nothing, drawing nothing, when the control
// is too narrow for its margins: the window then keeps what it showed.
std::optional<TMeterLayout> PaintMeter(const TMeterModel& meter, TCanvas& main, TCanvas& super,
                                       int width, int height);
