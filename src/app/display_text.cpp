#include "app/display_text.h"

#include <cmath>

#include "formatting/date_format.h"
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

uint32_t NotConnectedColor(uint32_t graphBackgroundColor) {
  const uint32_t red = graphBackgroundColor & 0xFF;
  const uint32_t green = graphBackgroundColor >> 8 & 0xFF;
  const uint32_t blue = graphBackgroundColor >> 16 & 0xFF;
  return 2 * red + 5 * green + blue >= 1024 ? 0x000000 : 0xFFFFFF;
}

std::string GraphHintText(int32_t received, int32_t sent, TDateTime time, const TRateUnits& units,
                          const TFormatSettings& fs) {
  const auto rate = [&](int32_t bytes) {
    if (units.Units == 1) return FormatSpeed(bytes / 1024.0, fs);
    return FormatFloat(bytes / 1024.0 * 8, 1, 2, fs) + units.UnitSuffix;
  };
  return "D/L: " + rate(received) + "\rU/L: " + rate(sent) + "\rAT:  " + DateTimeToText(time, fs);
}
