#include "controls/meter_painter.h"

#include <algorithm>
#include <optional>

#include "controls/meter_pixels.h"

namespace {

struct TSeries {
  TColor Color;
  std::optional<TPoint> End;  // of the last segment, in drawing coordinates
};

// Draws one part of a planned frame. Everything that may reach into the part
// is drawn in the order of a whole paint, under a clip, so the part comes
// out as a whole paint would leave it.
class TMeterPainter {
 public:
  TMeterPainter(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main, TCanvas& super)
      : M(meter),
        F(frame),
        FPlot(frame.Layout.Plot),
        FMain(main),
        FSuper(super),
        FFactor(frame.Look.AntiAlias > 0 ? frame.Look.AntiAlias + 1 : 1) {}

  void Paint(const TRect& part);

 private:
  void DrawGrid();
  void DrawText(const TMeterText& text);
  void DrawSeries();
  void DrawSegment(TSeries& series, int32_t value, int32_t index);
  void DrawFill(TColor color, TPoint top);
  void DrawSmooth(TPoint a, TPoint b, double weight, TColor color);
  int SampleX(int32_t index) const;
  int ValueToY(int32_t value) const;
  TPoint Scaled(int x, int y) const { return {x * FFactor, y * FFactor}; }
  TRect Scaled(const TRect& r) const {
    return {r.Left * FFactor, r.Top * FFactor, r.Right * FFactor, r.Bottom * FFactor};
  }

  const TMeterModel& M;
  const TMeterFrame& F;
  const TRect& FPlot;
  TCanvas& FMain;
  TCanvas& FSuper;
  const int FFactor;
  TRect FPart;
  // Series at factor 1 go straight into the main bitmap's pixels.
  TSmoothTarget FSmooth;
};

void TMeterPainter::Paint(const TRect& part) {
  FPart = part.Intersection({0, 0, F.Width, F.Height});
  if (FPart.IsEmpty()) return;
  FMain.SetClip(FPart);
  TCanvas& surface = FFactor > 1 ? FSuper : FMain;
  if (FFactor > 1) FSuper.SetClip(Scaled(FPart));
  surface.FillRect(Scaled({0, 0, F.Width, F.Height}), M.BackgroundColor());
  surface.FillRect(Scaled(FPlot), M.GraphBackgroundColor());
  // The grid lies under plain series; over supersampled ones it is drawn
  // after the filter, so it stays sharp.
  if (FFactor == 1) DrawGrid();
  DrawSeries();
  if (FFactor > 1) {
    BoxFilter(FSuper.Pixels(), FMain.Pixels(), FFactor, FPart);
    DrawGrid();
  }
  FMain.FrameRect(FPlot.Inflate(1), M.BorderColor());
}

void TMeterPainter::DrawGrid() {
  const TPenStyle style = M.GridStyle() == gDotted ? TPenStyle::Dotted : TPenStyle::Solid;
  for (const TMeterFrame::TGridLine& line : F.GridLines) {
    for (const TMeterText& label : line.Labels) DrawText(label);
    if (line.Line && FPart.Intersects({FPlot.Left, line.Y + 1, FPlot.Right, line.Y + 2}))
      FMain.Line({FPlot.Left, line.Y + 1}, {FPlot.Right, line.Y + 1}, M.GridColor(), 1, style);
  }
  for (const TMeterFrame::TTimeLine& line : F.TimeLines) {
    if (FPart.Intersects({line.X, FPlot.Top, line.X + 1, FPlot.Bottom}))
      FMain.Line({line.X, FPlot.Top}, {line.X, FPlot.Bottom}, M.GridColor(), 1, style);
    if (line.Label) DrawText(*line.Label);
  }
}

void TMeterPainter::DrawText(const TMeterText& text) {
  if (FPart.Intersects(text.Ink()))
    FMain.WriteText(text.Box.Left, text.Box.Top, text.Text, M.TextColor());
}

// Only the samples whose drawing may reach into the part: sample i draws
// from sample i - 1 to itself, and its fill a column to its right.
void TMeterPainter::DrawSeries() {
  if (F.Last < F.First) return;
  if (FFactor == 1)
    FSmooth = {FMain.Pixels(),
               FPlot.Right,
               FPlot.Bottom,
               M.Solid(),
               FMain.ColorToRgb(M.GraphBackgroundColor()),
               FMain.ColorToRgb(M.GridColor()),
               FPart};
  const int h = M.HScale();
  const auto from = static_cast<int32_t>(
      std::max<int64_t>(F.First, F.First + (FPart.Left - F.Reach - 1 - F.FirstX) / h - 1));
  const auto to = static_cast<int32_t>(
      std::min<int64_t>(F.Last, F.First + (FPart.Right + F.Reach + h - F.FirstX) / h + 1));
  TSeries series1{M.Bar1Color(), {}}, series2{M.Bar2Color(), {}};
  if (from > F.First) {
    const THistoryData& before = M.Sample(from - 1);
    series1.End = Scaled(SampleX(from - 1), ValueToY(before.Value1));
    series2.End = Scaled(SampleX(from - 1), ValueToY(before.Value2));
  }
  for (int32_t i = from; i <= to; ++i) {
    const THistoryData& sample = M.Sample(i);
    // The larger value first, so the smaller one lies on top.
    if (sample.Value2 < sample.Value1) {
      DrawSegment(series1, sample.Value1, i);
      DrawSegment(series2, sample.Value2, i);
    } else {
      DrawSegment(series2, sample.Value2, i);
      DrawSegment(series1, sample.Value1, i);
    }
  }
}

void TMeterPainter::DrawSegment(TSeries& series, int32_t value, int32_t index) {
  const TPoint end = Scaled(SampleX(index), ValueToY(value));
  const TPoint start = series.End         ? *series.End
                       : F.RiseFromBottom ? Scaled(F.FirstX, FPlot.Bottom)
                                          : end;
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

int TMeterPainter::SampleX(int32_t index) const {
  return F.FirstX + M.HScale() * (index - F.First);
}

// Values at the top land one pixel inside the plot, so the frame does not
// hide them; the top compares with the stored value as it is.
int TMeterPainter::ValueToY(int32_t value) const {
  const int plotHeight = FPlot.Bottom - FPlot.Top;
  int64_t y;
  if (value == F.Grid.Top)
    y = FPlot.Top;
  else if (value <= 0)
    y = FPlot.Bottom;
  else
    y = FPlot.Top + plotHeight -
        RoundHalfEven(static_cast<double>(ToScaleUnits(value, M.Scale())) / F.Grid.Top *
                      plotHeight);
  if (y < FPlot.Top) y = FPlot.Top + 1;
  if (y > FPlot.Bottom) y = FPlot.Bottom;
  return static_cast<int>(y);
}

}  // namespace

void PaintMeterPart(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                    TCanvas& super, const TRect& part) {
  TMeterPainter(meter, frame, main, super).Paint(part);
}

void PaintMeterWhole(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                     TCanvas& super) {
  const int factor = frame.Look.AntiAlias > 0 ? frame.Look.AntiAlias + 1 : 1;
  main.SetSize(frame.Width, frame.Height);
  super.SetSize(factor > 1 ? frame.Width * factor : 0, factor > 1 ? frame.Height * factor : 0);
  PaintMeterPart(meter, frame, main, super, {0, 0, frame.Width, frame.Height});
}

std::optional<TMeterLayout> PaintMeter(const TMeterModel& meter, TCanvas& main, TCanvas& super,
                                       int width, int height) {
  const std::optional<TMeterFrame> frame = PlanMeter(meter, main, width, height);
  if (!frame) return std::nullopt;
  PaintMeterWhole(meter, *frame, main, super);
  return frame->Layout;
}
