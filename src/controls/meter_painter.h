#pragma once

#include "controls/canvas.h"
#include "controls/meter_model.h"

// Paints the graph at width x height into main, using super for the
// supersampled series when the meter's AntiAlias is above 0, and keeps the
// plot rectangle in the meter for hit testing. Returns false, drawing
// nothing, when the control is too narrow for its margins: the window then
// keeps what it showed.
bool PaintMeter(TMeterModel& meter, TCanvas& main, TCanvas& super, int width, int height);
