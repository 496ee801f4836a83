#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/display_update.h"
#include "reports/metrics_export.h"
#include "storage/ini_file.h"
#include "traffic/link_source.h"
#include "traffic/meter_state.h"
#include "traffic/sampler.h"
#include "traffic/usage_book.h"

// The measurement of the watched link as the main window runs it: a sample
// and a flush every tick, the display update after it, and the books closed
// when the program ends. Nothing here throws to the window: what goes wrong
// becomes a notice for the window to show when it can, each notice once.
class TMeasurement : private TConnectionEvents {
 public:
  // folder: where the program keeps its files, with a trailing delimiter.
  TMeasurement(const std::string& folder, TIniFile32& settings, TLinkSource& source);

  // One sample of the link.
  void Sample();
  // The one-second tick: a sample, then the totals flushed when due.
  void Tick();
  TDisplayUpdate UpdateDisplay(const TDisplaySettings& settings, int32_t visibleCount,
                               bool dialling);
  void EnumerateAdapters();
  // Setup changed the watched link: the connection so far ends as a
  // disconnect would.
  void EndConnection();
  // The program or the Windows session ends: the log line of a connection
  // still up, and everything counted so far into the month file. Returns the
  // files that could not take what they were to hold.
  std::vector<std::string> Close();
  // What the window is to tell the user, each once; taken by the call.
  std::vector<std::string> TakeNotices();

  // What the figures' file tells now; the quota is the window's to add.
  TMetrics Metrics();
  // The bytes received and sent since firstDay (a day serial) that are not
  // in the month files yet: waiting to be booked, or not yet flushed.
  std::pair<int64_t, int64_t> Unbooked(int32_t firstDay) const;

  TMeterState State;
  const TUsageBook& Book() const { return FBook; }

 private:
  // Everything counted so far into the month file, now.
  void Flush();
  void ConnectionBegan() override;
  void ConnectionEnded() override;
  void Notice(const std::string& message);
  template <typename TStep>
  void Guarded(TStep step);

  TLinkSource& FSource;
  TUsageBook FBook;
  std::vector<std::string> FNotices;
  std::set<std::string> FNoticed;
  std::map<std::string, TLinkCount> FCounted;  // by link, since the start
  uint32_t FLastUpdate = 0;                    // tick of the last display update; 0 before it
};
