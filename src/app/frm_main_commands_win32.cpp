// The main window's commands: the stopwatch, the status bar, browse mode,
// borderless mode and the menus.
#include <algorithm>

#include "app/frm_main_win32.h"
#include "ui/application_win32.h"

namespace {

// The system command that moves a window by its caption.
constexpr WPARAM kMoveByCaption = SC_MOVE | HTCAPTION;
constexpr LONG_PTR kCaptionBits = 0x00C00000;  // title bar and dialog frame

void SetBothChecks(const TMainMenus& menus, UINT command, bool checked) {
  SetMenuCheck(menus.File1, command, checked);
  SetMenuCheck(menus.PopupMenu3, command, checked);
}

}  // namespace

void TFrmMain::Command(UINT command) {
  switch (command) {
    case cmShowStopWatch: StopWatch1Click(); break;
    case cmStatusbar: mnuStatusbarClick(); break;
    case cmBrowseMode: BrowseModeClick(); break;
    case cmMinimize: FVexaTray1->MinimizeToTray(); break;
    case cmRestore: FVexaTray1->Restore(); break;
    case cmExit: PostMessageA(Handle(), WM_CLOSE, 0, 0); break;
    case cmStopWatchStart: Start1Click(); break;
    case cmStopWatchStop: Stop1Click(); break;
    case cmStopWatchReset: Reset1Click(); break;
    case cmStopWatchToggle:
      if (FMeasurement->State.StopWatchRunning)
        Stop1Click();
      else
        Start1Click();
      break;
    case cmStopWatchLabel: Label5MouseDown(); break;
    case cmSetup: Setup3Click(); break;
    case cmAbout: About2Click(); break;
    case cmBasicReports: Basic1Click(); break;
    case cmAdvancedStats: Advanced1Click(); break;
  }
}

void TFrmMain::PrepareMenu(HMENU menu) {
  if (menu == FMenus.File1 || menu == FMenus.PopupMenu3)
    SetMenuCheck(menu, cmBrowseMode, FBrowseMode);
  if (std::ranges::find(FMenus.StopWatchMenus, menu) != std::end(FMenus.StopWatchMenus)) {
    const bool running = FMeasurement->State.StopWatchRunning;
    EnableMenuItem(menu, cmStopWatchStart, MF_BYCOMMAND | (running ? MF_GRAYED : MF_ENABLED));
    EnableMenuItem(menu, cmStopWatchStop, MF_BYCOMMAND | (running ? MF_ENABLED : MF_GRAYED));
    CheckMenuRadioItem(menu, cmStopWatchStart, cmStopWatchStop,
                       running ? cmStopWatchStart : cmStopWatchStop, MF_BYCOMMAND);
  }
}

void TFrmMain::StopWatch1Click() {
  const bool shown = !FSWbar->Visible();
  FSWbar->SetVisible(shown);
  SetBothChecks(FMenus, cmShowStopWatch, shown);
  FSettings->WriteBool("StopWatch", "V", shown);
  ArrangeControls();
}

void TFrmMain::mnuStatusbarClick() {
  const bool shown = !FsBar->Visible();
  SetBothChecks(FMenus, cmStatusbar, shown);
  FsBar->SetVisible(shown);
  FSettings->WriteBool("Settings", "Statusbar", shown);
  ArrangeControls();
}

void TFrmMain::BrowseModeClick() {
  FBrowseMode = !FBrowseMode;
  ArrangeControls();
  // On, the bar covers the history at once, at the newest data; off, the
  // live view shows at once, not with the next point.
  if (FBrowseMode) {
    SetScrollRange();
    FScrollBar1->SetPosition(FScrollBar1->Max());
    ScrollBar1Change();
  } else {
    FVexaMeter1->ShowLive();
  }
  FSettings->WriteBool("Settings", "BrowseMode", FBrowseMode);
}

// The scroll bar's maximum is the newest data, its position 0 the oldest.
void TFrmMain::ScrollBar1Change() {
  if (!FBrowseMode) return;
  FVexaMeter1->BrowseTo(FScrollBar1->Max() - FScrollBar1->Position());
}

void TFrmMain::ToggleBorderless() {
  LockWindowUpdate(GetDesktopWindow());
  SetWindowLongPtrA(Handle(), GWL_STYLE, FBorderless ? FSavedStyle : FSavedStyle & ~kCaptionBits);
  FBorderless = !FBorderless;
  HWND application = TApplication::Instance().Handle();
  const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_NOACTIVATE;
  if (FBorderless) {
    // No taskbar button, always on top, no menu.
    ShowWindow(application, SW_HIDE);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, keep);
    SetMenu(Handle(), nullptr);
  } else {
    ShowWindow(application, SW_SHOWNA);
    // Wine keeps an owned window on top; for a moment without its owner it lets go.
    SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, 0);
    SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, keep);
    SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(application));
    SetMenu(Handle(), FMainSettings.MainMenu ? FMenus.MainMenu1 : nullptr);
  }
  LockWindowUpdate(nullptr);
  ArrangeControls();
}

// Borderless, the window is dragged by its body.
void TFrmMain::VexaMeter1MouseDown(TMouseButton button) {
  if (button != mbLeft || !FBorderless) return;
  ReleaseCapture();
  SendMessageA(Handle(), WM_SYSCOMMAND, kMoveByCaption, 0);
}

void TFrmMain::Start1Click() {
  FMeasurement->State.StopWatchRunning = true;
  if (!FSWbar->Visible()) StopWatch1Click();
}

void TFrmMain::Stop1Click() {
  FMeasurement->State.StopWatchRunning = false;
  WriteStopWatch();
}

void TFrmMain::Reset1Click() {
  if (MessageBoxA(Handle(), "Reset Stop Watch, Are you sure?", "Confirm",
                  MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;
  TMeterState& state = FMeasurement->State;
  state.StopWatchTicks = state.StopWatchTx = state.StopWatchRx = 0;
  ShowStopWatchPanels({});
}

void TFrmMain::WriteStopWatch() {
  const TMeterState& state = FMeasurement->State;
  FSettings->WriteBool("StopWatch", "E", state.StopWatchRunning);
  WriteStopWatchCounts(*FSettings, state);
}

// A stopwatch left running counts on; the time the program was away does not.
void TFrmMain::RestoreStopWatch() {
  const auto& saved = FMainSettings.StopWatch;
  TMeterState& state = FMeasurement->State;
  state.StopWatchTicks = saved.Ticks;
  state.StopWatchTx = saved.Sent;
  state.StopWatchRx = saved.Received;
  ShowStopWatchPanels(StopWatchTexts(state, FDisplaySettings.Rates));
  if (saved.Running) state.StopWatchRunning = true;
  FSWbar->SetVisible(saved.Shown);
  SetBothChecks(FMenus, cmShowStopWatch, saved.Shown);
  ArrangeControls();
}

void TFrmMain::Label5MouseDown() {
  FBevel1->SetVisible(true);  // the pressed look
  RECT label;
  GetWindowRect(FLabel5->Handle(), &label);
  TrackPopupMenu(FMenus.PopupMenu2, TPM_LEFTALIGN | TPM_TOPALIGN, label.left - Scaled(13),
                 label.bottom + Scaled(2), 0, Handle(), nullptr);
  FBevel1->SetVisible(false);
  // Nudging a panel's width makes the bar draw its panels again.
  FSWbar->SetPanelWidth(1, FSWbar->Panel(1).Width + 1);
  FSWbar->SetPanelWidth(1, FSWbar->Panel(1).Width - 1);
}
