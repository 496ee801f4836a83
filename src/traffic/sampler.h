#pragma once

#include "traffic/link_source.h"
#include "traffic/meter_state.h"

// What the sampler reports when a dial-up connection comes and goes.
class TConnectionEvents {
 public:
  virtual ~TConnectionEvents() = default;
  virtual void ConnectionBegan() = 0;  // count a call
  virtual void ConnectionEnded() = 0;  // log it (end reason 1) and flush the totals
};

// Reads the chosen source into state.SampleStats and follows dial-up
// connections as they come up and end. A RAS library without the connection
// enumeration counts as no connection; the error text is returned the first
// time in a run, for the window to show once, and empty text otherwise.
std::string TakeSample(TMeterState& state, TLinkSource& source, TConnectionEvents& events);

// Rebuilds the adapter list and the selection from the interface table. When
// no adapter matches the saved key, the entry name and MAC stay as they were.
void EnumerateAdapters(TMeterState& state, TLinkSource& source);

// The selected adapter's counters; nothing changes when none is selected, the
// table cannot be read or no longer has the selected row.
void ReadAdapterCounters(TMeterState& state, TLinkSource& source);

// The Windows 9x dial-up statistics; a value that cannot be read stays 0.
TRasStats ReadDialupRegistryCounters(TLinkSource& source);
