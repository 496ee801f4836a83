#pragma once

#include <memory>
#include <string>

#include "dialup/ip_ras_access_win32.h"
#include "storage/ini_file.h"
#include "traffic/measurement.h"
#include "traffic/nic_change_thread_win32.h"
#include "ui/form_win32.h"

// The program's one main window. It lives from start-up to the end of the
// message loop; closing it ends the program.
class TFrmMain : public TForm {
 public:
  // Private messages, all posted.
  static constexpr UINT WMUPDATEDISPLAY = 1127;
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
  // What the last display update asked for.
  const TDisplayUpdate& LastUpdate() const { return FLastUpdate; }

  // The one-second tick: sample, flush when due, then ask for a display update.
  void Timer1Timer();

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormCreate();
  void ReadSettings();
  void FormClose();
  void EndSession();
  void WMUpdateDisplay();

  std::string FFolder;
  TIpRasAccess FRasAccess;
  std::unique_ptr<TLinkSource> FOwnSource;
  TLinkSource* FSource;
  std::unique_ptr<TIniFile32> FSettings;
  std::unique_ptr<TMeasurement> FMeasurement;
  std::unique_ptr<TNicChangeThread> FNicChangeThread;
  TDisplaySettings FDisplaySettings;
  TDisplayUpdate FLastUpdate;
};
