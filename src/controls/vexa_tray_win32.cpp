#include "controls/vexa_tray_win32.h"

#include <shlwapi.h>

#include <exception>

#include "storage/text_utils.h"
#include "ui/application_win32.h"
#include "ui/force_foreground_win32.h"
#include "ui/form_win32.h"

namespace {

constexpr int kTipLength = 64;
// The icon record as each shell generation reads it: 4.0, 5.0, 6.0.
constexpr int kRecordV1 = NOTIFYICONDATAA_V1_SIZE;
constexpr int kRecordV2 = NOTIFYICONDATAA_V2_SIZE;
constexpr int kRecordV3 = sizeof(NOTIFYICONDATAA);
static_assert(kRecordV1 == 88 && kRecordV2 == 488 && kRecordV3 == 504);
// How long a removal waits for an add that takes it back.
constexpr DWORD kRemoveDelayMs = 200;

// A replacement shell of this class cannot read the longer records.
bool ReplacementShellRunning() {
  return FindWindowA("MinistarsExplorerXWindow", "") != nullptr;
}

// Clears the flag however the restore ends: a handler that throws must not
// leave the tray refusing every later restore.
class TRestoringGuard {
 public:
  explicit TRestoringGuard(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TRestoringGuard() { FFlag = false; }
  TRestoringGuard(const TRestoringGuard&) = delete;
  TRestoringGuard& operator=(const TRestoringGuard&) = delete;

 private:
  bool& FFlag;
};

SIZE ScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

POINT CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return p;
}

}  // namespace

int ShellVersion() {
  // shell32 is linked in, so it is loaded and stays loaded.
  HMODULE shell = GetModuleHandleA("shell32.dll");
  auto getVersion = shell ? reinterpret_cast<DLLGETVERSIONPROC>(
                                reinterpret_cast<void*>(GetProcAddress(shell, "DllGetVersion")))
                          : nullptr;
  DLLVERSIONINFO info{};
  info.cbSize = sizeof info;
  if (!getVersion || FAILED(getVersion(&info))) return 400;
  return static_cast<int>(info.dwMajorVersion * 100 + info.dwMinorVersion);
}

int NotifyIconRecordSize(int shellVersion, bool replacementShell) {
  if (replacementShell) return kRecordV1;
  if (shellVersion == 600) return kRecordV3;
  if (shellVersion >= 500) return kRecordV2;
  return kRecordV1;
}

TVexaTray::TVexaTray(HWND ownerForm)
    : FOwner(ownerForm),
      FApplication(TApplication::Instance().Handle()),
      FTaskbarCreated(RegisterWindowMessageA("TaskbarCreated")),
      FRecordSize(NotifyIconRecordSize(ShellVersion(), ReplacementShellRunning())) {
  FHook = TApplication::Instance().HookMessages(
      [this, alive = FAlive](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (!*alive) return false;
        try {
          return HookMessage(msg, wParam, lParam, result);
        } catch (const std::exception& e) {
          ShowException(FOwner, e.what());
        } catch (...) {
          ShowException(FOwner, "Unexpected error");
        }
        return false;
      });
}

TVexaTray::~TVexaTray() {
  *FAlive = false;
  KillTimer(FApplication, kTrayAnimationTimer);
  RemoveIcon();
  TApplication::Instance().UnhookMessages(FHook);
}

void TVexaTray::SetDisplayMode(TDisplayMode mode) {
  FDisplayMode = mode;
  if (FEnabled) UpdateIcon();
}

void TVexaTray::SetImageList(HIMAGELIST list) {
  FImageList = list;
  TakeImage(FImageIndex);
  if (FEnabled) UpdateIcon();
}

bool TVexaTray::ValidImage(int index) const {
  return FImageList && index >= 0 && index < ImageList_GetImageCount(FImageList);
}

void TVexaTray::SetImageIndex(int index) {
  if (index == FImageIndex || !ValidImage(index)) return;
  FImageIndex = index;
  TakeImage(index);
  if (FEnabled) UpdateIcon();
}

void TVexaTray::TakeImage(int index) {
  FImageIcon.Reset(ValidImage(index) ? ImageList_GetIcon(FImageList, index, ILD_NORMAL) : nullptr);
}

void TVexaTray::SetAnimate(bool animate) {
  FAnimate = animate;
  if (animate && Interval != 0)
    SetTimer(FApplication, kTrayAnimationTimer, static_cast<UINT>(Interval), nullptr);
  else
    KillTimer(FApplication, kTrayAnimationTimer);
}

void TVexaTray::SetHidden(bool hidden) {
  FHidden = hidden;
  if (hidden)
    RemoveIcon();
  else
    AddIcon();
}

void TVexaTray::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  if (enabled) {
    // An icon still waiting for its removal counts as added.
    AddIcon();
    FEnabled = FInTray;
  } else {
    PostMessageA(FApplication, WM_TRAYREMOVE, 0, 0);
  }
}

void TVexaTray::SetToolTip(const std::string& text) {
  FToolTip = ShortenText(text, kTipLength);
}

void TVexaTray::SetIcon(HICON icon) {
  FIcon.Reset(icon ? CopyIcon(icon) : nullptr);
  UpdateIcon();
}

bool TVexaTray::Notify(DWORD message) {
  NOTIFYICONDATAA data{};
  data.cbSize = static_cast<DWORD>(FRecordSize);
  data.hWnd = FApplication;
  data.uID = ID;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_TRAYNOTIFY;
  data.hIcon = FDisplayMode == dmIcon ? FIcon.Get() : FImageIcon.Get();
  // The oldest record holds 63 characters and the end mark; a full 64 would overrun it.
  const int tipSize = FRecordSize == kRecordV1 ? kTipLength : sizeof data.szTip;
  lstrcpynA(data.szTip, FToolTip.c_str(), tipSize);
  if (!ShellNotify(message, &data)) return false;
  FShownTip = data.szTip;
  if (message == NIM_ADD && FRecordSize != kRecordV1) {
    data.uVersion = NOTIFYICON_VERSION;
    FVersioned = ShellNotify(NIM_SETVERSION, &data);
  }
  return true;
}

bool TVexaTray::ShowBalloon(const std::string& title, const std::string& text) {
  if (!FInTray || FRecordSize == kRecordV1) return false;
  NOTIFYICONDATAA data{};
  data.cbSize = static_cast<DWORD>(FRecordSize);
  data.hWnd = FApplication;
  data.uID = ID;
  data.uFlags = NIF_INFO;
  data.dwInfoFlags = NIIF_WARNING;
  lstrcpynA(data.szInfoTitle, title.c_str(), sizeof data.szInfoTitle);
  lstrcpynA(data.szInfo, text.c_str(), sizeof data.szInfo);
  return ShellNotify(NIM_MODIFY, &data);
}

bool TVexaTray::AddIcon() {
  FAddRequested = true;
  if (FInTray) return false;
  FInTray = Notify(NIM_ADD);
  return FInTray;
}

bool TVexaTray::RemoveIcon() {
  if (!FInTray) return false;
  NOTIFYICONDATAA data{};
  data.cbSize = static_cast<DWORD>(FRecordSize);
  data.hWnd = FApplication;
  data.uID = ID;
  // A shell that neither deletes nor knows the icon has lost it already.
  const bool removed = ShellNotify(NIM_DELETE, &data) || !ShellNotify(NIM_MODIFY, &data);
  FInTray = !removed;
  return removed;
}

bool TVexaTray::UpdateIcon() {
  if (!FInTray) return true;
  return Notify(NIM_MODIFY) || Notify(NIM_ADD);
}

void TVexaTray::MinimizeToTray() {
  if (FMinimized) return;
  if (!FInTray) SetEnabled(true);
  if (!FInTray) return;
  FMinimized = true;
  if (AllowPassword && OnSetPassword && GetForegroundWindow() == FOwner &&
      GetKeyState(VK_CONTROL) < 0)
    OnSetPassword(FPassword);

  // Off the taskbar too; iconic first, so that restoring shows it again.
  TApplication::Instance().Minimize();
  ShowWindow(FApplication, SW_HIDE);

  GetWindowRect(FOwner, &FBounds);
  FScreen = ScreenSize();
}

bool TVexaTray::Restore() {
  if (!FMinimized || FRestoring) return true;
  TRestoringGuard restoring(FRestoring);
  if (OnCanRestore && !OnCanRestore()) return false;
  if (AllowPassword && OnVerifyPassword && !FPassword.empty() && !OnVerifyPassword(FPassword))
    return false;
  if (!FEnabled) PostMessageA(FApplication, WM_TRAYREMOVE, 0, 0);

  // Bounds from another screen size would put the window somewhere odd; then
  // the system's placement stands.
  const SIZE screen = ScreenSize();
  if (screen.cx == FScreen.cx && screen.cy == FScreen.cy)
    SetWindowPos(FOwner, nullptr, FBounds.left, FBounds.top, FBounds.right - FBounds.left,
                 FBounds.bottom - FBounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
  TApplication::Instance().Restore();
  ShowWindow(FOwner, SW_SHOW);
  ForceForegroundWindow(FOwner, true);

  FMinimized = false;
  if (OnRestore) OnRestore();
  return true;
}

void TVexaTray::SetMinimized(bool minimized) {
  if (minimized)
    MinimizeToTray();
  else
    Restore();
}

bool TVexaTray::StartsMinimized() const {
  if (StartMinimized == tmsYes) return true;
  if (StartMinimized != tmsStartupInfo) return false;
  STARTUPINFOA info{};
  info.cb = sizeof info;
  GetStartupInfoA(&info);
  return (info.dwFlags & STARTF_USESHOWWINDOW) &&
         (info.wShowWindow == SW_SHOWMINIMIZED || info.wShowWindow == SW_SHOWMINNOACTIVE);
}

bool TVexaTray::Loaded() {
  if (!StartsMinimized()) return false;
  ShowWindow(FOwner, SW_HIDE);
  MinimizeToTray();
  return FMinimized;
}

// While a restore runs, or while the lock is on, only the tray may restore.
bool TVexaTray::RestoreBlocked() const {
  return FRestoring || (AllowPassword && !FPassword.empty());
}

bool TVexaTray::HookMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const auto alive = FAlive;
  switch (msg) {
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) ApplicationMinimized();
      break;
    case WM_SYSCOMMAND:
      // A refused restore must not be done by the default handling either.
      if ((wParam & 0xFFF0) == SC_RESTORE && (RestoreBlocked() || !Restore())) return true;
      break;
    case WM_TIMER:
      if (wParam == kTrayAnimationTimer) NextFrame();
      break;
    case WM_TRAYNOTIFY:
      if (wParam == ID) TrayNotify(LOWORD(lParam));
      break;
    case WM_TRAYREMOVE: DeferredRemove(); break;
  }
  if (!*alive) return false;  // destroyed by a message pumped meanwhile
  if (msg == FTaskbarCreated && FEnabled && !FHidden) {
    // The new taskbar has no icons: the old record is gone with the old one.
    RemoveIcon();
    AddIcon();
  }
  if (OnMessage) OnMessage(msg, wParam, lParam, result);
  return result != 0;
}

void TVexaTray::ApplicationMinimized() {
  if (OnMinimize) OnMinimize();
  if (!AutoMinimize) return;
  SetEnabled(true);
  SetMinimized(true);
}

void TVexaTray::NextFrame() {
  if (!FAnimate || !FImageList) return;
  TakeImage(FFrame);
  UpdateIcon();
  FFrame = FFrame + 1 < ImageList_GetImageCount(FImageList) ? FFrame + 1 : 0;
  if (OnAnimate) OnAnimate();
}

void TVexaTray::TrayNotify(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_MOUSEMOVE: {
      const POINT p = CursorPos();
      if (OnMouseMove) OnMouseMove(p.x, p.y);
      // The tip changes every second; the shell hears of it when someone looks.
      if (FToolTip != FShownTip) UpdateIcon();
      break;
    }
    // A shell that took our version follows each mouse click with the
    // message that also stands for the keyboard: Enter or Space on the
    // focused icon, the menu key or Shift+F10. Each click counts once.
    case WM_LBUTTONUP:
    case NIN_SELECT:
    case NIN_KEYSELECT:
      if ((mouseMessage == WM_LBUTTONUP) != FVersioned) Click();
      break;
    case WM_LBUTTONDBLCLK:
      if (OnDblClick) OnDblClick();
      break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      if ((mouseMessage == WM_RBUTTONUP) != FVersioned && PopupMenu) ShowPopupMenu();
      break;
  }
}

void TVexaTray::Click() {
  if (AutoRestore) Restore();
  if (OnClick) OnClick();
}

void TVexaTray::ShowPopupMenu() {
  // Without the foreground the menu would not close when clicked away from.
  SetForegroundWindow(FApplication);
  const auto alive = FAlive;
  TApplication::Instance().ProcessMessages();
  if (!*alive) return;
  const POINT p = CursorPos();
  TrackPopupMenu(PopupMenu, TPM_RIGHTBUTTON, p.x, p.y, 0, FApplication, nullptr);
  if (!*alive) return;
  // Lets the menu's window settle, as the shell expects of tray menus.
  PostMessageA(FApplication, WM_NULL, 0, 0);
  if (OnRightClick) OnRightClick(p.x, p.y);
}

void TVexaTray::DeferredRemove() {
  if (!FInTray || FEnabled) return;
  // A click that re-enables the icon within the window takes the removal back.
  FAddRequested = false;
  const auto alive = FAlive;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start <= kRemoveDelayMs) {
    Sleep(1);
    TApplication::Instance().ProcessMessages();
    if (!*alive) return;
  }
  if (!FAddRequested && !FEnabled) RemoveIcon();
}
