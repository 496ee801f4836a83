#include "controls/meter_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

int ScaleBase(TScale scale) {
  switch (scale) {
    case sKBytes: return 1024;
    case sKBits: return 1000;
    case sInteger: break;
  }
  return 1;
}

int32_t ToScaleUnits(int64_t bytes, TScale scale) {
  const int64_t units = scale == sKBits ? bytes * 8 : bytes;
  return static_cast<int32_t>(std::clamp<int64_t>(units, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int64_t RoundHalfEven(double value) {
  return std::llrint(value);  // the default rounding mode rounds half to even
}

TScaleGrid ComputeScale(TScale scale, int plotHeight, int charHeight, int32_t maxValue) {
  int64_t granule = scale == sKBytes ? 512 : scale == sKBits ? 500 : 1;
  // An even number of lines, so that a label falls on the middle one.
  int64_t lines = RoundHalfEven(plotHeight / (2.0 * std::max(charHeight, 1)));
  if (lines % 2 != 0) ++lines;
  if (lines <= 0) lines = 1;
  // A maximum of zero or below would divide by zero further down.
  const int64_t max = std::max<int64_t>(maxValue, 1);
  const int64_t base = ScaleBase(scale);
  if (scale != sInteger && max >= 16 * base) granule = base;

  TScaleGrid grid;
  grid.Top = granule * static_cast<int64_t>(std::ceil(static_cast<double>(max) / granule));
  grid.Step =
      granule * static_cast<int64_t>(std::ceil(static_cast<double>(grid.Top) / lines / granule));
  if (grid.Step == 0) grid.Step = 1;
  grid.Count = RoundHalfEven(static_cast<double>(grid.Top) / grid.Step);
  if (grid.Count == 0) grid.Count = 1;
  grid.Top = grid.Step * grid.Count;
  // Rounding the count down may leave the maximum above the top line.
  if (grid.Top < maxValue) grid.Top = grid.Step * (grid.Count + 1);
  return grid;
}

// A step of a whole number of units gets whole labels. Half-unit steps
// (1536 bytes is 1.5 KB) keep their decimal, or the lines at 1.5, 3 and 4.5
// would read 2, 3 and 5.
TLabelFormat LabelFormatFor(TScale scale, int64_t step) {
  return step % ScaleBase(scale) != 0 ? TLabelFormat::OneDecimal : TLabelFormat::Whole;
}
