#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>

// The fixed choices of the Setup dialog, shared with the main window's
// start-up, which reads the same settings.

// The seven display colours, in the order of the dialog's rows and of the
// keys of the "Colors" section: D/L, U/L, text, grid, border, graph
// background, background. Each is 0x00BBGGRR, or a system colour code with
// the top bit set.
using TColorSet = std::array<uint32_t, 7>;
inline constexpr std::array<const char*, 7> kColorKeys = {
    "DL", "UL", "Text", "Grid", "Border", "GraphBackground", "Background"};

// "Update Interval": the scroll bar's positions 1 to 12, in seconds.
struct TIntervalStep {
  int Seconds;
  const char* Text;
};
inline constexpr std::array<TIntervalStep, 12> kIntervalSteps = {{{1, "1 second"},
                                                                  {2, "2 seconds"},
                                                                  {5, "5 seconds"},
                                                                  {10, "10 seconds"},
                                                                  {20, "20 seconds"},
                                                                  {30, "30 seconds"},
                                                                  {60, "1 minute"},
                                                                  {120, "2 minute"},
                                                                  {300, "5 minutes"},
                                                                  {600, "10 minutes"},
                                                                  {1800, "30 minutes"},
                                                                  {3600, "1 hour"}}};
// The position (1 to 12) of an interval; 1 for one the list lacks.
int IntervalPosition(int seconds);
// The interval of a position; positions outside 1 to 12 are kept within them.
const TIntervalStep& IntervalStep(int position);

// "Max Value": the list's captions; index 0 is automatic scaling and the last
// the custom value in kilobytes per second.
inline constexpr std::array<const char*, 17> kMaximumChoices = {"Automatic",
                                                                "33.6 kbps (analog modems)",
                                                                "48 kbps (analog modems)",
                                                                "56 kbps (analog modems)",
                                                                "64 kbps (single-channel ISDN)",
                                                                "128 kbps (ISDN, Cable, DSL)",
                                                                "256 kbps (DSL, Frame Relay)",
                                                                "384 kbps (DSL)",
                                                                "512 kbps (DSL)",
                                                                "768 kbps (DSL)",
                                                                "1 mbps (DSL, Cable)",
                                                                "1.544 mbps (T1, DSL, Cable)",
                                                                "2 mbps (DSL, Cable)",
                                                                "10 mbps (DSL, Cable, LAN)",
                                                                "44.736 mbps (DS3)",
                                                                "100 mbps (LAN)",
                                                                "Custom Value"};
inline constexpr int kCustomMaximum = 16;

// The graph maximum, in bytes per second, that a "MaxValueType" sets: nothing
// for automatic scaling (0) or above the list. The custom value counts in
// kilobytes per second: 0 when it is not a number, and never negative or
// beyond what 32 bits hold.
std::optional<int32_t> MaxValueForType(int type, const std::string& customValue);

// Whether a character typed into a number box (the custom value, the
// quota's limit) is taken: digits and backspace, or anything with Ctrl held
// (the clipboard's shortcuts).
bool AcceptCustomValueKey(char key, bool ctrlDown);

// "Quota": the limit's units, and what counts, in the order of TQuotaCount.
struct TQuotaUnit {
  int64_t Bytes;
  const char* Text;
};
inline constexpr std::array<TQuotaUnit, 2> kQuotaUnits = {{{1048576, "MB"}, {1073741824, "GB"}}};
inline constexpr std::array<const char*, 3> kQuotaCounts = {"Download and upload", "Download only",
                                                            "Upload only"};

// A colour (0x00BBGGRR) whose components are each drawn from 0 to 254.
uint32_t RandomColor(std::mt19937& random);
