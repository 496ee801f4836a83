#include "reports/report_chart.h"

#include <algorithm>

#include "formatting/number_format.h"

namespace {

// At 96 DPI: the narrowest and the widest place of a row (a few rows show
// as bars, not blocks), and the gaps around the plot.
constexpr int kMinSlot = 6;
constexpr int kMaxSlot = 48;
constexpr int kGap = 4;

int Scaled(int value, int dpi) {
  return value * dpi / 96;
}

// The bar of an amount, standing on the plot's floor.
int BarHeight(int64_t amount, int64_t most, int plotHeight) {
  return most > 0 ? static_cast<int>(static_cast<double>(amount) * plotHeight /
                                     static_cast<double>(most))
                  : 0;
}

}  // namespace

TChartLayout PaintReportChart(TCanvas& canvas, const std::vector<const TReportRow*>& rows,
                              int first, int selected, const TChartLook& look,
                              const TFormatSettings& fs) {
  const TPixels size = canvas.Pixels();
  canvas.FillRect({0, 0, size.Width, size.Height}, look.Background);
  TChartLayout layout;
  layout.First = std::clamp(first, 0, static_cast<int>(rows.size()));

  // The scale comes from the rows that fit; those depend on the labels'
  // width, which a first guess at the largest label settles.
  const int gap = Scaled(kGap, look.Dpi);
  const int textHeight = canvas.TextExtent("0").Height;
  int64_t most = 0;
  for (size_t i = layout.First; i < rows.size(); ++i)
    most = std::max({most, rows[i]->Download, rows[i]->Upload});
  int labels = 0;
  for (const double amount : {static_cast<double>(most), most / 2.0, 0.0})
    labels = std::max(labels, canvas.TextExtent(FormatByteSize(amount, fs)).Width + 2 * gap);
  layout.Plot = {labels, textHeight / 2 + gap, size.Width - gap,
                 size.Height - textHeight / 2 - gap};
  const int width = layout.Plot.Right - layout.Plot.Left;
  const int height = layout.Plot.Bottom - layout.Plot.Top;
  const int remaining = static_cast<int>(rows.size()) - layout.First;
  if (width <= 0 || height <= 0 || remaining <= 0) return layout;
  layout.SlotWidth =
      std::clamp(width / remaining, Scaled(kMinSlot, look.Dpi), Scaled(kMaxSlot, look.Dpi));
  layout.Count = std::min(remaining, width / layout.SlotWidth);

  // The largest amount of the rows shown is the top of the scale.
  most = 0;
  for (int i = 0; i < layout.Count; ++i)
    most = std::max({most, rows[layout.First + i]->Download, rows[layout.First + i]->Upload});
  for (int step = 0; step <= 2; ++step) {
    const int y = layout.Plot.Top + height * step / 2;
    canvas.Line({layout.Plot.Left, y}, {layout.Plot.Right, y}, look.Grid, 1, TPenStyle::Dotted);
    const std::string label = FormatByteSize(static_cast<double>(most) * (2 - step) / 2, fs);
    const int x = layout.Plot.Left - gap - canvas.TextExtent(label).Width;
    canvas.WriteText(x, y - textHeight / 2, label, look.Text);
  }
  const int bar = std::max(1, (layout.SlotWidth - std::max(1, layout.SlotWidth / 4)) / 2);
  for (int i = 0; i < layout.Count; ++i) {
    const TReportRow& row = *rows[layout.First + i];
    const int left = layout.Plot.Left + i * layout.SlotWidth;
    if (layout.First + i == selected)
      canvas.FillRect({left, layout.Plot.Top, left + layout.SlotWidth, layout.Plot.Bottom},
                      look.Selection);
    const int floor = layout.Plot.Bottom;
    canvas.FillRect({left, floor - BarHeight(row.Download, most, height), left + bar, floor},
                    look.Download);
    canvas.FillRect(
        {left + bar, floor - BarHeight(row.Upload, most, height), left + 2 * bar, floor},
        look.Upload);
  }
  return layout;
}

int ChartRowAt(const TChartLayout& layout, int x, int y) {
  if (layout.SlotWidth <= 0 || y < layout.Plot.Top || y >= layout.Plot.Bottom ||
      x < layout.Plot.Left)
    return -1;
  const int slot = (x - layout.Plot.Left) / layout.SlotWidth;
  return slot < layout.Count ? layout.First + slot : -1;
}
