#include "reports/chart_axis.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "formatting/number_format.h"

namespace {

constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB"};

// The steps in ascending order: in bytes, KB, MB and GB 1, 2, 5, 10, 20,
// 50, 100, 256 and 512 of the unit, which lead on to 1 of the next; in TB
// 1, 2 and 5 times the powers of ten, up past the largest amount.
const std::vector<double>& Steps() {
  static const std::vector<double> steps = [] {
    std::vector<double> all;
    double unit = 1;
    for (int i = 0; i < 4; ++i, unit *= 1024)
      for (const double times : {1, 2, 5, 10, 20, 50, 100, 256, 512}) all.push_back(times * unit);
    for (double power = unit; power < 1e21; power *= 10)
      for (const double times : {1, 2, 5}) all.push_back(times * power);
    return all;
  }();
  return steps;
}

}  // namespace

TValueAxis ValueAxisFor(int64_t most, int maxSteps) {
  maxSteps = std::max(1, maxSteps);
  const double amount = static_cast<double>(std::max<int64_t>(most, 0));
  for (const double step : Steps()) {
    const double steps = std::max(1.0, std::ceil(amount / step));
    if (steps <= maxSteps) return {step, static_cast<int>(steps)};
  }
  return {Steps().back(), 1};
}

std::string FormatAxisSize(double bytes, const TFormatSettings& fs) {
  if (bytes < 1024) return FormatNumber(std::floor(bytes), 0, fs) + " bytes";
  int unit = 0;
  double value = bytes / 1024;
  while (unit < 3 && value >= 1024) value /= 1024, ++unit;
  int decimals = 0;
  while (decimals < 2 && std::abs(value * std::pow(10, decimals) -
                                  std::round(value * std::pow(10, decimals))) > 1e-6)
    ++decimals;
  return FormatNumber(value, decimals, fs) + " " + kUnits[unit];
}
