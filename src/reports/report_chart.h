#pragma once

#include <vector>

#include "reports/chart_slots.h"
#include "ui/canvas.h"

// The chart above a report list, and the picture saved of it: download and
// upload as bars side by side in the middle of each slot of a TChart, in the
// graph's colours, on a value axis of round steps with the labels left of
// it, the slots' labels under them as many as fit apart, a legend, and in a
// picture of its own a title line. The window's highlights the selected
// row's slot. Drawn on the canvas the graph is drawn on, so it looks alike
// and is tested alike.

struct TChartLook {
  TColor Download = 0xFF0000;  // the graph's colours
  TColor Upload = 0x0000FF;
  TColor Text = 0x000000;
  TColor Grid = 0xC0C0C0;
  TColor Background = 0xFFFFFF;
  TColor Selection = kSysColorFlag | 13;  // the system's highlight
  int Dpi = 96;
};

// Where a paint put the slots, for the mouse.
struct TChartLayout {
  TRect Plot;
  int Slots = 0;
  // The left edge of slot i (Slots: the plot's right edge).
  int SlotLeft(int i) const;
};

// Paints the whole canvas; titled, the chart's title above it; selected is
// the row whose slot is highlighted, none for none.
TChartLayout PaintReportChart(TCanvas& canvas, const TChart& chart, const TReportRow* selected,
                              bool titled, const TChartLook& look,
                              const TFormatSettings& fs = FormatSettings());

// The row of the slot that holds the point; none for an empty slot or none.
const TReportRow* ChartRowAt(const TChart& chart, const TChartLayout& layout, int x, int y);
