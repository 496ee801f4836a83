#include "formatting/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const char* const kBytesWord = "bytes";

constexpr double kKB = 1024.0;
constexpr double kMB = kKB * 1024.0;
constexpr double kGB = kMB * 1024.0;
constexpr double kTB = kGB * 1024.0;

std::string TwoDigits(int32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", static_cast<int>(value));
  return buffer;
}

// The decimal digits of |value| rounded half away from zero, as users expect
// of a shown figure (the C library would round an exact half to even).
std::string RoundedDigits(double value, int decimals) {
  // Twenty digits more than needed, then rounded by hand. The largest double
  // has 309 integer digits.
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals + 20, std::fabs(value));
  std::string text = buffer;
  const size_t point = text.find('.');
  const bool up = text[point + 1 + decimals] >= '5';
  text.erase(point + 1 + decimals);
  if (decimals == 0) text.erase(point);
  for (size_t i = text.size(); up && i-- > 0;) {
    if (text[i] == '.') continue;
    if (text[i] != '9') {
      ++text[i];
      return text;
    }
    text[i] = '0';
  }
  return up ? "1" + text : text;
}

}  // namespace

std::string InsertThousandSeparators(const std::string& digits, const TFormatSettings& fs) {
  if (digits.size() <= 3) return digits;
  std::string result;
  result.reserve(digits.size() + digits.size() / 3);
  for (size_t i = 0; i < digits.size(); ++i) {
    const size_t fromEnd = digits.size() - i;
    if (i > 0 && fromEnd % 3 == 0) result += fs.ThousandSeparator;
    result += digits[i];
  }
  return result;
}

namespace {

// The rounded number split at its point, with its sign when it is not zero.
struct TDecimal {
  bool Negative;
  std::string Integer;
  std::string Fraction;
};

std::string NonFiniteText(double value) {
  return value != value ? "NAN" : value > 0 ? "INF" : "-INF";
}

TDecimal SplitDecimal(double value, int decimals) {
  const std::string text = RoundedDigits(value, std::clamp(decimals, 0, 18));
  const size_t point = text.find('.');
  TDecimal d{false, text.substr(0, point),
             point == std::string::npos ? std::string() : text.substr(point + 1)};
  // No sign on a value that rounds to zero.
  d.Negative = value < 0 && text.find_first_not_of("0.") != std::string::npos;
  return d;
}

std::string JoinDecimal(const TDecimal& d, const std::string& integer, const TFormatSettings& fs) {
  std::string result = d.Negative ? "-" + integer : integer;
  if (!d.Fraction.empty()) result += fs.DecimalSeparator + d.Fraction;
  return result;
}

}  // namespace

std::string FormatNumber(double value, int decimals, const TFormatSettings& fs) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  const TDecimal d = SplitDecimal(value, decimals);
  return JoinDecimal(d, InsertThousandSeparators(d.Integer, fs), fs);
}

std::string FormatFloat(double value, int minIntDigits, int decimals, const TFormatSettings& fs) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  const TDecimal d = SplitDecimal(value, decimals);
  std::string integer =
      d.Integer.substr(std::min(d.Integer.find_first_not_of('0'), d.Integer.size()));
  if (static_cast<int>(integer.size()) < minIntDigits)
    integer.insert(0, static_cast<size_t>(minIntDigits) - integer.size(), '0');
  return JoinDecimal(d, integer, fs);
}

std::string FormatByteSize(double bytes, const TFormatSettings& fs) {
  if (bytes < kKB) return FormatNumber(bytes, 0, fs) + " " + kBytesWord;
  if (bytes < kMB) {
    // Whole kilobytes, truncated rather than rounded.
    const auto kilobytes = static_cast<int64_t>(bytes / kKB);
    return InsertThousandSeparators(std::to_string(kilobytes), fs) + " KB";
  }
  if (bytes < kGB) return FormatNumber(bytes / kMB, 2, fs) + " MB";
  if (bytes < kTB) return FormatNumber(bytes / kGB, 2, fs) + " GB";
  return FormatNumber(bytes / kTB, 2, fs) + " TB";
}

std::string FormatSeconds(int32_t seconds) {
  if (seconds < 0) return "??:??";
  const int32_t hours = seconds / 3600;
  const int32_t minutes = seconds % 3600 / 60;
  const std::string tail = TwoDigits(minutes) + ":" + TwoDigits(seconds % 60);
  return hours >= 1 ? TwoDigits(hours) + ":" + tail : tail;
}
