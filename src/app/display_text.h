#pragma once

#include <cstdint>
#include <string>

#include "formatting/rate_format.h"
#include "platform/date_time.h"
#include "platform/format_settings.h"

// The main window's own texts: the "Not Connected" colour and the graph's
// hint.

// Black or white, whichever reads better on the graph's background colour
// (taken as stored, 0x00BBGGRR).
uint32_t NotConnectedColor(uint32_t graphBackgroundColor);
// The graph's hint for one sample: both rates and when it was taken.
std::string GraphHintText(int32_t received, int32_t sent, TDateTime time, const TRateUnits& units,
                          const TFormatSettings& fs = FormatSettings());
