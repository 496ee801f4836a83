#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/display_text.h"
#include "setup/setup_tables.h"
#include "storage/ini_file.h"
#include "traffic/adapter_choice.h"

// Everything the main window reads from "settings.ini" at start, with the
// defaults of a file that lacks a key.
struct TMainSettings {
  int HistoryHours = 6;  // "BrowseMode" "Hours"
  int32_t MaxPeak = -1;
  bool MainMenu = true;
  bool GraphTips = true;
  bool BrowseMode = false;
  bool Borderless = false;
  bool SolidBar = false;
  bool StatsTrayTip = true;
  int AntiAlias = 0;
  int LineWidth = 0;  // list index: the pen is one wider
  bool Statusbar = true;
  bool ReconStall = false;
  bool ShowActivity = true;
  int CUI = 1;
  bool VLines = true;
  int GridStyle = 3;
  int YaxisDisplay = 1;
  int Scale = 0;
  int MaxValueType = 0;
  std::string MaxValue;

  TColorSet Colors = {0xFF0000, 0x0000FF, 0x000080, 0x808080, 0, 0xFFFFFF, 0x8000000F};

  bool Dialup = false;
  TAdapterChoice Adapters;  // "NIC"

  struct TBounds {
    int Left, Top, Width, Height;
  };
  std::optional<TBounds> Window;  // only when the file has a "Window" section

  struct TStopWatch {
    bool Running = false;  // "E"
    int64_t Ticks = 0;     // "D"
    int64_t Sent = 0;      // "Tx"
    int64_t Received = 0;  // "Rx"
    bool Shown = false;    // "V"
  } StopWatch;
};

TMainSettings ReadMainSettings(TIniFile32& ini);

// Rates in bytes, or in bits with the suffix start-up gives them (" kbps";
// the Setup dialog's Apply writes " Kbps").
TRateUnits StartupRateUnits(bool bits);
