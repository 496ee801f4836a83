// The display update after every sample: the status bars, the tray, the
// "Not Connected" label and the graph.
#include "app/frm_main_win32.h"
#include "traffic/display_text.h"
#include "ui/scroll_bar_win32.h"

void TFrmMain::Timer1Timer() {
  const std::string error = FMeasurement->Tick();
  PostMessageA(Handle(), WMUPDATEDISPLAY, 0, 0);
  if (!error.empty()) ShowException(Handle(), error);
}

void TFrmMain::WMUpdateDisplay() {
  const TDisplayUpdate update =
      FMeasurement->UpdateDisplay(FDisplaySettings, FVexaMeter1->VisibleCount(), false);
  if (update.NotConnected) {
    // The label's colours are taken when it draws.
    ShowWindow(FlbNotCon, SW_SHOW);
    InvalidateRect(FlbNotCon, nullptr, TRUE);
    return;
  }
  ShowWindow(FlbNotCon, SW_HIDE);
  for (const auto& [panel, text] : update.StatusPanels) FsBar->SetPanelText(panel, text);
  if (update.StopWatchPanels) ShowStopWatchPanels(*update.StopWatchPanels);
  if (update.TrayImage) FVexaTray1->SetImageIndex(*update.TrayImage);
  if (update.TrayTip) FVexaTray1->SetToolTip(*update.TrayTip);
  if (update.GraphPoint) {
    FVexaMeter1->AddValues(update.GraphPoint->Received, update.GraphPoint->Sent);
    FollowNewData();
  }
}

void TFrmMain::ShowStopWatchPanels(const std::array<std::string, 3>& texts) {
  for (int i = 0; i < 3; ++i) FSWbar->SetPanelText(i + 1, texts[i]);
}

// In browse mode the scroll bar covers the history; a view at the newest data
// follows new data, one at the oldest stays there.
void TFrmMain::FollowNewData() {
  if (!FBrowseMode) return;
  const TScrollState before = GetScrollState(FScrollBar1);
  const bool atNewest = before.Position >= before.Max;
  const int max = FVexaMeter1->ScrollMax();
  SetScrollMax(FScrollBar1, max);
  EnableWindow(FScrollBar1, max != 0);
  if (max == 0) return;
  if (atNewest) {
    SetScrollPosition(FScrollBar1, max);
    FVexaMeter1->BrowseTo(-1);
  }
  const TScrollState bar = GetScrollState(FScrollBar1);
  if (bar.Position == 0) FVexaMeter1->BrowseTo(bar.Max - bar.Position);
}

std::string TFrmMain::VexaMeter1FormatHint(const THistoryData& sample) const {
  if (!FMainSettings.GraphTips) return std::string();
  return GraphHintText(sample.Value1, sample.Value2, sample.Time, FDisplaySettings.Rates);
}
