#pragma once

#include <vector>

#include "platform/format_settings.h"
#include "reports/report_model.h"
#include "ui/canvas.h"

// The chart above a report list: download and upload as bars for each row,
// in the graph's colours, scaled to the largest amount shown and labelled
// with sizes; the selected row's place highlighted. Drawn on the canvas the
// graph is drawn on, so it looks alike and is tested alike.

struct TChartLook {
  TColor Download = 0xFF0000;  // the graph's colours
  TColor Upload = 0x0000FF;
  TColor Text = 0x000000;
  TColor Grid = 0xC0C0C0;
  TColor Background = 0xFFFFFF;
  TColor Selection = kSysColorFlag | 13;  // the system's highlight
  int Dpi = 96;
};

// Where a paint put the rows, for the mouse.
struct TChartLayout {
  TRect Plot;
  int First = 0;      // the display position of the first row shown
  int Count = 0;      // rows shown
  int SlotWidth = 0;  // each row's share of the plot's width
};

// Paints the whole canvas: the rows from display position first on, as
// many as fit at a few pixels each at least; selected is a display
// position, -1 for none.
TChartLayout PaintReportChart(TCanvas& canvas, const std::vector<const TReportRow*>& rows,
                              int first, int selected, const TChartLook& look,
                              const TFormatSettings& fs = FormatSettings());

// The display position of the row whose place holds the point; -1 for none.
int ChartRowAt(const TChartLayout& layout, int x, int y);
