#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "platform/date_time.h"
#include "traffic/adapter_choice.h"
#include "traffic/adapters.h"
#include "traffic/counter_delta.h"
#include "traffic/platform_records.h"

// One reading of the watched link's byte counters, the one source of the
// deltas and totals: the dial-up connection's 32-bit counters, or in
// adapter mode the sum of what the counted adapters carried since the
// start, which never steps back.
struct TLinkCounters {
  uint64_t Received = 0;
  uint64_t Sent = 0;
  TCounterRule Rule = TCounterRule::NewConnection;
  uint32_t Speed = 0;  // the adapter's link speed, bits per second; 0 = unknown
  uint32_t Tick = 0;   // tick count of the reading
};

// One adapter that adapter mode counts: its identity, its own last reading,
// and what it carried that is not yet shown or booked. Each is read against
// its own previous reading, so that adapters coming, going and resetting
// never move another's figures.
struct TWatchedAdapter {
  std::string Key;
  // The interface index and hardware address of the row last found with the
  // key; index 0 = not found yet.
  uint32_t Index = 0;
  std::string Mac;
  bool Present = false;  // in the last table read
  bool Up = false;       // ... with a status that carries traffic
  uint32_t Speed = 0;    // bits per second

  // The last reading; until there is one, the next is a baseline.
  bool Read = false;
  TLinkCounters Counters;

  int64_t NewReceived = 0, NewSent = 0;              // since the last display update
  int64_t UnflushedReceived = 0, UnflushedSent = 0;  // counted, not yet in the month file
  // Online time since the last flush: the milliseconds it was up between
  // two readings, and whether every reading since found it up.
  uint32_t UpMs = 0;
  bool UpThroughout = false;
};

// Everything the measurement keeps between ticks: the watched link and its
// last sample, the running byte counts and the online-time bookkeeping.
struct TMeterState {
  // The source (settings "Dialup") and, in adapter mode, the adapters chosen.
  bool DialupMode = false;
  TAdapterChoice Choice;
  TAdapterList Adapters;                 // as last listed, for Setup
  std::vector<TWatchedAdapter> Watched;  // adapter mode: those counted, in the order first found

  // The last sample; it keeps its values when a read fails.
  TRasStats SampleStats{};
  TLinkCounters Counters;
  bool NewCounters = false;       // read from a new interface or connection: a baseline, not a step
  uint32_t RasConnection = 0;     // the dial-up connection watched; 0 when none
  std::string EntryName;          // its phone-book entry
  bool Connected = true;          // a connection was seen by the previous sample
  TDateTime ConnectionStart = 0;  // 0: no connection start known
  uint32_t TickBase = 0;          // start of locally measured connection time; 0 = unset
  bool RasErrorReported = false;  // the missing RAS entry point was reported this run

  // Counter values of the previous display update; -1 = unset.
  int64_t PrevRecv = -1;
  int64_t PrevXmit = -1;
  uint32_t PrevTick = 0;                           // the tick count of their reading
  int64_t RecvTotal = 0, XmitTotal = 0;            // since start, shown to the user
  int64_t RecvUnflushed = 0, XmitUnflushed = 0;    // not yet in the month file
  int64_t RecvConnection = 0, XmitConnection = 0;  // of the current dial-up connection
  int64_t RecvSum = 0, XmitSum = 0;                // since the last graph point
  std::deque<int32_t> RecvWindow, XmitWindow;      // the last four per-tick deltas
  uint16_t IntervalTicks = 0;                      // ticks since the last graph point
  uint16_t CUI = 1;                                // ticks per graph point
  uint32_t StallStamp = 0;  // last tick whose received counter did not fall; 0 = never

  // Online time: accounting start and the milliseconds already written.
  uint32_t HoursBase = 0;
  uint32_t HoursAccounted = 0;
  uint32_t LastFlush = 0;  // tick of the last flush that wrote

  bool StopWatchRunning = false;
  int64_t StopWatchTicks = 0;
  int64_t StopWatchRx = 0;
  int64_t StopWatchTx = 0;
};
