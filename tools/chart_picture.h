#pragma once

#include <string>

#include "reports/report_chart.h"

// A chart with its title as a PNG file of width x height pixels, at 96 DPI
// in the system's message font, written by the system's imaging component.
// Throws EFileProblem when the file cannot be written, or where the system
// has no such component.
void WriteChartPicture(const TChart& chart, const TChartLook& look, int width, int height,
                       const std::string& path);
