#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/main_menus_win32.h"
#include "app/main_settings.h"
#include "controls/vd_status_bar_win32.h"
#include "controls/vexa_meter_win32.h"
#include "controls/vexa_tray_win32.h"
#include "dialup/ip_ras_access_win32.h"
#include "storage/ini_file.h"
#include "traffic/measurement.h"
#include "traffic/nic_change_thread_win32.h"
#include "ui/form_win32.h"

// The program's one main window. It lives from start-up to the end of the
// message loop; closing it ends the program. It owns the measurement, the
// graph, the status bars, the tray icon and the settings.
class TFrmMain : public TForm {
 public:
  // Private messages, all posted.
  static constexpr UINT WMUPDATEDISPLAY = 1127;
  static constexpr UINT WMAPPLYBORDERLESS = 1128;
  static constexpr UINT WMSHOWSETUP = 1129;
  // Sent by the address-change watcher; runs on this window's thread.
  static constexpr UINT WMADDRESSCHANGE = WM_APP + 1;
  static constexpr UINT_PTR Timer1 = 1;

  // folder: where the program keeps its files, with a trailing delimiter
  // (the executable's folder; tests pass a scratch folder). source: the link
  // to measure; the system's when none is given (tests give a fake).
  explicit TFrmMain(const std::string& folder, TLinkSource* source = nullptr);
  ~TFrmMain() override;

  const std::string& Folder() const { return FFolder; }
  TMeasurement& Measurement() { return *FMeasurement; }
  TIniFile32& Settings() { return *FSettings; }
  TVexaMeter& VexaMeter1() { return *FVexaMeter1; }
  TVexaTray& VexaTray1() { return *FVexaTray1; }
  TVdStatusBar& sBar() { return *FsBar; }
  TVdStatusBar& SWbar() { return *FSWbar; }
  HWND lbNotCon() const { return FlbNotCon; }
  HWND ScrollBar1() const { return FScrollBar1; }
  HWND BrowsePanel() const { return FPnlBrowse; }
  HMENU MainMenu() const { return FMenus.MainMenu1; }
  bool Borderless() const { return FBorderless; }
  bool BrowseMode() const { return FBrowseMode; }
  const TRateUnits& Rates() const { return FDisplaySettings.Rates; }
  HACCEL Accelerators() const { return FAccelerators; }

  // The one-second tick: sample, flush when due, then ask for a display update.
  void Timer1Timer();
  // The commands of the menus, by identifier.
  void Command(UINT command);
  void ToggleBorderless();

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  // Creation and destruction (frm_main_win32.cpp).
  void FormCreate();
  void ApplySettings();
  void FormActivate();
  void FormClose();
  void FormDestroy();
  void EndSession();
  void SavePlacement();
  void PruneWindowsSection();

  // Controls and their arrangement (frm_main_layout_win32.cpp).
  void CreateControls();
  void ArrangeControls();
  void FormResize();
  LRESULT ColorStatic(HDC dc, HWND control);
  void DrawStopWatchImage(const DRAWITEMSTRUCT& item);

  // The tray icon and its images (frm_main_tray_win32.cpp).
  void CreateTray();
  void LoadCustomTrayIcons();

  // Commands (frm_main_commands_win32.cpp).
  void StopWatch1Click();
  void mnuStatusbarClick();
  void BrowseModeClick();
  void Start1Click();
  void Stop1Click();
  void Reset1Click();
  void RestoreStopWatch();
  void PrepareMenu(HMENU menu);
  void Label5MouseDown();
  void ScrollBar1Scroll(int code);
  void ScrollBar1Change();
  void VexaMeter1MouseDown(TMouseButton button);
  void WriteStopWatch(bool withRunning);

  // The display update (frm_main_display_win32.cpp).
  void WMUpdateDisplay();
  void ShowStopWatchPanels(const std::array<std::string, 3>& texts);
  void FollowNewData();
  std::string VexaMeter1FormatHint(const THistoryData& sample) const;

  std::string FFolder;
  TIpRasAccess FRasAccess;
  std::unique_ptr<TLinkSource> FOwnSource;
  TLinkSource* FSource;
  std::unique_ptr<TIniFile32> FSettings;
  std::unique_ptr<TMeasurement> FMeasurement;
  std::unique_ptr<TNicChangeThread> FNicChangeThread;
  TMainSettings FMainSettings;
  TDisplaySettings FDisplaySettings;

  TMainMenus FMenus;
  HACCEL FAccelerators;
  HFONT FFont = nullptr;
  HFONT FNotConnectedFont = nullptr;
  HIMAGELIST FTrayImages = nullptr;
  HIMAGELIST FStopWatchImage = nullptr;
  std::unique_ptr<TVdStatusBar> FSWbar;
  std::unique_ptr<TVexaMeter> FVexaMeter1;
  HWND FlbNotCon = nullptr;
  HWND FPnlBrowse = nullptr;  // the "Browse Mode" caption of the browse bar
  HWND FScrollBar1 = nullptr;
  std::unique_ptr<TVdStatusBar> FsBar;
  HWND FBevel1 = nullptr;
  HWND FImage1 = nullptr;
  HWND FLabel5 = nullptr;
  std::unique_ptr<TVexaTray> FVexaTray1;

  bool FBorderless = false;
  bool FBrowseMode = false;
  bool FActivated = false;
  LONG_PTR FSavedStyle = 0;
  HBRUSH FNotConnectedBrush = nullptr;
};
