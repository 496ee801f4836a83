#include "traffic/sampler.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "dialup/ip_errors.h"
#include "traffic/adapter_counters.h"

namespace {

// Room for 65 connections; only the first one is watched.
constexpr uint32_t kConnectionSlots = 65;

// The first active connection, or none (handle 0).
TRasConn FirstConnection(TLinkSource& source) {
  auto connections = std::make_unique<TRasConn[]>(kConnectionSlots);
  connections[0].dwSize = sizeof(TRasConn);
  uint32_t size = sizeof(TRasConn) * kConnectionSlots;
  uint32_t count = 0;
  TRasConn first{};
  if (source.RasEnumConnections(connections.get(), &size, &count) == 0 &&
      connections[0].hrasconn != 0 && connections[0].szEntryName[0] != '\0')
    first = connections[0];
  return first;
}

void SampleDialup(TMeterState& state, TLinkSource& source, TConnectionEvents& events,
                  const TRasConn& connection) {
  state.RasConnection = connection.hrasconn;
  state.EntryName = std::string(connection.szEntryName,
                                strnlen(connection.szEntryName, sizeof connection.szEntryName));
  state.SampleStats.dwSize = sizeof(TRasStats);
  if (source.HasRasStatistics()) {
    source.RasGetConnectionStatistics(state.RasConnection, &state.SampleStats);
  } else {
    // No statistics from RAS, so no connection time either: it is measured
    // here.
    state.SampleStats = ReadDialupRegistryCounters(source);
    const uint32_t now = source.TickCount();
    if (state.TickBase == 0) state.TickBase = now;
    state.SampleStats.dwConnectDuration = now - state.TickBase;
  }
  state.Counters = {state.SampleStats.dwBytesRcved, state.SampleStats.dwBytesXmited,
                    TCounterRule::NewConnection};
  if (state.ConnectionStart == 0) state.ConnectionStart = source.Now();
  if (!state.Connected) {
    events.ConnectionBegan();
    // Nothing before this reading belongs to the connection.
    state.NewCounters = true;
  }
  state.Connected = true;
}

void NoDialupConnection(TMeterState& state, TConnectionEvents& events) {
  state.TickBase = 0;
  if (state.Connected) EndConnection(state, events);
}

}  // namespace

void EndConnection(TMeterState& state, TConnectionEvents& events) {
  events.ConnectionEnded();
  state.ConnectionStart = 0;
  state.Connected = false;
  state.EntryName.clear();
}

std::string TakeSample(TMeterState& state, TLinkSource& source, TConnectionEvents& events) {
  if (!state.DialupMode) {
    ReadAdapterCounters(state, source);
    const uint32_t now = source.TickCount();
    if (state.TickBase == 0) state.TickBase = now;
    state.SampleStats.dwConnectDuration = now - state.TickBase;
    return std::string();
  }
  const uint32_t watched = state.RasConnection;
  state.RasConnection = 0;
  TRasConn connection{};
  std::string error;
  try {
    connection = FirstConnection(source);
  } catch (const EIpAccessException& e) {
    // Said once; every later tick just finds no connection.
    if (!state.RasErrorReported) error = e.Message();
    state.RasErrorReported = true;
  }
  if (connection.hrasconn == 0) {
    NoDialupConnection(state, events);
    return error;
  }
  if (watched != 0 && connection.hrasconn != watched) {
    // Redialled since the last sample: the old connection ends first.
    state.TickBase = 0;
    EndConnection(state, events);
  }
  SampleDialup(state, source, events, connection);
  return error;
}

void EnumerateAdapters(TMeterState& state, TLinkSource& source) {
  state.Adapters = ListAdapters(source, state.Choice);
}

TRasStats ReadDialupRegistryCounters(TLinkSource& source) {
  TRasStats stats{};
  source.ReadDialupStatistic("Dial-Up Adapter\\ConnectSpeed", stats.dwBps);
  source.ReadDialupStatistic("Dial-Up Adapter\\BytesRecvd", stats.dwBytesRcved);
  source.ReadDialupStatistic("Dial-Up Adapter\\BytesXmit", stats.dwBytesXmited);
  return stats;
}
