#pragma once

#include <cstdint>
#include <string>

#include "platform/format_settings.h"

// The value axis of the reports' charts: from 0 in equal steps that read
// round in the program's 1,024-based units ("256 MB", "512 MB", "768 MB";
// "1 GB", "2 GB") up to the first step at or above the largest amount.
struct TValueAxis {
  double Step = 1;  // bytes
  int Steps = 1;    // the top is Step * Steps
  double Top() const { return Step * Steps; }
};

// The smallest round step that reaches most in at most maxSteps steps (at
// least one step, of at least a byte).
TValueAxis ValueAxisFor(int64_t most, int maxSteps);

// An amount on the axis: below 1,024 "N bytes", else in the largest unit
// it reaches (KB, MB, GB, TB of 1,024) with the decimals it needs, at most
// two: "1 KB", "1.5 KB", "768 MB", "1.25 GB", "10,000,000 TB".
std::string FormatAxisSize(double bytes, const TFormatSettings& fs = FormatSettings());
