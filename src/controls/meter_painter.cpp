#include "controls/meter_painter.h"

#include <algorithm>
#include <optional>

#include "controls/meter_labels.h"
#include "controls/meter_pixels.h"

namespace {

constexpr int kSamplesPerTimeLabel = 60;

struct TSeries {
  TColor Color;
  std::optional<TPoint> End;  // of the last segment, in drawing coordinates
};

class TMeterPainter {
 public:
  TMeterPainter(const TMeterModel& meter, TCanvas& main, TCanvas& super)
      : M(meter), FMain(main), FSuper(super), FLocale(meter.System().Locale()) {}

  std::optional<TMeterLayout> Paint(int width, int height);

 private:
  void PlanVertical(int height);
  TMeterLayout::TLabelWidths PlanHorizontal(int& left, int& right);
  int LabelWidth();
  std::string Label(int64_t line) const;
  void DrawGrid();
  void DrawAxisLabels(int64_t line, int y);
  void DrawTimeLines(TPenStyle style);
  void DrawSeries();
  void DrawSegment(TSeries& series, int32_t value, int position);
  void DrawFill(TColor color, TPoint top);
  void DrawSmooth(TPoint a, TPoint b, double weight, TColor color);
  int ValueToY(int32_t value) const;
  TPoint Scaled(int x, int y) const { return {x * FFactor, y * FFactor}; }

  const TMeterModel& M;
  TCanvas& FMain;
  TCanvas& FSuper;
  const TFormatSettings& FLocale;
  int FFactor = 1;
  int FWidth = 0;
  TSize FChar;         // of "0" in the font
  int FLabelLift = 0;  // how far above the plot a label may still stand
  TRect FPlot;
  int32_t FVisibleCount = 0;
  int FPlotHeight = 0;
  TScaleGrid FGrid;
  TLabelFormat FFormat = TLabelFormat::Whole;
  // Series at factor 1 go straight into the main bitmap's pixels.
  TSmoothTarget FSmooth;
  int FX0 = 0;
  bool FRiseFromBottom = false;
};

}  // namespace

std::optional<TMeterLayout> PaintMeter(const TMeterModel& meter, TCanvas& main, TCanvas& super,
                                       int width, int height) {
  return TMeterPainter(meter, main, super).Paint(width, height);
}

std::optional<TMeterLayout> TMeterPainter::Paint(int width, int height) {
  FWidth = width;
  FFactor = M.AntiAlias() > 0 ? M.AntiAlias() + 1 : 1;
  FChar = FMain.TextExtent("0");
  FLabelLift = static_cast<int>(RoundHalfEven(FChar.Height / 1.5));
  PlanVertical(height);
  int left = M.MarginLeft(), right = M.MarginRight();
  const TMeterLayout::TLabelWidths labelWidths = PlanHorizontal(left, right);
  if (width - right - left - 1 <= 0) return std::nullopt;

  FMain.SetSize(width, height);
  FSuper.SetSize(FFactor > 1 ? width * FFactor : 0, FFactor > 1 ? height * FFactor : 0);
  FPlot.Left = left;
  FPlot.Right = width - right;
  FVisibleCount = (FPlot.Right - FPlot.Left) / M.HScale();

  TCanvas& surface = FFactor > 1 ? FSuper : FMain;
  surface.FillRect({0, 0, width * FFactor, height * FFactor}, M.BackgroundColor());
  const TPoint plotTopLeft = Scaled(FPlot.Left, FPlot.Top);
  const TPoint plotBottomRight = Scaled(FPlot.Right, FPlot.Bottom);
  surface.FillRect({plotTopLeft.X, plotTopLeft.Y, plotBottomRight.X, plotBottomRight.Y},
                   M.GraphBackgroundColor());
  // The grid lies under plain series; over supersampled ones it is drawn
  // after the filter, so it stays sharp.
  if (FFactor == 1) DrawGrid();
  DrawSeries();
  if (FFactor > 1) {
    BoxFilter(FSuper.Pixels(), FMain.Pixels(), FFactor);
    DrawGrid();
  }
  FMain.FrameRect({FPlot.Left - 1, FPlot.Top - 1, FPlot.Right + 1, FPlot.Bottom + 1},
                  M.BorderColor());
  return TMeterLayout{FPlot, FVisibleCount, labelWidths};
}

// Room above the plot for half a label, below it for half a label or for the
// time labels.
void TMeterPainter::PlanVertical(int height) {
  int top = M.MarginTop(), bottom = M.MarginBottom();
  if (M.YaxisDisplay() == yaNone) {
    top += 1;
    if (M.ShowVScale()) bottom += FChar.Height + 4;
  } else {
    top += FChar.Height / 2 + 4;
    bottom += M.ShowVScale() ? FChar.Height + 4 : FChar.Height / 2 + 2;
  }
  FPlot.Top = top;
  FPlot.Bottom = height - bottom;
  FPlotHeight = FPlot.Bottom - top;
  FGrid = ComputeScale(M.Scale(), FPlotHeight, FChar.Height, M.MaxValue());
  FFormat = LabelFormatFor(M.Scale(), FGrid.Step);
}

// Adds the labels' room to the margins; returns the widths to remember from
// this paint on.
TMeterLayout::TLabelWidths TMeterPainter::PlanHorizontal(int& left, int& right) {
  const int labels = M.YaxisDisplay() == yaNone ? 0 : LabelWidth() + 2 * FChar.Width;
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

int TMeterPainter::LabelWidth() {
  int width = 0;
  for (int64_t line = 0; line <= FGrid.Count + 1; ++line)
    width = std::max(width, FMain.TextExtent(Label(line)).Width);
  return width;
}

std::string TMeterPainter::Label(int64_t line) const {
  return AxisLabel(line * FGrid.Step, M.Scale(), M.YAxisSuffex(), FFormat, FLocale);
}

void TMeterPainter::DrawGrid() {
  const TPenStyle style = M.GridStyle() == gDotted ? TPenStyle::Dotted : TPenStyle::Solid;
  for (int64_t line = 1; line <= FGrid.Count + 1; ++line) {
    const int y = FPlot.Top + FPlotHeight -
                  static_cast<int>(RoundHalfEven(static_cast<double>(line * FGrid.Step) /
                                                 FGrid.Top * FPlotHeight)) -
                  2;
    if (y >= FPlot.Top - 2 && y > FPlot.Top - FLabelLift) DrawAxisLabels(line, y);
    if (M.ShowGrid() && y > FPlot.Top && y < FPlot.Bottom - 2)
      FMain.Line({FPlot.Left, y + 1}, {FPlot.Right, y + 1}, M.GridColor(), 1, style);
  }
  if (M.VLine() && M.VPos() > 0) DrawTimeLines(style);
}

void TMeterPainter::DrawAxisLabels(int64_t line, int y) {
  const std::string text = Label(line);
  const int top = y - FChar.Height / 2;
  if (M.YaxisDisplay() == yaLeft || M.YaxisDisplay() == yaBoth)
    FMain.WriteText(FPlot.Left - FMain.TextExtent(text).Width - FChar.Width - 1, top, text,
                    M.TextColor());
  if (M.YaxisDisplay() == yaRight || M.YaxisDisplay() == yaBoth)
    FMain.WriteText(FPlot.Right + FChar.Width, top, text, M.TextColor());
}

// A line every VPos pixels from the right edge; the labels name the sample
// 60, 120, ... samples back from the right edge, whatever the spacing.
void TMeterPainter::DrawTimeLines(TPenStyle style) {
  int x = FPlot.Right - M.VPos();
  if (x <= FPlot.Left) return;
  const int32_t count = M.SampleCount();
  const int32_t newest =
      count - 1 - (M.BrowseOffset() != -1 ? M.BrowseOffset() - FVisibleCount : 0);
  const TDateTime now = M.System().Now();
  for (int64_t k = 1; x >= FPlot.Left; ++k, x -= M.VPos()) {
    FMain.Line({x, FPlot.Top}, {x, FPlot.Top + FPlotHeight}, M.GridColor(), 1, style);
    if (!M.ShowVScale() || count <= kSamplesPerTimeLabel) continue;
    const int64_t n = newest - kSamplesPerTimeLabel * k;
    if (n <= 0 || n >= count) continue;
    const std::string text = TimeLabel(M.Sample(static_cast<int32_t>(n)).Time, now);
    const int width = FMain.TextExtent(text).Width;
    // Half a label at the window's edge says nothing; leave it out.
    if (x - width / 2 < 0 || x - width / 2 + width > FWidth) continue;
    FMain.WriteText(x - width / 2, FPlot.Top + FPlotHeight + 3, text, M.TextColor());
  }
}

void TMeterPainter::DrawSeries() {
  const int32_t count = M.SampleCount();
  if (FVisibleCount <= 0 || count == 0) return;
  if (FFactor == 1)
    FSmooth = {FMain.Pixels(),
               FPlot.Right,
               FPlot.Bottom,
               M.Solid(),
               FMain.ColorToRgb(M.GraphBackgroundColor()),
               FMain.ColorToRgb(M.GridColor())};
  const int32_t first = M.FirstVisible(FVisibleCount);
  FX0 = M.FirstX(first, FPlot);
  // With nothing older to the left, the graph rises from the bottom edge.
  FRiseFromBottom = FVisibleCount >= count - 1;
  TSeries series1{M.Bar1Color(), {}}, series2{M.Bar2Color(), {}};
  for (int32_t i = first; i < count; ++i) {
    const THistoryData& sample = M.Sample(i);
    // The larger value first, so the smaller one lies on top.
    const int position = i - first;
    if (sample.Value2 < sample.Value1) {
      DrawSegment(series1, sample.Value1, position);
      DrawSegment(series2, sample.Value2, position);
    } else {
      DrawSegment(series2, sample.Value2, position);
      DrawSegment(series1, sample.Value1, position);
    }
    if (series1.End && series1.End->X / FFactor >= FPlot.Right - 1) break;
  }
}

void TMeterPainter::DrawSegment(TSeries& series, int32_t value, int position) {
  const int64_t x = FX0 + static_cast<int64_t>(M.HScale()) * position;
  if (x > FPlot.Right) return;
  const int y = ValueToY(value);
  const TPoint end = Scaled(static_cast<int>(x), y);
  const TPoint start = series.End ? *series.End : FRiseFromBottom ? Scaled(FX0, FPlot.Bottom) : end;
  if (FFactor == 1)
    DrawSmooth(start, end, 1.0, series.Color);
  else
    FSuper.Line(start, end, series.Color, M.LineWidth() * FFactor, TPenStyle::Solid);
  series.End = end;
  if (M.Solid()) DrawFill(series.Color, end);
}

// A line from the sample down to the bottom edge, and at two pixels a sample
// a second one beside it, so the area has no gaps. Supersampled too: a
// single pen as wide as the factor would leave stripes after the filter.
void TMeterPainter::DrawFill(TColor color, TPoint top) {
  const int columns = M.HScale() == 2 ? 2 : 1;
  for (int c = 0; c < columns; ++c) {
    const TPoint from{top.X + c * FFactor, top.Y}, to{top.X + c * FFactor, FPlot.Bottom * FFactor};
    if (FFactor == 1)
      DrawSmooth(from, to, 0.55, color);
    else
      FSuper.Line(from, to, color, FFactor, TPenStyle::Solid);
  }
}

void TMeterPainter::DrawSmooth(TPoint a, TPoint b, double weight, TColor color) {
  DrawSmoothLine(FSmooth, a, b, weight, FMain.ColorToRgb(color));
}

// Values at the top land one pixel inside the plot, so the frame does not
// hide them; the top compares with the stored value as it is.
int TMeterPainter::ValueToY(int32_t value) const {
  int64_t y;
  if (value == FGrid.Top)
    y = FPlot.Top;
  else if (value <= 0)
    y = FPlot.Bottom;
  else
    y = FPlot.Top + FPlotHeight -
        RoundHalfEven(static_cast<double>(ToScaleUnits(value, M.Scale())) / FGrid.Top *
                      FPlotHeight);
  if (y < FPlot.Top) y = FPlot.Top + 1;
  if (y > FPlot.Bottom) y = FPlot.Bottom;
  return static_cast<int>(y);
}
