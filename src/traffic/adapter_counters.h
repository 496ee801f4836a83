#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "traffic/link_source.h"
#include "traffic/meter_state.h"

// Reads the counters of every adapter adapter mode counts: the chosen ones,
// or with all adapters each row of its own traffic (TAdapterKind::Own), from
// the first table that lists it on. Each adapter's row is the one with its
// interface index and hardware address, else the first with its key, which
// is then a new interface whose first reading is a baseline; so is the first
// reading of an adapter that appears, and on the 32-bit path that of one
// back from an absence. The 64-bit counters where the system has them, else
// the rows' 32-bit ones. What each carried since its last reading goes to
// its own new amounts and to the sum in state.Counters; the link speed is
// the highest of those up. Nothing changes when a table cannot be read.
void ReadAdapterCounters(TMeterState& state, TLinkSource& source);

// What the adapters carried since the last display update, each way, goes
// to what they have counted when the update counted that way; else (while
// the update only learns the counters) it is let go.
void TakeNewAmounts(std::vector<TWatchedAdapter>& adapters, bool received, bool sent);

// An adapter's seconds online in a flush that books daySeconds for the day:
// all of them when every reading since the last flush found it up, else the
// whole seconds it was up, at most those. Starts its count afresh.
uint32_t TakeOnlineSeconds(TWatchedAdapter& adapter, uint32_t daySeconds);

// How many of the counted adapters the last table read listed.
size_t PresentAdapters(const std::vector<TWatchedAdapter>& adapters);
