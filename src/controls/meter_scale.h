#pragma once

#include <cstdint>

// The graph's y axis. Samples are stored in bytes; the maximum, the top of
// the axis and the grid step are held in scale units (bits for sKBits).
enum TScale { sKBytes, sKBits, sInteger };

// 1024 for sKBytes, 1000 for sKBits, 1 for sInteger.
int ScaleBase(TScale scale);

// Bytes to scale units. Bits that do not fit 32 bits stay at the largest
// value rather than wrapping to a negative one.
int32_t ToScaleUnits(int64_t bytes, TScale scale);

// Round half to even, as the axis arithmetic is defined.
int64_t RoundHalfEven(double value);

struct TScaleGrid {
  int64_t Top = 1;    // value at the top of the plot
  int64_t Count = 1;  // grid steps below the top
  int64_t Step = 1;   // value between grid lines
  bool operator==(const TScaleGrid&) const = default;
};

// A rounded axis for maxValue over a plot of plotHeight pixels: about one
// grid line per two text lines, steps in whole multiples of half a unit.
TScaleGrid ComputeScale(TScale scale, int plotHeight, int charHeight, int32_t maxValue);

// The axis labels' number picture: "0.0" or "0", by whether the step is a
// whole number of the scale's units.
enum class TLabelFormat { OneDecimal, Whole };
TLabelFormat LabelFormatFor(TScale scale, int64_t step);
