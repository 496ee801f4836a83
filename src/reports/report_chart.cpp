#include "reports/report_chart.h"

#include <algorithm>

#include "reports/chart_axis.h"

namespace {

// At 96 DPI: the gaps around and between the parts, and the widest bar.
constexpr int kGap = 4;
constexpr int kMaxBar = 16;
// Steps on the value axis: at most five, their labels a line and a half apart.
constexpr int kMaxSteps = 5;

int Scaled(int value, int dpi) {
  return value * dpi / 96;
}

int64_t Largest(const TChart& chart) {
  int64_t most = 0;
  for (const TChartSlot& slot : chart.Slots)
    if (slot.Row) most = std::max({most, slot.Row->Download, slot.Row->Upload});
  return most;
}

// The label steps to try, fewest labels skipped first: the divisors of the
// cycle, then 2, 5, 10, 20, 50, ... times it.
std::vector<int> LabelSteps(int cycle, int slots) {
  std::vector<int> steps;
  for (int step = 1; step <= cycle; ++step)
    if (cycle % step == 0) steps.push_back(step);
  for (int64_t power = 1; steps.back() < slots; power *= 10)
    for (const int times : {2, 5, 10})
      steps.push_back(static_cast<int>(std::min<int64_t>(cycle * times * power, slots)));
  return steps;
}

class TChartPainter {
 public:
  TChartPainter(TCanvas& canvas, const TChart& chart, const TChartLook& look,
                const TFormatSettings& fs)
      : FCanvas(canvas),
        FChart(chart),
        FLook(look),
        FFs(fs),
        FSize(canvas.Pixels()),
        FGap(Scaled(kGap, look.Dpi)),
        FText(canvas.TextExtent("0").Height) {}

  TChartLayout Paint(const TReportRow* selected, bool titled);

 private:
  int Header(bool titled);
  int LegendWidth();
  int LegendBox() const { return FText * 2 / 3; }
  void Legend(int x, int y);
  void ValueLabels(const TValueAxis& axis, const std::vector<std::string>& labels);
  void Bars(const TValueAxis& axis, const TReportRow* selected);
  void SlotLabels();
  // Text whose rectangle lies inside the canvas, or none.
  void Write(int x, int y, const std::string& text);
  int Width(const std::string& text) { return FCanvas.TextExtent(text).Width; }

  TCanvas& FCanvas;
  const TChart& FChart;
  const TChartLook& FLook;
  const TFormatSettings& FFs;
  const TPixels FSize;
  const int FGap;
  const int FText;  // a line's height
  TChartLayout FLayout;
};

TChartLayout TChartPainter::Paint(const TReportRow* selected, bool titled) {
  FCanvas.FillRect({0, 0, FSize.Width, FSize.Height}, FLook.Background);
  const int top = Header(titled) + FText / 2 + FGap / 2;
  const int bottom = FSize.Height - FGap - FText - FGap / 2 - FText / 2;
  const int steps = std::clamp((bottom - top) / (FText * 3 / 2), 1, kMaxSteps);
  const TValueAxis axis = ValueAxisFor(Largest(FChart), steps);
  std::vector<std::string> labels;
  int margin = 0;
  for (int step = 0; step <= axis.Steps; ++step) {
    labels.push_back(FormatAxisSize(axis.Step * step, FFs));
    margin = std::max(margin, Width(labels.back()) + 2 * FGap);
  }
  FLayout.Plot = {margin, top, FSize.Width - FGap, bottom};
  if (FLayout.Plot.IsEmpty() || FChart.Slots.empty()) return FLayout;
  FLayout.Slots = static_cast<int>(FChart.Slots.size());
  ValueLabels(axis, labels);
  Bars(axis, selected);
  SlotLabels();
  return FLayout;
}

// The title at the left of the top line, the legend at its right, or on a
// line of its own where they do not fit side by side; the header's bottom.
int TChartPainter::Header(bool titled) {
  int y = FGap;
  if (titled) {
    Write(FGap, y, FChart.Title);
    if (Width(FChart.Title) + LegendWidth() + 3 * FGap > FSize.Width) y += FText;
  }
  Legend(FSize.Width - FGap - LegendWidth(), y);
  return y + FText;
}

int TChartPainter::LegendWidth() {
  return 2 * LegendBox() + Width("DL") + Width("UL") + 3 * FGap;
}

// A square of each colour before its caption, as the lists' columns name
// them.
void TChartPainter::Legend(int x, int y) {
  const int box = LegendBox();
  for (const auto& [caption, color] : {std::pair{"DL", FLook.Download}, {"UL", FLook.Upload}}) {
    if (x >= 0) FCanvas.FillRect({x, y + (FText - box) / 2, x + box, y + (FText + box) / 2}, color);
    x += box + FGap / 2;
    Write(x, y, caption);
    x += Width(caption) + 2 * FGap;
  }
}

// Each step's line across the plot (the floor solid) and its amount left
// of it, centred on it.
void TChartPainter::ValueLabels(const TValueAxis& axis, const std::vector<std::string>& labels) {
  const TRect& plot = FLayout.Plot;
  for (int step = 0; step <= axis.Steps; ++step) {
    const int y = plot.Bottom - (plot.Bottom - plot.Top) * step / axis.Steps;
    FCanvas.Line({plot.Left, y}, {plot.Right, y}, FLook.Grid, 1,
                 step == 0 ? TPenStyle::Solid : TPenStyle::Dotted);
    Write(plot.Left - FGap - Width(labels[step]), y - FText / 2, labels[step]);
  }
}

void TChartPainter::Bars(const TValueAxis& axis, const TReportRow* selected) {
  const TRect& plot = FLayout.Plot;
  const int height = plot.Bottom - plot.Top;
  const int width = plot.Right - plot.Left;
  const int bar = std::clamp(width * 3 / 8 / FLayout.Slots, 1, Scaled(kMaxBar, FLook.Dpi));
  const auto barTop = [&](int64_t amount) {
    return plot.Bottom - static_cast<int>(static_cast<double>(amount) * height / axis.Top());
  };
  for (int i = 0; i < FLayout.Slots; ++i) {
    const TReportRow* row = FChart.Slots[i].Row;
    if (!row) continue;
    const int left = FLayout.SlotLeft(i), right = FLayout.SlotLeft(i + 1);
    if (row == selected) FCanvas.FillRect({left, plot.Top, right, plot.Bottom}, FLook.Selection);
    const int middle = (left + right) / 2;
    FCanvas.FillRect({middle - bar, barTop(row->Download), middle, plot.Bottom}, FLook.Download);
    FCanvas.FillRect({middle, barTop(row->Upload), middle + bar, plot.Bottom}, FLook.Upload);
  }
}

// Under the middle of every slot whose turn it is, kept inside the canvas;
// the turns come as often as the labels fit with a gap between them.
void TChartPainter::SlotLabels() {
  const int y = FLayout.Plot.Bottom + FText / 2 + FGap / 2;
  std::vector<int> widths;
  for (const TChartSlot& slot : FChart.Slots) widths.push_back(Width(slot.Label));
  const auto leftOf = [&](int i) {
    const int middle = (FLayout.SlotLeft(i) + FLayout.SlotLeft(i + 1)) / 2;
    return std::clamp(middle - widths[i] / 2, 0, FSize.Width - widths[i]);
  };
  const auto fits = [&](int step) {
    int end = -FGap;
    for (int i = 0; i < FLayout.Slots; i += step) {
      if (widths[i] > FSize.Width || leftOf(i) < end + FGap) return false;
      end = leftOf(i) + widths[i];
    }
    return true;
  };
  for (const int step : LabelSteps(FChart.LabelCycle, FLayout.Slots)) {
    if (!fits(step)) continue;
    for (int i = 0; i < FLayout.Slots; i += step) Write(leftOf(i), y, FChart.Slots[i].Label);
    return;
  }
}

void TChartPainter::Write(int x, int y, const std::string& text) {
  const TSize size = FCanvas.TextExtent(text);
  if (x >= 0 && y >= 0 && x + size.Width <= FSize.Width && y + size.Height <= FSize.Height)
    FCanvas.WriteText(x, y, text, FLook.Text);
}

}  // namespace

int TChartLayout::SlotLeft(int i) const {
  return Plot.Left + static_cast<int>(int64_t{Plot.Right - Plot.Left} * i / std::max(Slots, 1));
}

TChartLayout PaintReportChart(TCanvas& canvas, const TChart& chart, const TReportRow* selected,
                              bool titled, const TChartLook& look, const TFormatSettings& fs) {
  return TChartPainter(canvas, chart, look, fs).Paint(selected, titled);
}

const TReportRow* ChartRowAt(const TChart& chart, const TChartLayout& layout, int x, int y) {
  const TRect& plot = layout.Plot;
  if (layout.Slots <= 0 || !plot.Contains(x, y)) return nullptr;
  int slot = static_cast<int>(int64_t{x - plot.Left} * layout.Slots / (plot.Right - plot.Left));
  while (slot > 0 && layout.SlotLeft(slot) > x) --slot;
  while (slot + 1 < layout.Slots && layout.SlotLeft(slot + 1) <= x) ++slot;
  return chart.Slots[slot].Row;
}
