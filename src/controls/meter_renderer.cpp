#include "controls/meter_renderer.h"

#include <algorithm>
#include <tuple>

#include "controls/meter_painter.h"
#include "controls/meter_pixels.h"

namespace {

// Whether next shows what last showed, moved on by the appends between them:
// a live view of the same history with the same layout, scale and look,
// whose samples stand where they stood, each HScale pixels further left per
// append.
bool MovedOn(const TMeterFrame& last, const TMeterFrame& next) {
  return next.BrowseOffset == -1 && last.BrowseOffset == -1 && next.Clears == last.Clears &&
         next.Width == last.Width && next.Height == last.Height && next.Look == last.Look &&
         next.Rgb == last.Rgb && next.Layout.Plot == last.Layout.Plot && next.Char == last.Char &&
         next.Grid == last.Grid && next.GridLines == last.GridLines &&
         (next.Last >= next.First) == (last.Last >= last.First) && next.NewestX == last.NewestX;
}

void AddText(std::vector<TRect>& parts, const TMeterText& text, const TRect& area, int shift) {
  const TRect ink = text.Ink();
  if (!ink.Intersects(area)) return;
  parts.push_back(ink);
  parts.push_back(ink.Offset(-shift, 0));
}

// Parts on the same rows that overlap or nearly touch become one: each part
// costs a pass over the samples near it.
std::vector<TRect> Merged(std::vector<TRect> parts) {
  constexpr int kGap = 4;
  std::sort(parts.begin(), parts.end(), [](const TRect& a, const TRect& b) {
    return std::tie(a.Top, a.Bottom, a.Left) < std::tie(b.Top, b.Bottom, b.Left);
  });
  std::vector<TRect> merged;
  for (const TRect& part : parts) {
    TRect* last = merged.empty() ? nullptr : &merged.back();
    if (last && last->Top == part.Top && last->Bottom == part.Bottom &&
        part.Left <= last->Right + kGap)
      last->Right = std::max(last->Right, part.Right);
    else
      merged.push_back(part);
  }
  return merged;
}

// Time labels whose text or place changed.
void AddChangedLabels(std::vector<TRect>& parts, const TMeterFrame& last, const TMeterFrame& next) {
  for (size_t i = 0; i < next.TimeLines.size(); ++i) {
    const std::optional<TMeterText>& before = last.TimeLines[i].Label;
    const std::optional<TMeterText>& now = next.TimeLines[i].Label;
    if (before == now) continue;
    if (before) parts.push_back(before->Ink());
    if (now) parts.push_back(now->Ink());
  }
}

// What the scroll of area by shift leaves wrong at both ends: on the left,
// the margin, which the plot moved into, and the first sample with the
// samples that left before it; on the right, the samples that joined.
std::vector<TRect> Ends(const TMeterFrame& last, const TMeterFrame& next, const TRect& area,
                        int shift) {
  const int h = next.Look.HScale;
  const int64_t before = last.FirstX - shift;
  const int64_t first = std::min<int64_t>(next.FirstX, before) - h - next.Reach - 1;
  const int64_t firstEnd = std::max<int64_t>(next.FirstX, before) + next.Reach + 2;
  const int64_t joint = next.NewestX - shift - h - next.Reach - 1;
  const TRect& plot = next.Layout.Plot;
  return {{area.Left, area.Top, plot.Left, area.Bottom},
          {static_cast<int>(first), area.Top, static_cast<int>(firstEnd), area.Bottom},
          {static_cast<int>(joint), area.Top, area.Right, area.Bottom}};
}

// What stands still over the series of a picture scrolled by shift:
// the time lines, dotted lines whose dots would no longer fall on their
// places, and texts in area.
void AddStill(std::vector<TRect>& parts, const TMeterFrame& last, const TMeterFrame& next,
              const TRect& area, int shift) {
  const TRect& plot = next.Layout.Plot;
  for (const TMeterFrame::TTimeLine& line : next.TimeLines) {
    const TRect column{line.X, plot.Top, line.X + 1, plot.Bottom};
    parts.push_back(column);
    parts.push_back(column.Offset(-shift, 0));
  }
  if (next.Look.GridStyle == gDotted)
    for (const TMeterFrame::TGridLine& line : next.GridLines)
      if (line.Line) parts.push_back({plot.Left, line.Y + 1, plot.Right, line.Y + 2});
  for (const TMeterFrame::TGridLine& line : next.GridLines)
    for (const TMeterText& label : line.Labels) AddText(parts, label, area, shift);
  for (const TMeterFrame* frame : {&last, &next})
    for (const TMeterFrame::TTimeLine& line : frame->TimeLines)
      if (line.Label) AddText(parts, *line.Label, area, shift);
}

}  // namespace

std::optional<TMeterRenderer::TResult> TMeterRenderer::Paint(const TMeterModel& meter,
                                                             TCanvas& main, TCanvas& super,
                                                             int width, int height) {
  std::optional<TMeterFrame> next = PlanMeter(meter, main, width, height);
  if (!next) {
    FLast.reset();
    return std::nullopt;
  }
  const TRect whole{0, 0, width, height};
  std::vector<TRect> changed;
  std::optional<TScroll> scroll;
  const uint64_t appends = FLast ? next->Appends - FLast->Appends : 0;
  const TRect area = next->SeriesArea();
  if (FLast && MovedOn(*FLast, *next) &&
      appends * next->Look.HScale <
          static_cast<uint64_t>(next->Layout.Plot.Right - next->Layout.Plot.Left)) {
    const auto shift = static_cast<int>(appends * next->Look.HScale);
    std::vector<TRect> parts;
    AddChangedLabels(parts, *FLast, *next);
    if (shift > 0) {
      scroll = {area, shift};
      const std::vector<TRect> ends = Ends(*FLast, *next, area, shift);
      if (next->Look.AntiAlias > 0) {
        // Supersampled series scroll in their layer, and the ends are drawn
        // into it, before any part is laid over the grid afresh.
        FLayer.ScrollLeft(shift);
        for (const TRect& end : Merged(ends))
          DrawMeterSeries(meter, *next, main, super, FLayer, end);
      }
      parts.insert(parts.end(), ends.begin(), ends.end());
      AddStill(parts, *FLast, *next, area, shift);
    }
    for (const TRect& part : Merged(std::move(parts))) changed.push_back(part.Intersection(whole));
    PaintParts(meter, *next, main, super, changed);
  } else {
    PaintMeterWhole(meter, *next, main, super, &FLayer);
    changed.push_back(whole);
  }
  FLast = std::move(next);
  return TResult{FLast->Layout, std::move(changed), scroll};
}

void TMeterRenderer::PaintParts(const TMeterModel& meter, TCanvas& main, TCanvas& super,
                                const std::vector<TRect>& parts) {
  if (FLast) PaintParts(meter, *FLast, main, super, parts);
}

void TMeterRenderer::PaintParts(const TMeterModel& meter, const TMeterFrame& frame, TCanvas& main,
                                TCanvas& super, const std::vector<TRect>& parts) {
  if (frame.Look.AntiAlias > 0)
    ComposeMeterParts(meter, frame, main, super, FLayer, parts);
  else
    for (const TRect& part : parts) PaintMeterPart(meter, frame, main, super, part);
}
