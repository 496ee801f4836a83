#include "app/frm_main_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "app/graph_settings.h"
#include "base/product.h"
#include "platform/files.h"
#include "platform/format_settings.h"
#include "storage/text_utils.h"
#include "traffic/system_link_source_win32.h"
#include "ui/application_win32.h"

namespace {

// The window's design bounds at 96 DPI, used until a saved placement exists.
// A saved placement is in the pixels of the screen it was saved on.
constexpr int kDesignLeft = 492;
constexpr int kDesignTop = 369;
constexpr int kDesignWidth = 584;
constexpr int kDesignHeight = 282;

constexpr UINT kTimerInterval = 1000;
// A window title is read with at most this many characters.
constexpr int kTitleLength = 254;

bool IsNtFamily(DWORD platformId) {
  return platformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

TFrmMain::TFrmMain(const std::string& folder, TLinkSource* source)
    : FFolder(folder), FSource(source), FAccelerators(CreateMainAccelerators()) {
  if (!FSource) {
    FOwnSource = std::make_unique<TSystemLinkSource>(FRasAccess);
    FSource = FOwnSource.get();
  }
  TApplication& application = TApplication::Instance();
  TFormArgs args;
  args.ClassName = "TFrmMain";
  args.Caption = kAppTitle;
  // The design bounds lie on the primary screen, whose DPI is the system's;
  // a window scaled up there is moved back onto it as far as it fits.
  FDpi = WindowDpi(nullptr);
  RECT screen;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
  args.Width = Scaled(kDesignWidth);
  args.Height = Scaled(kDesignHeight);
  args.Left = std::max<int>(screen.left, std::min<int>(kDesignLeft, screen.right - args.Width));
  args.Top = std::max<int>(screen.top, std::min<int>(kDesignTop, screen.bottom - args.Height));
  args.Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  args.Owner = application.Handle();
  CreateForm(args);
  application.SetMainForm(Handle());
  try {
    FormCreate();
  } catch (const std::exception& e) {
    // The steps after the failing one are skipped for this run.
    ShowException(Handle(), e.what());
  }
}

// The window goes first, while the controls, fonts and images it shows are
// still there.
TFrmMain::~TFrmMain() {
  if (Handle()) DestroyWindow(Handle());
  TApplication::Instance().SetMainForm(nullptr);
}

void TFrmMain::FormCreate() {
  CreateTray();
  CreateControls();
  CreateDialUp();
  TApplication::Instance().SetTitle(kAppTitle);
  SetCaption(std::string(kAppTitle) + kAppVersionSuffix);
  MakeDirectory(FFolder + "data");  // fails harmlessly when it exists
  OpenSettings();
  FMeasurement = std::make_unique<TMeasurement>(FFolder, *FSettings, *FSource);
  ApplySettings();
  FSettings->WriteInteger("Windows", std::to_string(reinterpret_cast<uintptr_t>(Handle())), 1);
  RestoreStopWatch();
  LoadCustomTrayIcons();
  StartMeasurement();
  UpdateQuota();
  // The very first start has no saved placement, and no watcher either.
  if (RestorePlacement() && IsNtFamily(FRasAccess.PlatformId()))
    FNicChangeThread = std::make_unique<TNicChangeThread>(Handle(), WMADDRESSCHANGE);
}

// Without a settings file this is the very first start: Setup opens once the
// message loop runs.
void TFrmMain::OpenSettings() {
  const std::string settingsPath = FFolder + "settings.ini";
  const bool firstStart = !FileExists(settingsPath);
  FSettings = std::make_unique<TIniFile32>(settingsPath, false);
  if (firstStart) PostMessageA(Handle(), WMSHOWSETUP, 0, 0);
}

void TFrmMain::ApplySettings() {
  FMainSettings = ReadMainSettings(*FSettings);
  const TMainSettings& s = FMainSettings;
  ApplyGraphSettings(s, *FVexaMeter1);
  FScrollBar1->SetMax(FVexaMeter1->HistoryMax());
  FDisplaySettings.Rates = RateUnitsOf(*FVexaMeter1);
  SetMenu(Handle(), s.MainMenu ? FMenus.MainMenu1 : nullptr);
  if (s.BrowseMode) BrowseModeClick();
  FBorderless = s.Borderless;  // applied at the first activation
  FDisplaySettings.StatsTrayTip = s.StatsTrayTip;
  FsBar->SetVisible(s.Statusbar);
  SetMenuCheck(FMenus.File1, cmStatusbar, s.Statusbar);
  SetMenuCheck(FMenus.PopupMenu3, cmStatusbar, s.Statusbar);
  FDisplaySettings.ReconStall = s.ReconStall;
  FDisplaySettings.ShowActivity = s.ShowActivity;
  FQuota = ReadQuotaSettings(*FSettings);
  FExport = ReadExportSettings(*FSettings);
  FMeasurement->State.CUI = static_cast<uint16_t>(s.CUI);
  FVexaTray1->SetImageIndex(s.ShowActivity ? 1 : 0);
  ArrangeControls();
}

// A connection already up now is watched but not counted as a new call.
void TFrmMain::StartMeasurement() {
  TMeterState& state = FMeasurement->State;
  state.DialupMode = FMainSettings.Dialup;
  state.Choice = FMainSettings.Adapters;
  FMeasurement->EnumerateAdapters();
  state.Connected = true;
  FMeasurement->Sample();
  SetTimer(Handle(), Timer1, kTimerInterval, nullptr);
  TakeNotices();
}

// False when there is no saved placement. One with no size, or one on no
// monitor (a screen since removed), leaves the window at its design bounds.
bool TFrmMain::RestorePlacement() {
  const auto& bounds = FMainSettings.Window;
  if (!bounds) return false;
  const RECT saved{bounds->Left, bounds->Top, bounds->Left + bounds->Width,
                   bounds->Top + bounds->Height};
  if (bounds->Width <= 0 || bounds->Height <= 0 || !MonitorFromRect(&saved, MONITOR_DEFAULTTONULL))
    return true;
  // Pixels of the screen it was saved on. A move onto a screen of another
  // DPI than the design one rescales the window on the way; the second call
  // gives it its saved size there (and changes nothing otherwise).
  for (int i = 0; i < 2; ++i)
    SetWindowPos(Handle(), nullptr, bounds->Left, bounds->Top, bounds->Width, bounds->Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void TFrmMain::FormActivate() {
  if (FActivated) return;
  FActivated = true;
  FSavedStyle = GetWindowLongPtrA(Handle(), GWL_STYLE);
  PostMessageA(Handle(), WMAPPLYBORDERLESS, 0, 0);
}

// The question runs a message loop: an Exit from the tray meanwhile is the
// same request, already asked, and the session may end while it is up,
// which closes the books itself.
void TFrmMain::FormClose() {
  if (FAskingToClose) return;
  const std::string question =
      "Are you sure you want to close Tallyline?\n"
      "This will prevent Tallyline from keeping stats!";
  FAskingToClose = true;
  const int answer =
      TApplication::Instance().ShowMessageBox(question, MB_OKCANCEL | MB_ICONQUESTION);
  FAskingToClose = false;
  if (answer != IDOK || !FMeasurement) return;
  KillTimer(Handle(), Timer1);
  // Nothing counted is left behind: the open connection's line, then the
  // totals; what no file would take is said once, now.
  const std::vector<std::string> unwritten = FMeasurement->Close();
  WriteMetrics(true);
  if (!unwritten.empty()) {
    std::string text = "Tallyline could not write what it counted into:\n";
    for (const std::string& file : unwritten) text += file + "\n";
    text += FMeasurement->Book().Kept()
                ? "It is kept in the folder \"data\" and written when Tallyline starts again."
                : "That part is lost.";
    MessageBoxA(Handle(), text.c_str(), kAppTitle, MB_OK | MB_ICONWARNING);
  }
  DestroyWindow(Handle());
}

// The installer or the uninstaller of this folder needs the executable
// free: the copy ends as Exit's OK ends it, without the question (and
// without a message box nobody would answer). A copy of another folder
// answers FALSE and goes on. The end is posted, so the sender does not wait
// for it; it waits for the process.
LRESULT TFrmMain::WMCopyData(const COPYDATASTRUCT& data) {
  if (data.dwData != kExitRequest || !data.lpData) return FALSE;
  std::string folder(static_cast<const char*>(data.lpData),
                     strnlen(static_cast<const char*>(data.lpData), data.cbData));
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  if (CompareTextIgnoringCase(folder, FFolder) != 0) return FALSE;
  PostMessageA(Handle(), WMEXITNOW, 0, 0);
  return TRUE;
}

// Out of the tray or the taskbar and in front: a double click on the tray
// icon, or a second copy that was not started.
void TFrmMain::ShowFromElsewhere() {
  FVexaTray1->Restore();
  if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
  SetForegroundWindow(Handle());
}

// Windows is ending the session: no question, and no message either.
void TFrmMain::EndSession() {
  KillTimer(Handle(), Timer1);
  FMeasurement->Close();
  WriteMetrics(true);
  DestroyWindow(Handle());
}

void TFrmMain::FormDestroy() {
  KillTimer(Handle(), Timer1);
  KillTimer(Handle(), TmrDial);
  if (FSettings) {
    WriteStopWatch();
    SavePlacement();
    FSettings->WriteBool("Settings", "Borderless", FBorderless);
    PruneWindowsSection();
  }
  // The menu bar is this object's to free, also when it is not shown.
  SetMenu(Handle(), nullptr);
  FNicChangeThread.reset();
  FVexaTray1.reset();
  FMeasurement.reset();  // saves what the month file still holds
  PostQuitMessage(0);
}

void TFrmMain::SavePlacement() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Handle(), &placement);
  RECT r = placement.rcNormalPosition;
  // The normal position of a shown window is its real one.
  if (IsWindowVisible(Handle()) && !IsIconic(Handle())) GetWindowRect(Handle(), &r);
  FSettings->WriteInteger("Window", "1", r.left);
  FSettings->WriteInteger("Window", "2", r.top);
  FSettings->WriteInteger("Window", "3", r.right - r.left);
  FSettings->WriteInteger("Window", "4", r.bottom - r.top);
}

// Keys of main windows that no longer exist go; a window whose title still
// names the product keeps its key, this one included.
void TFrmMain::PruneWindowsSection() {
  for (const std::string& key : FSettings->ReadSection("Windows")) {
    const uintptr_t handle = static_cast<uintptr_t>(std::strtoull(key.c_str(), nullptr, 10));
    char title[kTitleLength + 1] = "";
    if (handle) GetWindowTextA(reinterpret_cast<HWND>(handle), title, sizeof title);
    if (std::string(title).find(kAppTitle) == std::string::npos)
      FSettings->DeleteKey("Windows", key);
  }
}

LRESULT TFrmMain::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE: FormClose(); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
      if (wParam) EndSession();
      return 0;
    case WM_DESTROY: FormDestroy(); return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) FormActivate();
      // Another window in front (F3 opens one) would have the hint over it.
      if (LOWORD(wParam) == WA_INACTIVE) FVexaMeter1->HideHint();
      break;
    // The graph's hint would cover the menu's first items.
    case WM_ENTERMENULOOP: FVexaMeter1->HideHint(); break;
    case WM_SYSCOMMAND:
      if (WMSysCommand(wParam)) return 0;
      break;
    case WM_SIZE: FormResize(); return 0;
    case kWmDpiChanged: ChangeDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_TIMER:
      if (wParam == Timer1) Timer1Timer();
      if (wParam == TmrDial) TmrDialTimer();
      return 0;
    // Menus and shortcut keys; the controls' own commands are reflected to them.
    case WM_COMMAND:
      if (lParam == 0) Command(LOWORD(wParam));
      return 0;
    case WM_INITMENUPOPUP: PrepareMenu(reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_CONTEXTMENU: FormContextPopup(lParam); return 0;
    case WM_LBUTTONDBLCLK: ToggleBorderless(); return 0;
    case WM_LBUTTONDOWN: VexaMeter1MouseDown(mbLeft); return 0;
    case WM_SETTINGCHANGE: ReadFormatSettings(); break;
    case WMDIAL: WMDial(); return 0;
    case WMUPDATEDISPLAY: WMUpdateDisplay(); return 0;
    case WMAPPLYBORDERLESS: WMApplyBorderless(); return 0;
    case WMSHOWSETUP: Command(cmSetup); return 0;
    case WMADDRESSCHANGE: FMeasurement->EnumerateAdapters(); return 0;
    case WMFREECLOSED: WMFreeClosed(); return 0;
    case WMSHOWNOTICES: WMShowNotices(); return 0;
    case WM_COPYDATA: return WMCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WMEXITNOW: EndSession(); return 0;
    case WMSHOWMAIN: ShowFromElsewhere(); return 0;
  }
  return TForm::WndProc(msg, wParam, lParam);
}

// The minimise button minimises the application: the taskbar button takes
// the main window with it (and the tray may take both).
bool TFrmMain::WMSysCommand(WPARAM command) {
  if ((command & 0xFFF0) != SC_MINIMIZE) return false;
  TApplication::Instance().Minimize();
  return true;
}

// At the mouse, or at the cursor when the menu key asked.
void TFrmMain::FormContextPopup(LPARAM at) {
  POINT where{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  if (where.x == -1 && where.y == -1) GetCursorPos(&where);
  TrackPopupMenu(FMenus.PopupMenu3, TPM_RIGHTBUTTON, where.x, where.y, 0, Handle(), nullptr);
}

// The notices of the measurement, shown outside the tick that made them: the
// timer keeps ticking while a box is up, and a notice that comes meanwhile
// waits for the box before it.
void TFrmMain::TakeNotices() {
  for (std::string& notice : FMeasurement->TakeNotices()) FNotices.push_back(std::move(notice));
  if (!FNotices.empty()) PostMessageA(Handle(), WMSHOWNOTICES, 0, 0);
}

void TFrmMain::WMShowNotices() {
  if (FShowingNotice) return;
  FShowingNotice = true;
  while (!FNotices.empty()) {
    const std::string notice = FNotices.front();
    FNotices.pop_front();
    MessageBoxA(Handle(), notice.c_str(), kAppTitle, MB_OK | MB_ICONWARNING);
  }
  FShowingNotice = false;
}

void TFrmMain::WMApplyBorderless() {
  if (!FBorderless) return;
  FBorderless = false;
  ToggleBorderless();
}
