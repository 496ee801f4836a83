#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "controls/meter_model.h"
#include "formatting/rate_format.h"
#include "platform/format_settings.h"
#include "reports/metrics_export.h"
#include "reports/quota.h"
#include "setup/setup_tables.h"
#include "storage/ini_file.h"
#include "traffic/adapter_choice.h"
#include "traffic/meter_state.h"

// The main window's own options that Setup shows and changes.
struct THostOptions {
  bool ShowActivity = true;  // activity arrows in the tray icon
  bool StatsTrayTip = true;  // totals in the tray tip
  bool GraphTips = true;
  bool MainMenu = true;  // the menu bar is shown
  TColorSet Colors{};
  TRateUnits Rates;
  TQuotaSettings Quota;
  TExportSettings Export;
};

// What Setup reads from the main window and changes in it: the settings,
// the measurement (its source, adapter list and counters), the graph, the
// window's own options and the tray icon.
class TSetupHost {
 public:
  virtual ~TSetupHost() = default;
  // Where the program keeps its files, with a trailing delimiter.
  virtual const std::string& Folder() const = 0;
  virtual TIniFile32& Settings() = 0;
  virtual TMeterState& Meter() = 0;
  virtual TMeterModel& Graph() = 0;
  virtual THostOptions Options() const = 0;
  virtual void SetOptions(const THostOptions& options) = 0;
  virtual void SetTrayImageIndex(int index) = 0;
  virtual void SetTrayTip(const std::string& tip) = 0;
  // Ends the watched link's connection as a disconnect would: its log line,
  // and what was counted booked under the link it was counted on.
  virtual void EndConnection() = 0;
};

// The values of the dialog's controls, by tab.
struct TSetupValues {
  // "Network": the source, and the adapters chosen (no keys: none).
  bool Dialup = false;
  TAdapterChoice Adapters;
  // "Graph -1": list indexes, and the colour buttons.
  int GraphType = 0;  // Line, Area
  int GridStyle = 2;  // None, Solid, Dotted
  int XAxis = 1;      // None, Bottom
  int YAxis = 1;      // None, Left, Right, Both
  TColorSet Colors{};
  // "Graph -2".
  int Units = 0;         // KB/s, kbps
  int MaxValueType = 0;  // an index of kMaximumChoices
  std::string MaxValue;  // the custom maximum as typed
  int IntervalPosition = 1;
  int AntiAlias = 0;  // None, 2x2, 3x3, 4x4
  int LineWidth = 0;  // the list index: the pen is one wider
  // "Options".
  bool ShowActivity = true;
  bool StatsTrayTip = true;
  bool MainMenu = true;
  bool GraphTips = true;
  int Hours = 6;            // of history kept for browse mode
  std::string MetricsFile;  // the figures' file, as typed
  int MetricsInterval = 15;
  // "Quota": the limit as shown or typed, in the unit of kQuotaUnits.
  bool QuotaEnabled = false;
  std::string QuotaLimit = "0";
  int QuotaUnit = 0;
  int QuotaStartDay = 1;
  int QuotaCount = 0;  // an index of kQuotaCounts
  int QuotaWarnPercent = 80;
};
inline constexpr int kMinHours = 1;
inline constexpr int kMaxHours = 1920;

// The dialog's values from the main window's state and the settings; a
// stored choice outside its list reads as the list's default. Without an
// adapter chosen yet, the one offered is the first that is up with an
// address, else the first listed. The quota's
// limit reads in whole gigabytes where it is some, else in megabytes
// rounded down.
TSetupValues ReadSetupValues(TSetupHost& host);

// Changes the main window, the graph and the tray to the values and writes
// every setting. A change of the source, or in adapter mode of the adapters
// counted, ends the connection of the links watched so far (booking what
// they counted) and starts the measurement afresh. A choice with an adapter
// newly chosen that is no longer listed, or a set without an adapter, keeps
// the adapters counted before. The
// quota keeps the warning the main window last gave, and its limit where
// the text is no whole number. Returns what the user is to be told; empty
// when all went as chosen.
std::string ApplySetup(const TSetupValues& values, TSetupHost& host);

// The quota the values set: the limit as typed (where the text is no whole
// number, the previous one), and the warning the main window last gave.
TQuotaSettings SetupQuota(const TSetupValues& values, const TQuotaSettings& previous);

// The lines under the Quota tab's settings, for the quota the values set:
// the billing period that holds today, what is used of the limit, and the
// days left with the daily budget, from the month files in the host's
// folder; "No quota is set." while no quota is watched.
std::string QuotaFiguresText(const TSetupValues& values, TSetupHost& host, int32_t today,
                             const TFormatSettings& fs = FormatSettings());

// The graph's colours from a colour set.
void ApplyGraphColors(const TColorSet& colors, TMeterModel& graph);
