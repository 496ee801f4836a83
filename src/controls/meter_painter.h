#pragma once

#include <optional>
#include <vector>

#include "controls/meter_frame.h"
#include "controls/meter_model.h"
#include "controls/meter_pixels.h"
#include "ui/canvas.h"

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

// For supersampled frames: main inside parts becomes layer's series with the
// grid, the texts and the frame laid over them. All parts in one pass, so
// that a line or a text crossing many of them is drawn once.
void ComposeMeterParts(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                       TCanvas& super, const TPixelBuffer& layer, const std::vector<TRect>& parts);

// Sizes main (and layer) for frame and draws all of it.
void PaintMeterWhole(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                     TCanvas& super, TPixelBuffer* layer = nullptr);

// Plans and paints the whole graph; returns the layout it drew, for the
// meter to keep (hit testing and the next paint's label widths go by it).
std::optional<TMeterLayout> PaintMeter(const TMeterModel& meter, TCanvas& main, TCanvas& super,
                                       int width, int height);
