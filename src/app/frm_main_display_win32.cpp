// The display update after every sample: the status bars, the tray, the
// "Not Connected" label and the graph.
#include "app/display_text.h"
#include "app/frm_main_win32.h"
#include "platform/tick_count.h"
#include "storage/file_helpers.h"

namespace {

COLORREF Resolve(TColor color) {
  return color & kSysColorFlag ? GetSysColor(color & 0xFF) : color;
}

}  // namespace

void TFrmMain::Timer1Timer() {
  FMeasurement->Tick();
  if (FMeasurement->State.LastFlush != FQuotaFlush) UpdateQuota();
  PostMessageA(Handle(), WMUPDATEDISPLAY, 0, 0);
  if (!FExport.MetricsFile.empty() && TickCount() - FMetricsWritten >= FExport.Interval * 1000u)
    WriteMetrics();
  TakeNotices();
}

void TFrmMain::WMUpdateDisplay() {
  const TDisplayUpdate update =
      FMeasurement->UpdateDisplay(FDisplaySettings, FVexaMeter1->VisibleCount(), FRedial.Busy());
  if (update.NotConnected) {
    FRedial.NoConnection();
    return ShowNotConnected();
  }
  FlbNotCon->SetVisible(false);
  FollowQuota();
  for (const auto& [panel, text] : update.StatusPanels) FsBar->SetPanelText(panel, text);
  if (update.StopWatchPanels) ShowStopWatchPanels(*update.StopWatchPanels);
  if (update.TrayImage) FVexaTray1->SetImageIndex(*update.TrayImage);
  if (update.TrayTip) FVexaTray1->SetToolTip(*update.TrayTip);
  if (update.GraphPoint) {
    FVexaMeter1->AddValues(update.GraphPoint->Received, update.GraphPoint->Sent);
    FollowNewData();
  }
  // Last: the hang-up runs the message loop, and other updates with it.
  if (update.StallReconnect) FRedial.StallRequested(FMeasurement->State.EntryName);
}

// In black or white on the graph's background, whatever that is now.
void TFrmMain::ShowNotConnected() {
  const TColor background = FVexaMeter1->GraphBackgroundColor();
  FlbNotCon->SetColors(NotConnectedColor(background), Resolve(background));
  FlbNotCon->SetVisible(true);
}

void TFrmMain::ShowStopWatchPanels(const std::array<std::string, 3>& texts) {
  for (int i = 0; i < 3; ++i) FSWbar->SetPanelText(i + 1, texts[i]);
}

// In browse mode the scroll bar covers the history; a view at the newest data
// follows new data, one at the oldest stays there.
// The scroll bar as long as the history the graph can show; none to scroll
// through leaves it disabled. Returns its maximum.
int TFrmMain::SetScrollRange() {
  const int max = FVexaMeter1->ScrollMax();
  FScrollBar1->SetMax(max);
  FScrollBar1->SetEnabled(max != 0);
  return max;
}

void TFrmMain::FollowNewData() {
  if (!FBrowseMode) return;
  TScrollBar& bar = *FScrollBar1;
  const bool atNewest = bar.Position() >= bar.Max();
  const int max = SetScrollRange();
  if (max == 0) return;
  if (atNewest) {
    bar.SetPosition(max);
    FVexaMeter1->BrowseTo(-1);
  }
  if (bar.Position() == 0) FVexaMeter1->BrowseTo(bar.Max());
}

std::string TFrmMain::VexaMeter1FormatHint(const THistoryData& sample) const {
  if (!FMainSettings.GraphTips) return std::string();
  return GraphHintText(sample.Value1, sample.Value2, sample.Time, FDisplaySettings.Rates);
}

// The figures' file, whole each time; one that cannot be written is told
// once and tried again at the next interval. The last write, as the
// program ends, keeps the counters and says the link is no longer watched.
void TFrmMain::WriteMetrics(bool ending) {
  if (FExport.MetricsFile.empty()) return;
  FMetricsWritten = TickCount();
  TMetrics metrics = FMeasurement->Metrics();
  if (FQuota.Enabled) metrics.Quota = FQuotaFigures;
  if (ending) metrics.Connected = false;
  metrics.WrittenAt = UnixTimeOfLocal(DecodeDateTime(FSource->Now()));
  metrics.Interval = FExport.Interval;
  const std::string path = MetricsPath(FFolder, FExport.MetricsFile);
  if (ReplaceFileText(path, MetricsText(metrics)) || !FMetricsTold.insert(path).second) return;
  FNotices.push_back("Tallyline cannot write the metrics file " + path + ". It tries again every " +
                     std::to_string(FExport.Interval) + " seconds.");
  PostMessageA(Handle(), WMSHOWNOTICES, 0, 0);
}
