#pragma once

#include <cstdint>
#include <string>

#include "controls/meter_scale.h"
#include "platform/date_time.h"
#include "platform/format_settings.h"

// The y-axis label of a grid line at gridValue (scale units): the value in
// the scale's thousands as a plain number, or with suffixed a rate such as
// "800 Kbps" or "1.50 MB/s".
std::string AxisLabel(int64_t gridValue, TScale scale, bool suffixed, TLabelFormat format,
                      const TFormatSettings& fs);

// A rate given in kilobytes per second with its unit: KB/s, MB/s, GB/s, or in
// sKBits the same rate in Kbps, Mbps, Gbps (these two always with two
// decimals).
std::string FormatRate(double kilobytes, TScale scale, TLabelFormat format,
                       const TFormatSettings& fs);

// "h:nn AM/PM" of time, followed by " (d)" when it lies d whole days from now.
std::string TimeLabel(TDateTime time, TDateTime now);
