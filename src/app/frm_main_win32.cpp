#include "app/frm_main_win32.h"

#include "app/product.h"
#include "platform/files.h"
#include "platform/format_settings.h"
#include "traffic/system_link_source_win32.h"

namespace {

// The window's design bounds, used until a saved placement exists.
constexpr int kDesignLeft = 492;
constexpr int kDesignTop = 369;
constexpr int kDesignWidth = 584;
constexpr int kDesignHeight = 282;

constexpr UINT kTimerInterval = 1000;

bool IsNtFamily(DWORD platformId) {
  return platformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

TFrmMain::TFrmMain(const std::string& folder, TLinkSource* source)
    : FFolder(folder), FSource(source) {
  if (!FSource) {
    FOwnSource = std::make_unique<TSystemLinkSource>(FRasAccess);
    FSource = FOwnSource.get();
  }
  TFormArgs args;
  args.ClassName = "TFrmMain";
  args.Caption = kAppTitle;
  args.Left = kDesignLeft;
  args.Top = kDesignTop;
  args.Width = kDesignWidth;
  args.Height = kDesignHeight;
  CreateForm(args);
  try {
    FormCreate();
  } catch (const std::exception& e) {
    // The steps after the failing one are skipped for this run.
    ShowException(Handle(), e.what());
  }
}

TFrmMain::~TFrmMain() {
  FNicChangeThread.reset();
}

void TFrmMain::FormCreate() {
  SetCaption(std::string(kAppTitle) + kAppVersionSuffix);
  MakeDirectory(FFolder + "data");  // fails harmlessly when it exists

  const std::string settingsPath = FFolder + "settings.ini";
  const bool firstStart = !FileExists(settingsPath);
  FSettings = std::make_unique<TIniFile32>(settingsPath, false);
  if (firstStart) PostMessageA(Handle(), WMSHOWSETUP, 0, 0);
  FMeasurement = std::make_unique<TMeasurement>(FFolder, *FSettings, *FSource);
  ReadSettings();

  FMeasurement->EnumerateAdapters();
  // A connection already up now is watched but not counted as a new call.
  FMeasurement->State.Connected = true;
  const std::string error = FMeasurement->Sample();
  SetTimer(Handle(), Timer1, kTimerInterval, nullptr);
  if (!error.empty()) ShowException(Handle(), error);

  // The very first start has no saved placement, and no watcher either.
  if (FSettings->SectionExists("Window") && IsNtFamily(FRasAccess.PlatformId()))
    FNicChangeThread = std::make_unique<TNicChangeThread>(Handle(), WMADDRESSCHANGE);
}

void TFrmMain::ReadSettings() {
  TIniFile32& ini = *FSettings;
  TMeterState& state = FMeasurement->State;
  state.DialupMode = ini.ReadBool("Settings", "Dialup", false);
  state.SavedAdapterKey = ini.ReadString("NIC", "S", "");
  state.CUI = static_cast<uint16_t>(ini.ReadInteger("Settings", "CUI", 1));
  FDisplaySettings.ReconStall = ini.ReadBool("Settings", "ReconStall", false);
  FDisplaySettings.ShowActivity = ini.ReadBool("Settings", "ShowActivity", true);
  FDisplaySettings.StatsTrayTip = ini.ReadBool("Settings", "StatsTrayTip", true);
}

void TFrmMain::Timer1Timer() {
  const std::string error = FMeasurement->Tick();
  PostMessageA(Handle(), WMUPDATEDISPLAY, 0, 0);
  if (!error.empty()) ShowException(Handle(), error);
}

void TFrmMain::WMUpdateDisplay() {
  FLastUpdate = FMeasurement->UpdateDisplay(FDisplaySettings, 0, false);
}

void TFrmMain::FormClose() {
  const char* question =
      "Are you sure you want to close Tallyline?\n"
      "This will prevent Tallyline from keeping stats!";
  if (MessageBoxA(Handle(), question, kAppTitle, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  KillTimer(Handle(), Timer1);
  try {
    // Nothing counted is left behind: the open connection's line, then the totals.
    FMeasurement->Close();
  } catch (const std::exception& e) {
    ShowException(Handle(), e.what());
  }
  DestroyWindow(Handle());
}

// Windows is ending the session: no question, nothing lost.
void TFrmMain::EndSession() {
  KillTimer(Handle(), Timer1);
  FMeasurement->Close();
  DestroyWindow(Handle());
}

LRESULT TFrmMain::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      FormClose();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) EndSession();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_TIMER:
      if (wParam == Timer1) Timer1Timer();
      return 0;
    case WMUPDATEDISPLAY:
      WMUpdateDisplay();
      return 0;
    case WMADDRESSCHANGE:
      FMeasurement->EnumerateAdapters();
      return 0;
    case WM_SETTINGCHANGE:
      ReadFormatSettings();
      break;
  }
  return TForm::WndProc(msg, wParam, lParam);
}
