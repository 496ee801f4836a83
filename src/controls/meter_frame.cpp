#include "controls/meter_frame.h"

#include <algorithm>

#include "controls/meter_labels.h"

namespace {

constexpr int kSamplesPerTimeLabel = 60;

int64_t FloorDiv(int64_t a, int64_t b) {
  return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

class TMeterPlanner {
 public:
  TMeterPlanner(const TMeterModel& meter, TCanvas& main)
      : M(meter), FMain(main), FLocale(meter.System().Locale()) {}

  std::optional<TMeterFrame> Plan(int width, int height);

 private:
  void PlanVertical(int height);
  TMeterLayout::TLabelWidths PlanHorizontal(int& left, int& right);
  int LabelWidth();
  std::string Label(int64_t line) const;
  void PlanGridLines();
  void PlanTimeLines();
  void PlanSeries();
  TMeterText Text(int x, int y, const std::string& text);
  // A length given at 96 pixels per inch, on the meter's screen, rounded.
  int Scaled(int pixels) const { return (pixels * M.PixelsPerInch() + 48) / 96; }

  const TMeterModel& M;
  TCanvas& FMain;
  const TFormatSettings& FLocale;
  TMeterFrame F;
  TRect& FPlot = F.Layout.Plot;
  int FLabelLift = 0;  // how far above the plot a label may still stand
  TLabelFormat FFormat = TLabelFormat::Whole;
};

std::optional<TMeterFrame> TMeterPlanner::Plan(int width, int height) {
  F.Width = width;
  F.Height = height;
  F.Look = M.Look();
  F.Rgb = {FMain.ColorToRgb(M.BackgroundColor()), FMain.ColorToRgb(M.GraphBackgroundColor()),
           FMain.ColorToRgb(M.Bar1Color()),       FMain.ColorToRgb(M.Bar2Color()),
           FMain.ColorToRgb(M.GridColor()),       FMain.ColorToRgb(M.BorderColor()),
           FMain.ColorToRgb(M.TextColor())};
  F.Char = FMain.TextExtent("0");
  FLabelLift = static_cast<int>(RoundHalfEven(F.Char.Height / 1.5));
  PlanVertical(height);
  int left = Scaled(M.MarginLeft()), right = Scaled(M.MarginRight());
  F.Layout.LabelWidths = PlanHorizontal(left, right);
  if (width - right - left - 1 <= 0) return std::nullopt;
  FPlot.Left = left;
  FPlot.Right = width - right;
  F.Layout.VisibleCount = (FPlot.Right - FPlot.Left) / M.HScale();
  PlanGridLines();
  PlanTimeLines();
  PlanSeries();
  return F;
}

// Room above the plot for half a label, below it for half a label or for the
// time labels.
void TMeterPlanner::PlanVertical(int height) {
  int top = Scaled(M.MarginTop()), bottom = Scaled(M.MarginBottom());
  if (M.YaxisDisplay() == yaNone) {
    top += 1;
    if (M.ShowVScale()) bottom += F.Char.Height + Scaled(4);
  } else {
    top += F.Char.Height / 2 + Scaled(4);
    bottom += M.ShowVScale() ? F.Char.Height + Scaled(4) : F.Char.Height / 2 + Scaled(2);
  }
  FPlot.Top = top;
  FPlot.Bottom = height - bottom;
  F.Grid = ComputeScale(M.Scale(), FPlot.Bottom - top, F.Char.Height, M.MaxValue());
  FFormat = LabelFormatFor(M.Scale(), F.Grid.Step);
}

// Adds the labels' room to the margins; returns the widths to remember from
// this paint on.
TMeterLayout::TLabelWidths TMeterPlanner::PlanHorizontal(int& left, int& right) {
  const int labels = M.YaxisDisplay() == yaNone ? 0 : LabelWidth() + 2 * F.Char.Width;
  switch (M.YaxisDisplay()) {
    case yaNone:
      left += 1;
      right += 1;
      break;
    case yaLeft:
      left += labels;
      right += FLabelLift;
      break;
    case yaRight:
      left += FLabelLift;
      right += labels;
      break;
    case yaBoth:
      left += labels;
      right += labels;
      break;
  }
  // A narrower layout waits a second, plus a second for every pixel it would
  // move each sample, before it takes over.
  const TMeterLayout::TLabelWidths& memory = M.Layout().LabelWidths;
  const uint32_t now = M.System().TickCount();
  if (left >= memory.Left) return {left, right, now};
  if (static_cast<int64_t>(now - memory.Tick) <
      static_cast<int64_t>(memory.Left - left) * M.HScale() * 1000 + 1000) {
    left = memory.Left;
    right = memory.Right;
  }
  return memory;
}

int TMeterPlanner::LabelWidth() {
  int width = 0;
  for (int64_t line = 0; line <= F.Grid.Count + 1; ++line)
    width = std::max(width, FMain.TextExtent(Label(line)).Width);
  return width;
}

std::string TMeterPlanner::Label(int64_t line) const {
  return AxisLabel(line * F.Grid.Step, M.Scale(), M.YAxisSuffex(), FFormat, FLocale);
}

TMeterText TMeterPlanner::Text(int x, int y, const std::string& text) {
  const TSize extent = FMain.TextExtent(text);
  return {{x, y, x + extent.Width, y + extent.Height}, text};
}

void TMeterPlanner::PlanGridLines() {
  const int plotHeight = FPlot.Bottom - FPlot.Top;
  for (int64_t line = 1; line <= F.Grid.Count + 1; ++line) {
    TMeterFrame::TGridLine grid;
    grid.Y = FPlot.Bottom -
             static_cast<int>(
                 RoundHalfEven(static_cast<double>(line * F.Grid.Step) / F.Grid.Top * plotHeight)) -
             2;
    grid.Line = M.ShowGrid() && grid.Y > FPlot.Top && grid.Y < FPlot.Bottom - 2;
    if (grid.Y >= FPlot.Top - 2 && grid.Y > FPlot.Top - FLabelLift) {
      const std::string text = Label(line);
      const int top = grid.Y - F.Char.Height / 2;
      if (M.YaxisDisplay() == yaLeft || M.YaxisDisplay() == yaBoth)
        grid.Labels.push_back(
            Text(FPlot.Left - FMain.TextExtent(text).Width - F.Char.Width - 1, top, text));
      if (M.YaxisDisplay() == yaRight || M.YaxisDisplay() == yaBoth)
        grid.Labels.push_back(Text(FPlot.Right + F.Char.Width, top, text));
    }
    F.GridLines.push_back(std::move(grid));
  }
}

// A line every VPos pixels from the right edge; the labels name the sample
// 60, 120, ... samples back from the right edge, whatever the spacing.
void TMeterPlanner::PlanTimeLines() {
  if (!M.VLine() || M.VPos() <= 0 || FPlot.Right - M.VPos() <= FPlot.Left) return;
  const int32_t count = M.SampleCount();
  const int32_t newest =
      count - 1 - (M.BrowseOffset() != -1 ? M.BrowseOffset() - F.Layout.VisibleCount : 0);
  const TDateTime now = M.System().Now();
  int64_t k = 1;
  for (int x = FPlot.Right - M.VPos(); x >= FPlot.Left; ++k, x -= M.VPos()) {
    TMeterFrame::TTimeLine line{x, {}};
    const int64_t n = newest - kSamplesPerTimeLabel * k;
    if (M.ShowVScale() && count > kSamplesPerTimeLabel && n > 0 && n < count) {
      const std::string text = TimeLabel(M.Sample(static_cast<int32_t>(n)).Time, now);
      const int width = FMain.TextExtent(text).Width;
      // Half a label at the window's edge says nothing; leave it out.
      if (x - width / 2 >= 0 && x - width / 2 + width <= F.Width)
        line.Label = Text(x - width / 2, FPlot.Bottom + Scaled(3), text);
    }
    F.TimeLines.push_back(std::move(line));
  }
}

// The samples drawn: from the first in view to the first that reaches the
// right edge, or the last at or before it.
void TMeterPlanner::PlanSeries() {
  const int32_t count = M.SampleCount();
  const int hScale = M.HScale();
  F.Reach = M.AntiAlias() > 0 ? M.LineWidth() / 2 + 2 : 2;
  F.BrowseOffset = M.BrowseOffset();
  F.Appends = M.Appends();
  F.Clears = M.Clears();
  if (F.Layout.VisibleCount <= 0 || count == 0) return;
  F.First = M.FirstVisible(F.Layout.VisibleCount);
  F.FirstX = M.FirstX(F.First, FPlot);
  F.NewestX = F.FirstX + static_cast<int64_t>(count - 1 - F.First) * hScale;
  const int64_t toEdge = std::min(FloorDiv(FPlot.Right - F.FirstX, hScale),
                                  -FloorDiv(F.FirstX + 1 - FPlot.Right, hScale));
  F.Last = static_cast<int32_t>(std::min<int64_t>(count - 1, F.First + toEdge));
  // With nothing older to the left, the graph rises from the bottom edge.
  F.RiseFromBottom = F.Layout.VisibleCount >= count - 1;
}

}  // namespace

std::optional<TMeterFrame> PlanMeter(const TMeterModel& meter, TCanvas& main, int width,
                                     int height) {
  return TMeterPlanner(meter, main).Plan(width, height);
}
