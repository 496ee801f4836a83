#pragma once

#include <string>

#include "app/display_update.h"
#include "storage/ini_file.h"
#include "traffic/link_source.h"
#include "traffic/meter_state.h"
#include "traffic/sampler.h"
#include "traffic/usage_book.h"

// The measurement of the watched link as the main window runs it: a sample
// and a flush every tick, the display update after it, and the books closed
// when the program ends.
class TMeasurement : private TConnectionEvents {
 public:
  // folder: where the program keeps its files, with a trailing delimiter.
  TMeasurement(const std::string& folder, TIniFile32& settings, TLinkSource& source);

  // One sample of the link. Returns an error for the window to show (at
  // most once per run), else empty text.
  std::string Sample();
  // The one-second tick: a sample, then the totals flushed when due.
  std::string Tick();
  TDisplayUpdate UpdateDisplay(const TDisplaySettings& settings, int32_t visibleCount,
                               bool dialling);
  void EnumerateAdapters();
  // Everything counted so far into the month file, now.
  void Flush();
  // The program or the Windows session ends: the log line of a connection
  // still up, and everything counted so far into the month file.
  void Close();

  TMeterState State;
  const TUsageBook& Book() const { return FBook; }

 private:
  void ConnectionBegan() override;
  void ConnectionEnded() override;

  TLinkSource& FSource;
  TUsageBook FBook;
};
