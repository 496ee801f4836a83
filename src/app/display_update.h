#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "app/display_text.h"
#include "traffic/meter_state.h"

// The settings the display update follows.
struct TDisplaySettings {
  bool ShowActivity = true;  // activity arrows in the tray icon
  bool StatsTrayTip = true;  // totals in the tray tip
  bool ReconStall = false;   // reconnect a dial-up link that stalled
  TRateUnits Rates;
  std::string QuotaTip;  // the quota's line of the tray tip; empty without a quota
};

// What one display update asks of the window. Unset parts stay as they are.
struct TDisplayUpdate {
  bool NotConnected = false;                // show "Not Connected" (dial-up, no connection)
  bool StallReconnect = false;              // hang up and redial
  std::map<int, std::string> StatusPanels;  // sBar panel → text
  std::optional<std::array<std::string, 3>> StopWatchPanels;  // SWbar panels 1 to 3
  std::optional<int> TrayImage;
  std::optional<std::string> TrayTip;
  struct TPoint {
    int32_t Received;
    int32_t Sent;
  };
  std::optional<TPoint> GraphPoint;  // bytes per tick, averaged
};

// A dial-up link is stalled when no display update found its received
// counter at or above the previous reading for longer than this many
// milliseconds: the counter kept falling, or no update ran (the machine
// slept, the program hung). An idle line's counter stands still, and that
// is no stall. Defined alone in its own file, so that a test build of the
// program can link a shorter one.
extern const uint32_t kStallTime;

// One display update after a sample: byte deltas into the totals, the
// texts, the tray and, every CUI ticks, a graph point. now is the tick
// count; visibleCount the samples the graph shows; dialling whether a
// redial is under way.
TDisplayUpdate UpdateDisplay(TMeterState& state, const TDisplaySettings& settings, uint32_t now,
                             int32_t visibleCount, bool dialling);

// The stopwatch bar's elapsed time, received and sent texts; empty until the
// stopwatch has counted ticks and bytes both ways.
std::array<std::string, 3> StopWatchTexts(const TMeterState& state, const TRateUnits& rates);
