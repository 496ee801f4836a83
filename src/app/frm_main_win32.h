#pragma once

#include <windows.h>

#include <commctrl.h>

#include <deque>
#include <memory>
#include <set>
#include <string>

#include "app/main_menus_win32.h"
#include "app/main_settings.h"
#include "app/measurement.h"
#include "controls/vd_status_bar_win32.h"
#include "controls/vexa_meter_win32.h"
#include "controls/vexa_tray_win32.h"
#include "dialup/dial_up_win32.h"
#include "dialup/frm_dial_win32.h"
#include "dialup/ip_ras_access_win32.h"
#include "dialup/redial.h"
#include "reports/frm_report_win32.h"
#include "reports/frm_stats_win32.h"
#include "reports/quota.h"
#include "setup/frm_about_win32.h"
#include "setup/frm_setup_win32.h"
#include "setup/setup_model.h"
#include "storage/ini_file.h"
#include "traffic/nic_change_thread_win32.h"
#include "ui/dpi_win32.h"
#include "ui/form_win32.h"
#include "ui/handle_guards_win32.h"
#include "ui/image_win32.h"
#include "ui/label_win32.h"
#include "ui/scroll_bar_win32.h"

// The program's one main window. It lives from start-up to the end of the
// message loop; closing it ends the program. It owns the measurement, the
// graph, the status bars, the tray icon, the settings and the redial.
class TFrmMain : public TForm, private TSetupHost, private TRedialView {
 public:
  // Private messages, all posted.
  static constexpr UINT WMDIAL = 1125;
  static constexpr UINT WMUPDATEDISPLAY = 1127;
  static constexpr UINT WMAPPLYBORDERLESS = 1128;
  static constexpr UINT WMSHOWSETUP = 1129;
  // Sent by the address-change watcher; runs on this window's thread.
  static constexpr UINT WMADDRESSCHANGE = WM_APP + 1;
  // A secondary window has closed: its object can go.
  static constexpr UINT WMFREECLOSED = WM_APP + 2;
  // The measurement has something to tell the user.
  static constexpr UINT WMSHOWNOTICES = WM_APP + 3;
  // Posted to itself when the installer or the uninstaller asked it to end.
  static constexpr UINT WMEXITNOW = WM_APP + 4;
  // Posted by a second copy that was not started: this one shows itself.
  static constexpr UINT WMSHOWMAIN = WM_APP + 5;
  // WM_COPYDATA's dwData of that request; its data is the folder (ANSI,
  // with or without a trailing backslash) whose copy is to end.
  static constexpr ULONG_PTR kExitRequest = 0x54584954;  // "TIXT"
  static constexpr UINT_PTR Timer1 = 1;
  static constexpr UINT_PTR TmrDial = 2;  // the next redial attempt, once
  static constexpr UINT kRedialInterval = 1000;

  // folder: where the program keeps its files, with a trailing delimiter
  // (the executable's folder; tests pass a scratch folder). source: the link
  // to measure; the system's when none is given (tests give a fake).
  explicit TFrmMain(const std::string& folder, TLinkSource* source = nullptr);
  ~TFrmMain() override;

  const std::string& Folder() const override { return FFolder; }
  TMeasurement& Measurement() { return *FMeasurement; }
  TIniFile32& Settings() override { return *FSettings; }
  TVexaMeter& VexaMeter1() { return *FVexaMeter1; }
  TVexaTray& VexaTray1() { return *FVexaTray1; }
  TVdStatusBar& sBar() { return *FsBar; }
  TVdStatusBar& SWbar() { return *FSWbar; }
  HMENU MainMenu() const { return FMenus.MainMenu1; }
  bool Borderless() const { return FBorderless; }
  bool BrowseMode() const { return FBrowseMode; }
  const TRateUnits& Rates() const { return FDisplaySettings.Rates; }
  // The secondary windows while they are open.
  TFrmSetup* FrmSetup() const { return FSetup.get(); }
  TFrmAbout* FrmAbout() const { return FAbout.get(); }
  TFrmReport* FrmReport() const { return FReport.get(); }
  TFrmStats* FrmStats() const { return FStats.get(); }
  TFrmDial* FrmDial() const { return DialWindowOpen() ? FDial.get() : nullptr; }
  HACCEL Accelerators() const { return FAccelerators.Get(); }

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
  void OpenSettings();
  void ApplySettings();
  void StartMeasurement();
  bool RestorePlacement();
  void FormActivate();
  void FormClose();
  void FormDestroy();
  void EndSession();
  LRESULT WMCopyData(const COPYDATASTRUCT& data);
  void ShowFromElsewhere();
  void WriteMetrics(bool ending = false);
  void SavePlacement();
  void PruneWindowsSection();

  // Window messages other than commands (frm_main_win32.cpp).
  bool WMSysCommand(WPARAM command);
  void FormContextPopup(LPARAM at);
  void WMApplyBorderless();
  void TakeNotices();
  void WMShowNotices();

  // Controls and their arrangement (frm_main_layout_win32.cpp).
  void CreateControls();
  void CreateStopWatchBar();
  void CreateGraph();
  void CreateBrowseBar();
  void ArrangeControls();
  void FormResize();
  int Scaled(int value) const;  // a length designed at 96 DPI, at the window's
  void ChangeDpi(int dpi, const RECT& suggested);

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
  void ScrollBar1Change();
  void VexaMeter1MouseDown(TMouseButton button);
  void WriteStopWatch();

  // The secondary windows and what Setup sees of this one
  // (frm_main_dialogs_win32.cpp).
  void Setup3Click();
  void About2Click();
  void Basic1Click();
  void Advanced1Click();
  void Opened(TDialog& window, bool aboveBorderless);
  void WMFreeClosed();
  TMeterState& Meter() override;
  TMeterModel& Graph() override;
  THostOptions Options() const override;
  void SetOptions(const THostOptions& options) override;
  void SetTrayImageIndex(int index) override;
  void SetTrayTip(const std::string& tip) override;
  void EndConnection() override;

  // The data quota (frm_main_quota_win32.cpp).
  void UpdateQuota();
  void FollowQuota();
  void WarnOfQuota(const TQuotaFigures& figures);

  // The automatic redial (frm_main_dial_win32.cpp).
  void CreateDialUp();
  void DialUp1Dialing();
  void DialUp1AsyncEvent(uint32_t state, int error, const std::string& text);
  void TmrDialTimer();
  void WMDial();
  void OpenDialWindow(const std::string& caption) override;
  void SetDialStatus(const std::string& text) override;
  void CloseDialWindow() override;
  bool DialWindowOpen() const override;
  void ArmTimer() override;
  void PostDial() override;

  // The display update (frm_main_display_win32.cpp).
  void WMUpdateDisplay();
  void ShowNotConnected();
  void ShowStopWatchPanels(const std::array<std::string, 3>& texts);
  void FollowNewData();
  int SetScrollRange();
  std::string VexaMeter1FormatHint(const THistoryData& sample) const;

  std::string FFolder;
  TIpRasAccess FRasAccess;
  TDialUp FDialUp1;
  TRedial FRedial{FDialUp1, *this};
  std::unique_ptr<TLinkSource> FOwnSource;
  TLinkSource* FSource;
  std::unique_ptr<TIniFile32> FSettings;
  std::unique_ptr<TMeasurement> FMeasurement;
  std::unique_ptr<TNicChangeThread> FNicChangeThread;
  TMainSettings FMainSettings;
  TDisplaySettings FDisplaySettings;
  TQuotaSettings FQuota;
  uint32_t FQuotaFlush = 0;  // the flush the quota's figures were read after

  // The fonts and images outlive the controls that show them.
  TMainMenus FMenus;
  TOwnedAccelerators FAccelerators;
  TGdiObject<HFONT> FFont;
  TGdiObject<HFONT> FNotConnectedFont;
  TOwnedImageList FTrayImages;
  std::unique_ptr<TVdStatusBar> FSWbar;
  std::unique_ptr<TControl> FBevel1;  // the pressed look of the stopwatch label
  std::unique_ptr<TImage> FImage1;
  std::unique_ptr<TLabel> FLabel5;
  std::unique_ptr<TVexaMeter> FVexaMeter1;
  std::unique_ptr<TLabel> FlbNotCon;
  std::unique_ptr<TLabel> FPnlBrowse;  // the "Browse Mode" caption of the browse bar
  std::unique_ptr<TScrollBar> FScrollBar1;
  std::unique_ptr<TVdStatusBar> FsBar;
  std::unique_ptr<TVexaTray> FVexaTray1;
  std::unique_ptr<TFrmSetup> FSetup;
  std::unique_ptr<TFrmAbout> FAbout;
  std::unique_ptr<TFrmReport> FReport;
  std::unique_ptr<TFrmStats> FStats;
  std::unique_ptr<TFrmDial> FDial;
  std::string FLastStatsEntry;  // the statistics' entry chosen last in this run

  std::deque<std::string> FNotices;
  bool FShowingNotice = false;
  bool FAskingToClose = false;
  std::set<std::string> FQuotaNoted;  // what reading the quota noted, told once
  TQuotaFigures FQuotaRead;           // as last read from the month files
  TQuotaFigures FQuotaFigures;        // with what was counted since
  TExportSettings FExport;
  uint32_t FMetricsWritten = 0;        // tick of the last write of the figures' file
  std::set<std::string> FMetricsTold;  // files that could not be written, told
  bool FBorderless = false;
  bool FBrowseMode = false;
  bool FActivated = false;
  int FDpi = kDesignDpi;
  LONG_PTR FSavedStyle = 0;
};
