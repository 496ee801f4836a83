#include "controls/meter_labels.h"

#include <cmath>
#include <cstdio>

#include "formatting/number_format.h"

namespace {

// The "0.0" or "0" picture: no thousands separators, halves rounded away
// from zero. Grid values are never negative.
std::string PlainNumber(double value, TLabelFormat format, const TFormatSettings& fs) {
  if (format == TLabelFormat::Whole) return std::to_string(std::llround(value));
  const long long tenths = std::llround(value * 10);
  return std::to_string(tenths / 10) + fs.DecimalSeparator + std::to_string(tenths % 10);
}

// Two decimals in the "0.0" picture; in "0" only when there is a fraction,
// so that a half-unit grid line never reads like its neighbour.
std::string RateNumber(double value, TLabelFormat format, const TFormatSettings& fs) {
  const bool fraction = value != std::floor(value);
  return FormatNumber(value, format == TLabelFormat::OneDecimal || fraction ? 2 : 0, fs);
}

}  // namespace

// In sKBits a grid value counts bits, but FormatRate takes kilobytes (its bit
// branch multiplies by 8 again), so the label hands it bits / 8000: a line at
// 800,000 bits, that is 100 kilobytes, reads "800 Kbps".
std::string AxisLabel(int64_t gridValue, TScale scale, bool suffixed, TLabelFormat format,
                      const TFormatSettings& fs) {
  const double value = static_cast<double>(gridValue) / ScaleBase(scale);
  if (!suffixed) return PlainNumber(value, format, fs);
  return FormatRate(scale == sKBits ? value / 8 : value, scale, format, fs);
}

std::string FormatRate(double kilobytes, TScale scale, TLabelFormat format,
                       const TFormatSettings& fs) {
  if (scale == sKBits) {
    const double kilobits = kilobytes * 8;
    if (kilobytes >= 15625) return FormatNumber(kilobits / 1000000, 2, fs) + " Gbps";
    if (kilobytes >= 125) return FormatNumber(kilobits / 1000, 2, fs) + " Mbps";
    return RateNumber(kilobits, format, fs) + " Kbps";
  }
  if (kilobytes >= 1048576) return RateNumber(kilobytes / 1048576, format, fs) + " GB/s";
  if (kilobytes >= 1024) return RateNumber(kilobytes / 1024, format, fs) + " MB/s";
  return RateNumber(kilobytes, format, fs) + " KB/s";
}

std::string TimeLabel(TDateTime time, TDateTime now) {
  const TSystemTime t = DecodeDateTime(time);
  const int hour = t.Hour % 12 == 0 ? 12 : t.Hour % 12;
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d %s", hour, t.Minute, t.Hour < 12 ? "AM" : "PM");
  const auto days = static_cast<long long>(std::fabs(now - time));
  return days > 0 ? text + (" (" + std::to_string(days) + ")") : text;
}
