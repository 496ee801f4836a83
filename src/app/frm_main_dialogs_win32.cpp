// The secondary windows the main window opens, and the main window as the
// Setup dialog sees it.
#include "app/frm_main_win32.h"

#include "app/graph_settings.h"

namespace {

// A closed window's object is freed here, outside its own handlers.
template <class TWindow>
void FreeIfClosed(std::unique_ptr<TWindow>& window) {
  if (window && !window->Handle()) window.reset();
}

}  // namespace

// One of each at a time. Setup and the reports open above the main window
// while that is borderless (and so topmost); the About box never does.
void TFrmMain::Setup3Click() {
  if (FSetup) return;
  // The adapters as they are now: one plugged in since the last address
  // change (which Wine never tells) is listed too.
  FMeasurement->EnumerateAdapters();
  FSetup = std::make_unique<TFrmSetup>(Handle(), static_cast<TSetupHost&>(*this));
  Opened(*FSetup, true);
}

void TFrmMain::Basic1Click() {
  if (FReport) return;
  FReport = std::make_unique<TFrmReport>(Handle(), FFolder, Options().Quota,
                                         ReportChartLook(*FVexaMeter1));
  Opened(*FReport, true);
}

void TFrmMain::Advanced1Click() {
  if (FStats) return;
  FStats = std::make_unique<TFrmStats>(Handle(), FFolder, FLastStatsEntry);
  Opened(*FStats, true);
}

void TFrmMain::About2Click() {
  if (FAbout) return;
  FAbout = std::make_unique<TFrmAbout>(Handle());
  Opened(*FAbout, false);
}

void TFrmMain::Opened(TDialog& window, bool aboveBorderless) {
  window.OnClosed = [this] { PostMessageA(Handle(), WMFREECLOSED, 0, 0); };
  if (aboveBorderless && FBorderless) window.SetTopmost(true);
}

void TFrmMain::WMFreeClosed() {
  FreeIfClosed(FSetup);
  FreeIfClosed(FReport);
  FreeIfClosed(FStats);
  FreeIfClosed(FAbout);
  FreeIfClosed(FDial);
}

TMeterState& TFrmMain::Meter() {
  return FMeasurement->State;
}

TMeterModel& TFrmMain::Graph() {
  return *FVexaMeter1;
}

THostOptions TFrmMain::Options() const {
  const TMainSettings& s = FMainSettings;
  THostOptions options;
  options.ShowActivity = FDisplaySettings.ShowActivity;
  options.StatsTrayTip = FDisplaySettings.StatsTrayTip;
  options.GraphTips = s.GraphTips;
  options.MainMenu = s.MainMenu;
  options.Colors = s.Colors;
  options.Rates = FDisplaySettings.Rates;
  options.Quota = FQuota;
  options.Export = FExport;
  return options;
}

// The menu bar follows at once, unless the window is borderless: it comes
// back with the frame.
void TFrmMain::SetOptions(const THostOptions& options) {
  TMainSettings& s = FMainSettings;
  FDisplaySettings.ShowActivity = s.ShowActivity = options.ShowActivity;
  FDisplaySettings.StatsTrayTip = s.StatsTrayTip = options.StatsTrayTip;
  s.GraphTips = options.GraphTips;
  s.MainMenu = options.MainMenu;
  s.Colors = options.Colors;
  FDisplaySettings.Rates = options.Rates;
  if (!FBorderless) SetMenu(Handle(), s.MainMenu ? FMenus.MainMenu1 : nullptr);
  FQuota = options.Quota;
  UpdateQuota();
  FExport = options.Export;
}

void TFrmMain::SetTrayImageIndex(int index) {
  FVexaTray1->SetImageIndex(index);
}

void TFrmMain::SetTrayTip(const std::string& tip) {
  FVexaTray1->SetToolTip(tip);
}

void TFrmMain::EndConnection() {
  FMeasurement->EndConnection();
  TakeNotices();
}
