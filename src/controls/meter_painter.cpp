#include "controls/meter_painter.h"

#include <algorithm>
#include <array>
#include <optional>

#include "controls/meter_pixels.h"

namespace {

constexpr int kStripWidth = 64;  // pixels of the picture supersampled at a time

// The four bands of outer around inner, which lies inside it.
std::array<TRect, 4> Around(const TRect& outer, const TRect& inner) {
  return {TRect{outer.Left, outer.Top, outer.Right, inner.Top},
          TRect{outer.Left, inner.Bottom, outer.Right, outer.Bottom},
          TRect{outer.Left, inner.Top, inner.Left, inner.Bottom},
          TRect{inner.Right, inner.Top, outer.Right, inner.Bottom}};
}

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

  // Into main; supersampled series through layer, if there is one.
  void Paint(const TRect& part, TPixelBuffer* layer);
  // Supersampled series into layer alone.
  void DrawLayer(const TRect& part, const TPixels& layer);
  // Layer's series into main, and what lies over them, in all parts at once.
  void Compose(const std::vector<TRect>& parts, const TPixels& layer);

 private:
  bool SetParts(const std::vector<TRect>& parts);
  bool Touches(const TRect& r) const;
  void DrawSupersampled(const TRect& strip, const TPixels& target);
  void DrawGrid();
  void DrawText(const TMeterText& text);
  void DrawSeries(const TRect& area);
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
  std::vector<TRect> FParts;  // inside the picture, none empty
  // Series at factor 1 go straight into the main bitmap's pixels.
  TSmoothTarget FSmooth;
};

bool TMeterPainter::SetParts(const std::vector<TRect>& parts) {
  FParts.clear();
  for (const TRect& part : parts) {
    const TRect inside = part.Intersection({0, 0, F.Width, F.Height});
    if (!inside.IsEmpty()) FParts.push_back(inside);
  }
  FMain.SetView(FParts, {});
  return !FParts.empty();
}

bool TMeterPainter::Touches(const TRect& r) const {
  return std::any_of(FParts.begin(), FParts.end(),
                     [&](const TRect& part) { return part.Intersects(r); });
}

void TMeterPainter::Paint(const TRect& part, TPixelBuffer* layer) {
  if (!SetParts({part})) return;
  const TRect& area = FParts.front();
  if (FFactor > 1) {
    const TPixels target = layer ? layer->Pixels() : FMain.Pixels();
    DrawLayer(area, target);
    if (layer) CopyPixels(target, FMain.Pixels(), {area});
  } else {
    FMain.FillRect({0, 0, F.Width, F.Height}, M.BackgroundColor());
    FMain.FillRect(FPlot, M.GraphBackgroundColor());
  }
  // The grid lies under plain series; over supersampled ones it is drawn
  // after the filter, so it stays sharp.
  DrawGrid();
  if (FFactor == 1) DrawSeries(area);
  FMain.FrameRect(FPlot.Inflate(1), M.BorderColor());
}

void TMeterPainter::DrawLayer(const TRect& part, const TPixels& layer) {
  const TRect r = part.Intersection({0, 0, F.Width, F.Height});
  for (int left = r.Left; left < r.Right; left += kStripWidth)
    DrawSupersampled({left, r.Top, std::min(left + kStripWidth, r.Right), r.Bottom}, layer);
}

// The layer is read only where the series may draw: what lies around that
// is the background, and the layer's scroll leaves it undefined there.
void TMeterPainter::Compose(const std::vector<TRect>& parts, const TPixels& layer) {
  if (!SetParts(parts)) return;
  const TRect series = F.SeriesArea();
  for (const TRect& band : Around({0, 0, F.Width, F.Height}, series))
    if (Touches(band)) FMain.FillRect(band, M.BackgroundColor());
  std::vector<TRect> copied;
  for (const TRect& part : FParts) copied.push_back(part.Intersection(series));
  CopyPixels(layer, FMain.Pixels(), copied);
  DrawGrid();
  FMain.FrameRect(FPlot.Inflate(1), M.BorderColor());
}

// The supersampled bitmap holds one strip at a time from its corner on: a
// bitmap of the whole picture would take the factor squared times its
// memory, and a narrow strip of it would be spread over all of that.
void TMeterPainter::DrawSupersampled(const TRect& strip, const TPixels& target) {
  const TRect scaled = Scaled(strip);
  const TPixels pixels = FSuper.Pixels();
  const int width = scaled.Right - scaled.Left, height = scaled.Bottom - scaled.Top;
  if (pixels.Width < width || pixels.Height < height)
    FSuper.SetSize(std::max(pixels.Width, width), std::max(pixels.Height, height));
  FSuper.SetView({scaled}, {scaled.Left, scaled.Top});
  // The background around the plot, then the plot: each pixel once.
  const TRect plot = Scaled(FPlot);
  for (const TRect& margin : Around(Scaled({0, 0, F.Width, F.Height}), plot))
    if (margin.Intersects(scaled)) FSuper.FillRect(margin, M.BackgroundColor());
  FSuper.FillRect(plot, M.GraphBackgroundColor());
  DrawSeries(strip);
  BoxFilter(FSuper.Pixels(), target, FFactor, strip);
}

void TMeterPainter::DrawGrid() {
  const TPenStyle style = M.GridStyle() == gDotted ? TPenStyle::Dotted : TPenStyle::Solid;
  for (const TMeterFrame::TGridLine& line : F.GridLines) {
    for (const TMeterText& label : line.Labels) DrawText(label);
    if (line.Line && Touches({FPlot.Left, line.Y + 1, FPlot.Right, line.Y + 2}))
      FMain.Line({FPlot.Left, line.Y + 1}, {FPlot.Right, line.Y + 1}, M.GridColor(), 1, style);
  }
  for (const TMeterFrame::TTimeLine& line : F.TimeLines) {
    if (Touches({line.X, FPlot.Top, line.X + 1, FPlot.Bottom}))
      FMain.Line({line.X, FPlot.Top}, {line.X, FPlot.Bottom}, M.GridColor(), 1, style);
    if (line.Label) DrawText(*line.Label);
  }
}

void TMeterPainter::DrawText(const TMeterText& text) {
  if (Touches(text.Ink())) FMain.WriteText(text.Box.Left, text.Box.Top, text.Text, M.TextColor());
}

// Only the samples whose drawing may reach into area: sample i draws from
// sample i - 1 to itself, and its fill a column to its right.
void TMeterPainter::DrawSeries(const TRect& area) {
  if (F.Last < F.First) return;
  if (FFactor == 1)
    FSmooth = {FMain.Pixels(),
               FPlot.Right,
               FPlot.Bottom,
               M.Solid(),
               FMain.ColorToRgb(M.GraphBackgroundColor()),
               FMain.ColorToRgb(M.GridColor()),
               area};
  const int h = M.HScale();
  const auto from = static_cast<int32_t>(
      std::max<int64_t>(F.First, F.First + (area.Left - F.Reach - 1 - F.FirstX) / h - 1));
  const auto to = static_cast<int32_t>(
      std::min<int64_t>(F.Last, F.First + (area.Right + F.Reach + h - F.FirstX) / h + 1));
  if (from > to) return;
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
                    TCanvas& super, const TRect& part, TPixelBuffer* layer) {
  TMeterPainter(meter, frame, main, super).Paint(part, layer);
}

void DrawMeterSeries(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                     TCanvas& super, TPixelBuffer& layer, const TRect& part) {
  TMeterPainter(meter, frame, main, super).DrawLayer(part, layer.Pixels());
}

void ComposeMeterParts(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                       TCanvas& super, const TPixelBuffer& layer, const std::vector<TRect>& parts) {
  TMeterPainter(meter, frame, main, super).Compose(parts, layer.Pixels());
}

void PaintMeterWhole(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                     TCanvas& super, TPixelBuffer* layer) {
  main.SetSize(frame.Width, frame.Height);
  if (layer && frame.Look.AntiAlias > 0) layer->SetSize(frame.Width, frame.Height);
  PaintMeterPart(meter, frame, main, super, {0, 0, frame.Width, frame.Height}, layer);
}

std::optional<TMeterLayout> PaintMeter(const TMeterModel& meter, TCanvas& main, TCanvas& super,
                                       int width, int height) {
  const std::optional<TMeterFrame> frame = PlanMeter(meter, main, width, height);
  if (!frame) return std::nullopt;
  PaintMeterWhole(meter, *frame, main, super);
  return frame->Layout;
}
