#include "app/measurement.h"

#include <climits>
#include <utility>

#include "traffic/adapter_counters.h"

namespace {

// End reasons of the connection log.
constexpr int kConnectionGone = 1;
constexpr int kProgramClosed = 2;

}  // namespace

TMeasurement::TMeasurement(const std::string& folder, TIniFile32& settings, TLinkSource& source)
    : FSource(source), FBook(folder, settings) {
  FBook.OnProblem = [this](const std::string& message) { Notice(message); };
  Guarded([this] { FBook.TakeOverEarlierRuns(FSource); });
}

// A step that fails leaves the state as the step left it; the next tick
// carries on from there.
template <typename TStep>
void TMeasurement::Guarded(TStep step) {
  try {
    step();
  } catch (const std::exception& e) {
    Notice(e.what());
  } catch (...) {
    Notice("Unexpected error while measuring");
  }
}

void TMeasurement::Sample() {
  Guarded([this] {
    const std::string error = TakeSample(State, FSource, *this);
    if (!error.empty()) Notice(error);
  });
}

void TMeasurement::Tick() {
  Sample();
  Guarded([this] { FBook.FlushTotals(State, FSource, false); });
}

// Each update's bytes and online time are the links', counted for the
// figures' file: the dial-up entry's, or each adapter's own. The totals the
// window shows start again when Setup changes the link, these do not.
TDisplayUpdate TMeasurement::UpdateDisplay(const TDisplaySettings& settings, int32_t visibleCount,
                                           bool dialling) {
  const uint32_t now = FSource.TickCount();
  const uint32_t elapsed = FLastUpdate == 0 ? 0 : now - FLastUpdate;
  FLastUpdate = now;
  const int64_t received = State.RecvTotal, sent = State.XmitTotal;
  std::vector<std::pair<int64_t, int64_t>> before;
  for (const TWatchedAdapter& a : State.Watched)
    before.emplace_back(a.UnflushedReceived, a.UnflushedSent);
  TDisplayUpdate update = ::UpdateDisplay(State, settings, now, visibleCount, dialling);
  if (State.DialupMode) {
    if (State.EntryName.empty()) return update;
    TLinkCount& count = FCounted[State.EntryName];
    count.Received += State.RecvTotal - received;
    count.Sent += State.XmitTotal - sent;
    if (!update.NotConnected) count.OnlineMs += elapsed;
    return update;
  }
  for (size_t i = 0; i < State.Watched.size(); ++i) {
    const TWatchedAdapter& adapter = State.Watched[i];
    TLinkCount& count = FCounted[adapter.Key];
    count.Received += adapter.UnflushedReceived - before[i].first;
    count.Sent += adapter.UnflushedSent - before[i].second;
    if (adapter.Up) count.OnlineMs += elapsed;
  }
  return update;
}

TMetrics TMeasurement::Metrics() {
  TMetrics metrics;
  metrics.Links = FCounted;
  const TUsageBook::TTotals booked = FBook.DayAndMonthTotals(FSource.Now());
  metrics.TodayReceived = booked.DayReceived + State.RecvUnflushed;
  metrics.TodaySent = booked.DaySent + State.XmitUnflushed;
  metrics.MonthReceived = booked.MonthReceived + State.RecvUnflushed;
  metrics.MonthSent = booked.MonthSent + State.XmitUnflushed;
  metrics.Connected =
      State.DialupMode ? State.RasConnection != 0 : PresentAdapters(State.Watched) > 0;
  metrics.SpeedBytesPerSecond = State.SampleStats.dwBps / 8;
  metrics.Dialup = State.DialupMode;
  return metrics;
}

std::pair<int64_t, int64_t> TMeasurement::Unbooked(int32_t firstDay) const {
  const auto [received, sent] = FBook.Waiting(firstDay, INT32_MAX);
  return {received + State.RecvUnflushed, sent + State.XmitUnflushed};
}

void TMeasurement::EnumerateAdapters() {
  ::EnumerateAdapters(State, FSource);
}

void TMeasurement::Flush() {
  Guarded([this] { FBook.FlushTotals(State, FSource, true); });
}

void TMeasurement::EndConnection() {
  Guarded([this] { ::EndConnection(State, *this); });
}

std::vector<std::string> TMeasurement::Close() {
  Guarded([this] { FBook.AppendConnectionLog(State, FSource, kProgramClosed); });
  Flush();
  return FBook.Unwritten();
}

std::vector<std::string> TMeasurement::TakeNotices() {
  return std::exchange(FNotices, {});
}

void TMeasurement::Notice(const std::string& message) {
  if (FNoticed.insert(message).second) FNotices.push_back(message);
}

void TMeasurement::ConnectionBegan() {
  FBook.CountCall(State, FSource);
}

void TMeasurement::ConnectionEnded() {
  FBook.AppendConnectionLog(State, FSource, kConnectionGone);
  Flush();
}
