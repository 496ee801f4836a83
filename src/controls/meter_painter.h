#pragma once

#include <optional>

#include "controls/canvas.h"
#include "controls/meter_frame.h"
#include "controls/meter_model.h"

// Draws the part of frame's picture inside part into main, using super for
// the supersampled series when the meter's AntiAlias is above 0; pixels
// outside part stay as they are. Both canvases already have frame's size.
void PaintMeterPart(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                    TCanvas& super, const TRect& part);

// Sizes the canvases for frame and draws all of it.
void PaintMeterWhole(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                     TCanvas& super);

// Plans and paints the whole graph; returns the layout it drew, for the
// meter to keep (hit testing and the next paint's label widths go by it).
std::optional<TMeterLayout> PaintMeter(const TMeterModel& meter, TCanvas& main, TCanvas& super,
                                       int width, int height);
