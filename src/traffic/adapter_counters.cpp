#include "traffic/adapter_counters.h"

#include <algorithm>

namespace {

// On the 32-bit path a reading this many milliseconds or more after the
// last is a baseline: across such a gap (the computer slept, the program
// hung) a counter reset from a high value would pass for a wrap.
constexpr uint32_t kLongestGap = 5000;

// The row with the adapter's interface index, while it still has the
// adapter's hardware address; null when none.
const TMibIfRow* KnownRow(const TWatchedAdapter& adapter, const std::vector<TMibIfRow>& rows) {
  const auto found = std::find_if(rows.begin(), rows.end(), [&](const TMibIfRow& row) {
    return row.dwIndex == adapter.Index &&
           FormatMacAddress(row.dwPhysAddrLen, row.bPhysAddr) == adapter.Mac;
  });
  return found == rows.end() ? nullptr : &*found;
}

// The chosen adapters, or every one of its own traffic the table lists now;
// an adapter once watched stays, so that what it counted is booked.
void WatchChosen(TMeterState& state, const std::vector<TMibIfRow>& rows,
                 const std::vector<TIfRow2>& rows2) {
  const auto watch = [&state](const std::string& key) {
    const auto& watched = state.Watched;
    if (std::none_of(watched.begin(), watched.end(),
                     [&](const TWatchedAdapter& adapter) { return adapter.Key == key; }))
      state.Watched.emplace_back().Key = key;
  };
  if (!state.Choice.All) {
    for (const std::string& key : state.Choice.Keys) watch(key);
    return;
  }
  for (const TMibIfRow& row : rows)
    if (IsAdapter(row) && AdapterKind(row, rows2) == TAdapterKind::Own) watch(RowKey(row));
}

void Missing(TWatchedAdapter& adapter) {
  adapter.Present = adapter.Up = adapter.UpThroughout = false;
}

// The row's counters: the 64-bit ones of its interface when the system has
// them (false when that table lacks it), else the row's own.
bool Reading(const TMibIfRow& row, const std::vector<TIfRow2>* rows2, uint32_t now,
             TLinkCounters& reading) {
  reading = {row.dwInOctets, row.dwOutOctets, TCounterRule::Wrap32, row.dwSpeed, now};
  if (!rows2) return true;
  const auto wide = std::find_if(rows2->begin(), rows2->end(),
                                 [&](const TIfRow2& r) { return r.InterfaceIndex == row.dwIndex; });
  if (wide == rows2->end()) return false;
  reading.Received = wide->InOctets;
  reading.Sent = wide->OutOctets;
  reading.Rule = TCounterRule::Reset64;
  return true;
}

// One adapter's reading against its own last one.
void ReadAdapter(TWatchedAdapter& adapter, const std::vector<TMibIfRow>& rows,
                 const std::vector<TIfRow2>* rows2, uint32_t now, TLinkCounters& sum) {
  const TMibIfRow* row = KnownRow(adapter, rows);
  // Rows come and go before it, and its index may now name another interface.
  const bool lookedUp = row == nullptr;
  if (lookedUp) row = FindAdapter(rows, adapter.Key);
  if (!row) return Missing(adapter);
  TLinkCounters reading;
  // Not in the 64-bit table this time: no 32-bit reading in between.
  if (!Reading(*row, rows2, now, reading)) return;
  // Back under its old index after an absence, or after a long gap between
  // readings, a 32-bit counter may have been reset meanwhile, and the time
  // between would pass a reset from a high value for a wrap. (A 64-bit
  // counter that was reset steps back, which counts nothing anyway.)
  const TLinkCounters& last = adapter.Counters;
  const uint32_t elapsed = now - last.Tick;
  const bool baseline =
      !adapter.Read || lookedUp ||
      (reading.Rule == TCounterRule::Wrap32 && (!adapter.Present || elapsed >= kLongestGap));
  if (!baseline) {
    const auto step = [&](uint64_t current, uint64_t previous) {
      return CounterDelta(static_cast<int64_t>(current), static_cast<int64_t>(previous),
                          reading.Rule, reading.Speed, elapsed)
          .value_or(0);
    };
    const int64_t received = step(reading.Received, last.Received);
    const int64_t sent = step(reading.Sent, last.Sent);
    adapter.NewReceived += received;
    adapter.NewSent += sent;
    sum.Received += static_cast<uint64_t>(received);
    sum.Sent += static_cast<uint64_t>(sent);
  }
  const bool up = IsUp(*row);
  if (up && adapter.Up && adapter.Present && adapter.Read) adapter.UpMs += elapsed;
  if (!up) adapter.UpThroughout = false;
  if (lookedUp) {
    adapter.Index = row->dwIndex;
    adapter.Mac = FormatMacAddress(row->dwPhysAddrLen, row->bPhysAddr);
  }
  adapter.Present = adapter.Read = true;
  adapter.Up = up;
  adapter.Speed = row->dwSpeed;
  adapter.Counters = reading;
}

}  // namespace

void ReadAdapterCounters(TMeterState& state, TLinkSource& source) {
  std::vector<TMibIfRow> rows;
  if (!source.GetIfTable(rows)) return;
  const bool wide = source.HasIfTable2();
  std::vector<TIfRow2> rows2;
  if (wide && !source.GetIfTable2(rows2)) return;
  WatchChosen(state, rows, rows2);
  const uint32_t now = source.TickCount();
  uint32_t speed = 0;
  for (TWatchedAdapter& adapter : state.Watched) {
    ReadAdapter(adapter, rows, wide ? &rows2 : nullptr, now, state.Counters);
    if (adapter.Present && adapter.Up) speed = std::max(speed, adapter.Speed);
  }
  // The sum never steps back.
  state.Counters.Rule = TCounterRule::Reset64;
  state.Counters.Speed = speed;
  state.Counters.Tick = now;
  state.SampleStats.dwBps = speed;
}

void TakeNewAmounts(std::vector<TWatchedAdapter>& adapters, bool received, bool sent) {
  for (TWatchedAdapter& adapter : adapters) {
    if (received) adapter.UnflushedReceived += adapter.NewReceived;
    if (sent) adapter.UnflushedSent += adapter.NewSent;
    adapter.NewReceived = adapter.NewSent = 0;
  }
}

uint32_t TakeOnlineSeconds(TWatchedAdapter& adapter, uint32_t daySeconds) {
  const uint32_t seconds =
      adapter.UpThroughout ? daySeconds : std::min(daySeconds, adapter.UpMs / 1000);
  adapter.UpMs = 0;
  adapter.UpThroughout = adapter.Present && adapter.Up;
  return seconds;
}

size_t PresentAdapters(const std::vector<TWatchedAdapter>& adapters) {
  return static_cast<size_t>(std::count_if(adapters.begin(), adapters.end(),
                                           [](const TWatchedAdapter& a) { return a.Present; }));
}
