#pragma once

#include <cstdint>
#include <string>

#include "platform/format_settings.h"

// Transfer rates, link speeds and elapsed times as the user reads them.

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
