#include "app/measurement.h"

#include <utility>

namespace {

// End reasons of the connection log.
constexpr int kConnectionGone = 1;
constexpr int kProgramClosed = 2;

}  // namespace

TMeasurement::TMeasurement(const std::string& folder, TIniFile32& settings, TLinkSource& source)
    : FSource(source), FBook(folder, settings) {
  FBook.OnProblem = [this](const std::string& message) { Notice(message); };
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

// Each update's bytes and online time are the link's, counted for the
// figures' file; the totals the window shows start again when Setup changes
// the link, these do not.
TDisplayUpdate TMeasurement::UpdateDisplay(const TDisplaySettings& settings, int32_t visibleCount,
                                           bool dialling) {
  const uint32_t now = FSource.TickCount();
  const int64_t received = State.RecvTotal, sent = State.XmitTotal;
  TDisplayUpdate update = ::UpdateDisplay(State, settings, now, visibleCount, dialling);
  if (!State.EntryName.empty()) {
    TLinkCount& count = FCounted[State.EntryName];
    count.Received += State.RecvTotal - received;
    count.Sent += State.XmitTotal - sent;
    if (!update.NotConnected && FLastUpdate != 0) count.OnlineMs += now - FLastUpdate;
  }
  FLastUpdate = now;
  return update;
}

TMetrics TMeasurement::Metrics() {
  TMetrics metrics;
  metrics.Links = FCounted;
  const auto [received, sent] = FBook.DayTotals(FSource.Now());
  metrics.TodayReceived = received + State.RecvUnflushed;
  metrics.TodaySent = sent + State.XmitUnflushed;
  metrics.Connected = State.DialupMode ? State.RasConnection != 0
                                       : State.SelectedIndex != 0 && !State.AdapterMissing;
  metrics.SpeedBytesPerSecond = State.SampleStats.dwBps / 8;
  metrics.Dialup = State.DialupMode;
  return metrics;
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
