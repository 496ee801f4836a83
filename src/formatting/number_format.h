#pragma once

#include <cstdint>
#include <string>

#include "platform/format_settings.h"

// The texts in which counts, sizes and elapsed times are shown.

// The decimal digits of a non-negative integer with the locale's thousands
// separator between groups of three: "1234567" -> "1,234,567".
std::string InsertThousandSeparators(const std::string& digits,
                                     const TFormatSettings& fs = FormatSettings());

// A number rounded to `decimals` places with thousands and decimal separators
// (the "%.2n" picture): 1234.567 -> "1,234.57".
std::string FormatNumber(double value, int decimals, const TFormatSettings& fs = FormatSettings());

// A number rounded to `decimals` places with at least minIntDigits digits
// before the point and no thousands separators: the "0.00" (1, 2), "##.00"
// (0, 2), "00" (2, 0) and "##" (0, 0) pictures. So 0.5 with "##.00" is ".50".
std::string FormatFloat(double value, int minIntDigits, int decimals,
                        const TFormatSettings& fs = FormatSettings());

// "512 bytes", "1,023 KB", "1.50 MB", "2.00 GB", "1.00 TB" (units of 1,024).
std::string FormatByteSize(double bytes, const TFormatSettings& fs = FormatSettings());

// "mm:ss" below an hour, "hh:mm:ss" from one hour on (hours not wrapped),
// "??:??" for a negative count.
std::string FormatSeconds(int32_t seconds);
