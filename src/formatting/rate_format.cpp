#include "formatting/rate_format.h"

#include <cmath>

#include "formatting/number_format.h"

std::string FormatSpeed(double kilobytesPerSecond, const TFormatSettings& fs) {
  if (kilobytesPerSecond >= 1048576)
    return FormatNumber(kilobytesPerSecond / 1048576, 2, fs) + " GB/s";
  if (kilobytesPerSecond >= 1024) return FormatNumber(kilobytesPerSecond / 1024, 2, fs) + " MB/s";
  return FormatNumber(kilobytesPerSecond, 1, fs) + " KB/s";
}

std::string FormatDuration(double seconds, const TFormatSettings& fs) {
  const double hours = std::trunc(seconds / 3600);
  const double minutes = std::trunc((seconds - hours * 3600) / 60);
  const double rest = seconds - hours * 3600 - minutes * 60;
  const std::string tail = FormatFloat(minutes, 2, 0, fs) + ":" + FormatFloat(rest, 2, 0, fs);
  return hours > 0 ? FormatFloat(hours, 2, 0, fs) + ":" + tail : tail;
}

std::string SpeedPart(double bytesPerTick, const TRateUnits& units, const TFormatSettings& fs) {
  const double value = bytesPerTick / 1024 * units.Units;
  if (units.Units == 1) return " @ " + FormatSpeed(value, fs);
  return " @ " + FormatFloat(value, 1, 2, fs) + units.UnitSuffix;
}

std::string LinkSpeedText(uint32_t bitsPerSecond, const TFormatSettings& fs) {
  if (bitsPerSecond < 1000000) return FormatFloat(bitsPerSecond / 1000.0, 0, 2, fs) + " Kbps";
  return FormatFloat(bitsPerSecond / 1000000.0, 0, 0, fs) + " Mbps";
}
