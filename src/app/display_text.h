#pragma once

#include <cstdint>
#include <string>

#include "platform/date_time.h"
#include "platform/format_settings.h"

// The texts of the status bar, the stopwatch bar and the graph's hint.

// How rates are shown: bytes (Units 1, " KB/s") or bits (Units 8, " kbps",
// or " Kbps" after Setup applied the choice).
struct TRateUnits {
  int Units = 1;
  std::string UnitSuffix = " KB/s";
};

// A speed in kilobytes per second: "512.0 KB/s", "1.50 MB/s", "2.00 GB/s".
std::string FormatSpeed(double kilobytesPerSecond, const TFormatSettings& fs = FormatSettings());
// Seconds as "mm:ss", or "hh:mm:ss" from one hour on.
std::string FormatDuration(double seconds, const TFormatSettings& fs = FormatSettings());
// " @ 1.50 MB/s" or " @ 12.34 kbps" for a count of bytes per tick.
std::string SpeedPart(double bytesPerTick, const TRateUnits& units,
                      const TFormatSettings& fs = FormatSettings());
// The link speed: "28.80 Kbps" below a million bits per second, "10 Mbps" above.
std::string LinkSpeedText(uint32_t bitsPerSecond, const TFormatSettings& fs = FormatSettings());
// Black or white, whichever reads better on the graph's background colour
// (taken as stored, 0x00BBGGRR).
uint32_t NotConnectedColor(uint32_t graphBackgroundColor);
// The graph's hint for one sample: both rates and when it was taken.
std::string GraphHintText(int32_t received, int32_t sent, TDateTime time, const TRateUnits& units,
                          const TFormatSettings& fs = FormatSettings());
