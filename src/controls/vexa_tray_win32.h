#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/handle_guards_win32.h"

enum TDisplayMode { dmIcon, dmImageList };
enum TmsMode { tmsNo, tmsYes, tmsStartupInfo };

// The icon's callbacks, and the request to remove it once clicks have settled.
inline constexpr UINT WM_TRAYNOTIFY = 28032;
inline constexpr UINT WM_TRAYREMOVE = 28033;
inline constexpr UINT_PTR kTrayAnimationTimer = 10;

// The shell's version as major * 100 + minor; 400 when it does not say.
int ShellVersion();
// The size of the icon record the shell of that version understands.
int NotifyIconRecordSize(int shellVersion, bool replacementShell);

// The program's icon in the taskbar notification area. It lives on the
// application window's messages: the icon's callbacks, its animation timer
// and the shell's "TaskbarCreated" broadcast arrive there. It hides the
// application to the tray and brings the owner form (the main window) back.
class TVexaTray {
 public:
  explicit TVexaTray(HWND ownerForm);
  ~TVexaTray();
  TVexaTray(const TVexaTray&) = delete;
  TVexaTray& operator=(const TVexaTray&) = delete;

  UINT ID = 0;                // set before the icon is added
  int Interval = 250;         // ms; read when Animate is turned on
  bool AutoRestore = false;   // a left click on the icon restores
  bool AutoMinimize = false;  // minimising the application goes to the tray
  // Minimising with Ctrl held asks OnSetPassword for a password that
  // OnVerifyPassword must then accept before a restore.
  bool AllowPassword = false;
  TmsMode StartMinimized = tmsNo;  // read by Loaded
  HMENU PopupMenu = nullptr;       // stays the caller's

  TDisplayMode DisplayMode() const { return FDisplayMode; }
  void SetDisplayMode(TDisplayMode mode);
  HIMAGELIST ImageList() const { return FImageList; }
  void SetImageList(HIMAGELIST list);  // stays the caller's
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  bool Animate() const { return FAnimate; }
  void SetAnimate(bool animate);
  bool Hidden() const { return FHidden; }
  void SetHidden(bool hidden);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  const std::string& ToolTip() const { return FToolTip; }
  void SetToolTip(const std::string& text);
  void SetIcon(HICON icon);  // copied

  bool InTray() const { return FInTray; }
  bool Minimized() const { return FMinimized; }
  // The tip in the last record given to the shell.
  const std::string& ShownTip() const { return FShownTip; }
  int RecordSize() const { return FRecordSize; }

  bool AddIcon();
  bool RemoveIcon();
  bool UpdateIcon();
  // A warning balloon over the icon, when the icon is in the tray and the
  // shell shows balloons (from version 5 on); false when it did not show.
  bool ShowBalloon(const std::string& title, const std::string& text);
  void MinimizeToTray();
  // False when OnCanRestore or the password refuses.
  bool Restore();
  void SetMinimized(bool minimized);
  // Call once the owner form is built; true when the program starts in the
  // tray, and then the owner form is not to be shown.
  bool Loaded();

  std::function<void()> OnAnimate, OnMinimize, OnRestore, OnClick, OnDblClick;
  std::function<void(int x, int y)> OnRightClick;
  std::function<void(int x, int y)> OnMouseMove;  // screen coordinates
  std::function<void(std::string& password)> OnSetPassword;
  std::function<bool(const std::string& password)> OnVerifyPassword;
  std::function<bool()> OnCanRestore;
  // Every message of the application window; a non-zero result ends its handling.
  std::function<void(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)> OnMessage;

  // The shell call; tests watch or refuse what reaches the shell through it.
  std::function<BOOL(DWORD message, NOTIFYICONDATAA* data)> ShellNotify = Shell_NotifyIconA;

 private:
  bool HookMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool RestoreBlocked() const;
  void ApplicationMinimized();
  void TrayNotify(UINT mouseMessage);
  void Click();
  void ShowPopupMenu();
  void NextFrame();
  void DeferredRemove();
  bool ValidImage(int index) const;
  void TakeImage(int index);
  bool Notify(DWORD message);
  bool StartsMinimized() const;

  HWND FOwner;
  HWND FApplication;
  UINT FTaskbarCreated;
  int FHook;
  // Cleared by the destructor: a handler that pumped messages checks it
  // before touching the component again.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  int FRecordSize;
  bool FVersioned = false;  // the shell took NOTIFYICON_VERSION

  TDisplayMode FDisplayMode = dmIcon;
  HIMAGELIST FImageList = nullptr;
  int FImageIndex = 0;
  bool FAnimate = false;
  int FFrame = 0;
  bool FHidden = false;
  bool FEnabled = false;
  std::string FToolTip;
  std::string FShownTip;
  TOwnedIcon FIcon;
  TOwnedIcon FImageIcon;

  bool FInTray = false;
  bool FMinimized = false;
  bool FRestoring = false;
  bool FAddRequested = false;
  std::string FPassword;
  RECT FBounds{};
  SIZE FScreen{};
};
