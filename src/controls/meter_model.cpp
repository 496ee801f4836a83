#include "controls/meter_model.h"

#include <algorithm>
#include <utility>

namespace {

constexpr uint32_t kRecalcIntervalMs = 1000;
// Beyond a 4 x 4 block the box filter reads only the block's corner, so a
// larger factor would only cost memory (factor squared times the window).
constexpr uint8_t kMaxAntiAlias = 3;

}  // namespace

TMeterModel::TMeterModel(TMeterSystem system) : FSystem(std::move(system)) {
  RecalcAutoMax(true);
}

void TMeterModel::AddValues(int32_t value1, int32_t value2, bool repaint) {
  // The history holds at most HistoryMax + 2 samples. While browsing, the
  // offset follows the samples shown: dropping one in front of them brings
  // them one nearer the oldest end, the new one puts them one further back.
  while (SampleCount() - 1 > FHistoryMax) {
    FHistory.DeleteOldest();
    if (FBrowseOffset > 1) --FBrowseOffset;
  }
  FHistory.Append({value1, value2, FSystem.Now()});
  ++FAppends;
  if (FBrowseOffset != -1) ++FBrowseOffset;
  RecalcAutoMax(false);
  UpdateScrollMax();
  if (FBrowseOffset == -1 && repaint) Repaint();
}

void TMeterModel::Clear() {
  FHistory.Clear();
  ++FClears;
  FHovered.reset();
  FLastRecalc = 0;
  RecalcAutoMax(true);
  UpdateScrollMax();
  Repaint();
}

void TMeterModel::BrowseTo(int32_t offset) {
  if (offset == 0) return;
  if (offset == -1) {
    FBrowseOffset = -1;  // shown with the next append
    return;
  }
  if (offset + VisibleCount() == FBrowseOffset) return;
  FBrowseOffset = offset + VisibleCount();
  RecalcAutoMax(true);
  Repaint();
}

void TMeterModel::ShowLive() {
  FBrowseOffset = -1;
  RecalcAutoMax(true);
  Repaint();
}

// The largest value among the samples shown, at least MinMaxValue (both in
// bytes), in scale units. Appends recalculate at most once a second.
void TMeterModel::RecalcAutoMax(bool force) {
  if (FMaxValueType == tmvFixed) return;
  const uint32_t now = FSystem.TickCount();
  if (!force && now - FLastRecalc <= kRecalcIntervalMs) return;
  FLastRecalc = now;
  int32_t max = FMinMaxValue;
  if (SampleCount() > 0) {
    const int32_t first = FirstVisible(VisibleCount());
    const int32_t last = std::min(first + VisibleCount(), SampleCount() - 1);
    for (int32_t i = first; i <= last; ++i)
      max = std::max({max, FHistory[i].Value1, FHistory[i].Value2});
  }
  FMaxValue = ToScaleUnits(max, FLook.Scale);
}

void TMeterModel::UpdateScrollMax() {
  FScrollMax = std::max(SampleCount() - VisibleCount(), 0);
  if (FScrollMax == 0) FBrowseOffset = -1;
}

int32_t TMeterModel::FirstVisible(int32_t visibleCount) const {
  const int32_t last = SampleCount() - 1;
  if (last < visibleCount) return 0;
  return std::max(0, last - (FBrowseOffset != -1 ? FBrowseOffset : visibleCount));
}

// The newest sample sits at right - 1 while there is room; with fewer samples
// than fit, the older ones spread left of it.
int TMeterModel::FirstX(int32_t first, const TRect& plot) const {
  const int64_t span = static_cast<int64_t>(SampleCount() - 1 - first) * FLook.HScale;
  return static_cast<int>(std::max<int64_t>(plot.Left, plot.Right - span - 1));
}

int32_t TMeterModel::HitTest(int x, int y) const {
  if (!PlotRect().Contains(x, y) || SampleCount() == 0) return -1;
  const int32_t first = FirstVisible(VisibleCount());
  // Sample first + g covers x0 + (g - 1) * HScale ... x0 + g * HScale; the
  // lower g takes the shared edge.
  const int64_t d = static_cast<int64_t>(x) - FirstX(first, PlotRect());
  if (d < -FLook.HScale) return -1;
  const int64_t g = d <= 0 ? 0 : (d + FLook.HScale - 1) / FLook.HScale;
  if (g > SampleCount() - 1 - first) return -1;
  return static_cast<int32_t>(first + g);
}

THintStep TMeterModel::MouseMove(int x, int y, bool hintShowing) {
  const TPoint at{x, y};
  if (FMouse == at) return THintStep::None;
  FMouse = at;
  const int32_t hit = HitTest(x, y);
  if (hit < 0) return hintShowing ? THintStep::Hide : THintStep::None;
  FHovered = FHistory[hit];
  return hintShowing ? THintStep::ShowNow : THintStep::StartTimer;
}

void TMeterModel::MouseLeave() {
  FMouse.reset();
}

std::string TMeterModel::HintText(int x, int y) const {
  std::string text;
  if (PlotRect().Contains(x, y) && FHovered && OnFormatHint) OnFormatHint(*FHovered, text);
  return text;
}

void TMeterModel::SetYaxisDisplay(TYAxisDisplay value) {
  if (value == FLook.YaxisDisplay) return;
  FLook.YaxisDisplay = value;
  FLayout.LabelWidths = {};
  Repaint();
}

void TMeterModel::SetGridStyle(TGridStyle value) {
  FLook.ShowGrid = value != gNone;
  FLook.GridStyle = value;
  Repaint();
}

void TMeterModel::SetHScale(int value) {
  if (value > 0) Assign(FLook.HScale, value);  // pixels per sample: 0 or less means nothing
}

void TMeterModel::SetHistoryMax(int32_t value) {
  // Below 0 the capacity rule would delete from an empty history.
  FHistoryMax = std::max(value, 0);
}

void TMeterModel::SetAntiAlias(uint8_t value) {
  FLook.AntiAlias = std::min(value, kMaxAntiAlias);
}
