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

}  // namespace

class TMeterPainter {
 public:
  TMeterPainter(TMeterModel& meter, TCanvas& main, TCanvas& super)
      : M(meter), FMain(main), FSuper(super), FLocale(meter.FSystem.Locale()) {}

  bool Paint(int width, int height);

 private:
  void PlanVertical(int height);
  void PlanHorizontal(int& left, int& right);
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

  TMeterModel& M;
  TCanvas& FMain;
  TCanvas& FSuper;
  const TFormatSettings& FLocale;
  int FFactor = 1;
  int FWidth = 0;
  TSize FChar;         // of "0" in the font
  int FLabelLift = 0;  // how far above the plot a label may still stand
  TRect FPlot;
  int FPlotHeight = 0;
  TScaleGrid FGrid;
  TLabelFormat FFormat = TLabelFormat::Whole;
  // Series at factor 1 go straight into the main bitmap's pixels.
  TSmoothTarget FSmooth;
  int FX0 = 0;
  bool FRiseFromBottom = false;
};

bool PaintMeter(TMeterModel& meter, TCanvas& main, TCanvas& super, int width, int height) {
  return TMeterPainter(meter, main, super).Paint(width, height);
}

bool TMeterPainter::Paint(int width, int height) {
  FWidth = width;
  FFactor = M.FAntiAlias > 0 ? M.FAntiAlias + 1 : 1;
  FChar = FMain.TextExtent("0");
  FLabelLift = static_cast<int>(RoundHalfEven(FChar.Height / 1.5));
  PlanVertical(height);
  int left = M.FMarginLeft, right = M.FMarginRight;
  PlanHorizontal(left, right);
  if (width - right - left - 1 <= 0) return false;

  FMain.SetSize(width, height);
  FSuper.SetSize(FFactor > 1 ? width * FFactor : 0, FFactor > 1 ? height * FFactor : 0);
  FPlot.Left = left;
  FPlot.Right = width - right;
  M.FPlot = FPlot;
  M.FVisibleCount = (FPlot.Right - FPlot.Left) / M.FHScale;

  TCanvas& surface = FFactor > 1 ? FSuper : FMain;
  surface.FillRect({0, 0, width * FFactor, height * FFactor}, M.FBackgroundColor);
  const TPoint plotTopLeft = Scaled(FPlot.Left, FPlot.Top);
  const TPoint plotBottomRight = Scaled(FPlot.Right, FPlot.Bottom);
  surface.FillRect({plotTopLeft.X, plotTopLeft.Y, plotBottomRight.X, plotBottomRight.Y},
                   M.FGraphBackgroundColor);
  // The grid lies under plain series; over supersampled ones it is drawn
  // after the filter, so it stays sharp.
  if (FFactor == 1) DrawGrid();
  DrawSeries();
  if (FFactor > 1) {
    BoxFilter(FSuper.Pixels(), FMain.Pixels(), FFactor);
    DrawGrid();
  }
  FMain.FrameRect({FPlot.Left - 1, FPlot.Top - 1, FPlot.Right + 1, FPlot.Bottom + 1},
                  M.FBorderColor);
  return true;
}

// Room above the plot for half a label, below it for half a label or for the
// time labels.
void TMeterPainter::PlanVertical(int height) {
  int top = M.FMarginTop, bottom = M.FMarginBottom;
  if (M.FYaxisDisplay == yaNone) {
    top += 1;
    if (M.FShowVScale) bottom += FChar.Height + 4;
  } else {
    top += FChar.Height / 2 + 4;
    bottom += M.FShowVScale ? FChar.Height + 4 : FChar.Height / 2 + 2;
  }
  FPlot.Top = top;
  FPlot.Bottom = height - bottom;
  FPlotHeight = FPlot.Bottom - top;
  FGrid = ComputeScale(M.FScale, FPlotHeight, FChar.Height, M.FMaxValue);
  FFormat = LabelFormatFor(M.FScale, FGrid.Step);
}

void TMeterPainter::PlanHorizontal(int& left, int& right) {
  const int labels = M.FYaxisDisplay == yaNone ? 0 : LabelWidth() + 2 * FChar.Width;
  switch (M.FYaxisDisplay) {
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
  auto& memory = M.FLabelWidths;
  const uint32_t now = M.FSystem.TickCount();
  if (left >= memory.Left) {
    memory = {left, right, now};
  } else if (static_cast<int64_t>(now - memory.Tick) <
             static_cast<int64_t>(memory.Left - left) * M.FHScale * 1000 + 1000) {
    left = memory.Left;
    right = memory.Right;
  }
}

int TMeterPainter::LabelWidth() {
  int width = 0;
  for (int64_t line = 0; line <= FGrid.Count + 1; ++line)
    width = std::max(width, FMain.TextExtent(Label(line)).Width);
  return width;
}

std::string TMeterPainter::Label(int64_t line) const {
  return AxisLabel(line * FGrid.Step, M.FScale, M.FYAxisSuffex, FFormat, FLocale);
}

void TMeterPainter::DrawGrid() {
  const TPenStyle style = M.FGridStyle == gDotted ? TPenStyle::Dotted : TPenStyle::Solid;
  for (int64_t line = 1; line <= FGrid.Count + 1; ++line) {
    const int y = FPlot.Top + FPlotHeight -
                  static_cast<int>(RoundHalfEven(static_cast<double>(line * FGrid.Step) /
                                                 FGrid.Top * FPlotHeight)) -
                  2;
    if (y >= FPlot.Top - 2 && y > FPlot.Top - FLabelLift) DrawAxisLabels(line, y);
    if (M.FShowGrid && y > FPlot.Top && y < FPlot.Bottom - 2)
      FMain.Line({FPlot.Left, y + 1}, {FPlot.Right, y + 1}, M.FGridColor, 1, style);
  }
  if (M.FVLine && M.FVPos > 0) DrawTimeLines(style);
}

void TMeterPainter::DrawAxisLabels(int64_t line, int y) {
  const std::string text = Label(line);
  const int top = y - FChar.Height / 2;
  if (M.FYaxisDisplay == yaLeft || M.FYaxisDisplay == yaBoth)
    FMain.WriteText(FPlot.Left - FMain.TextExtent(text).Width - FChar.Width - 1, top, text,
                    M.FTextColor);
  if (M.FYaxisDisplay == yaRight || M.FYaxisDisplay == yaBoth)
    FMain.WriteText(FPlot.Right + FChar.Width, top, text, M.FTextColor);
}

// A line every VPos pixels from the right edge; the labels name the sample
// 60, 120, ... samples back from the right edge, whatever the spacing.
void TMeterPainter::DrawTimeLines(TPenStyle style) {
  int x = FPlot.Right - M.FVPos;
  if (x <= FPlot.Left) return;
  const int32_t count = M.SampleCount();
  const int32_t newest =
      count - 1 - (M.FBrowseOffset != -1 ? M.FBrowseOffset - M.FVisibleCount : 0);
  const TDateTime now = M.FSystem.Now();
  for (int64_t k = 1; x >= FPlot.Left; ++k, x -= M.FVPos) {
    FMain.Line({x, FPlot.Top}, {x, FPlot.Top + FPlotHeight}, M.FGridColor, 1, style);
    if (!M.FShowVScale || count <= kSamplesPerTimeLabel) continue;
    const int64_t n = newest - kSamplesPerTimeLabel * k;
    if (n <= 0 || n >= count) continue;
    const std::string text = TimeLabel(M.FHistory[static_cast<int32_t>(n)].Time, now);
    const int width = FMain.TextExtent(text).Width;
    // Half a label at the window's edge says nothing; leave it out.
    if (x - width / 2 < 0 || x - width / 2 + width > FWidth) continue;
    FMain.WriteText(x - width / 2, FPlot.Top + FPlotHeight + 3, text, M.FTextColor);
  }
}

void TMeterPainter::DrawSeries() {
  const int32_t count = M.SampleCount();
  if (M.FVisibleCount <= 0 || count == 0) return;
  if (FFactor == 1)
    FSmooth = {FMain.Pixels(),
               FPlot.Right,
               FPlot.Bottom,
               M.FSolid,
               FMain.ColorToRgb(M.FGraphBackgroundColor),
               FMain.ColorToRgb(M.FGridColor)};
  const int32_t first = M.FirstVisible();
  FX0 = M.FirstX(first);
  // With nothing older to the left, the graph rises from the bottom edge.
  FRiseFromBottom = M.FVisibleCount >= count - 1;
  TSeries series1{M.FBar1Color, {}}, series2{M.FBar2Color, {}};
  for (int32_t i = first; i < count; ++i) {
    const THistoryData& sample = M.FHistory[i];
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
  const int64_t x = FX0 + static_cast<int64_t>(M.FHScale) * position;
  if (x > FPlot.Right) return;
  const int y = ValueToY(value);
  const TPoint end = Scaled(static_cast<int>(x), y);
  const TPoint start = series.End ? *series.End : FRiseFromBottom ? Scaled(FX0, FPlot.Bottom) : end;
  if (FFactor == 1)
    DrawSmooth(start, end, 1.0, series.Color);
  else
    FSuper.Line(start, end, series.Color, M.FLineWidth * FFactor, TPenStyle::Solid);
  series.End = end;
  if (M.FSolid) DrawFill(series.Color, end);
}

// A line from the sample down to the bottom edge, and at two pixels a sample
// a second one beside it, so the area has no gaps. Supersampled too: a
// single pen as wide as the factor would leave stripes after the filter.
void TMeterPainter::DrawFill(TColor color, TPoint top) {
  const int columns = M.FHScale == 2 ? 2 : 1;
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
        RoundHalfEven(static_cast<double>(ToScaleUnits(value, M.FScale)) / FGrid.Top * FPlotHeight);
  if (y < FPlot.Top) y = FPlot.Top + 1;
  if (y > FPlot.Bottom) y = FPlot.Bottom;
  return static_cast<int>(y);
}
