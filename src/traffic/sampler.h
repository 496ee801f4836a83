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

// Reads the chosen source into state.SampleStats and state.Counters (in
// adapter mode through ReadAdapterCounters) and
// follows dial-up connections as they come up, end, or change handle between
// two samples (the old one ends, a new one begins). A RAS library without the
// connection enumeration counts as no connection; the error text is returned
// the first time in a run, for the window to show once, and empty text
// otherwise.
std::string TakeSample(TMeterState& state, TLinkSource& source, TConnectionEvents& events);

// The watched connection is over, or Setup changed the watched link: its
// log line and final flush, under its own entry name, and no connection.
void EndConnection(TMeterState& state, TConnectionEvents& events);

// Rebuilds Setup's adapter list from the interface table, the chosen
// adapters marked.
void EnumerateAdapters(TMeterState& state, TLinkSource& source);

// The registry's dial-up statistics; a value that cannot be read stays 0.
TRasStats ReadDialupRegistryCounters(TLinkSource& source);
