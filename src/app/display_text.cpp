#include "app/display_text.h"

#include "formatting/date_format.h"
#include "formatting/number_format.h"

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
