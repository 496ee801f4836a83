#pragma once

#include <optional>

#include "ui/canvas.h"
#include "controls/meter_frame.h"
#include "controls/meter_model.h"
#include "controls/meter_pixels.h"

// Draws the part of frame's picture inside part into main, using super for
// the supersampled series when the meter's AntiAlias is above 0 (it grows
// as it needs); pixels outside part stay as they are. Main already has
// frame's size. With a layer of that size, supersampled series are kept
// there too, for a later scroll.
void PaintMeterPart(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                    TCanvas& super, const TRect& part, TPixelBuffer* layer = nullptr);

// For supersampled frames: draws the series inside part into layer alone.
void DrawMeterSeries(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                     TCanvas& super, TPixelBuffer& layer, const TRect& part);

// For supersampled frames: main inside part becomes layer's series with the
// grid, the texts and the frame laid over them.
void ComposeMeterPart(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                      TCanvas& super, const TPixelBuffer& layer, const TRect& part);

// Sizes main (and layer) for frame and draws all of it.
void PaintMeterWhole(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                     TCanvas& super, TPixelBuffer* layer = nullptr);

// Plans and paints the whole graph; returns the layout it drew, for the
// meter to keep (hit testing and the next paint's label widths go by it).
std::optional<TMeterLayout> PaintMeter(const TMeterModel& meter, TCanvas& main, TCanvas& super,
                                       int width, int height);
