#include "app/display_update.h"

#include <algorithm>
#include <numeric>

#include "base/product.h"
#include "formatting/number_format.h"
#include "traffic/adapter_counters.h"

namespace {

constexpr size_t kAverageTicks = 4;
// The most characters the tray shows of a tip.
constexpr size_t kTrayTipLength = 64;

// Rates and graph points are 32-bit: a second of more than 2 GiB (a fast
// link, or a 64-bit counter after a long gap) shows as the most they hold,
// not wrapped negative.
int32_t Saturated(int64_t bytes) {
  return static_cast<int32_t>(std::clamp<int64_t>(bytes, 0, INT32_MAX));
}

// Keeps the last four per-tick deltas (as 32-bit numbers); their mean.
int64_t MovingAverage(std::deque<int32_t>& window, int64_t delta) {
  if (window.size() == kAverageTicks) window.pop_front();
  window.push_back(Saturated(delta));
  return std::accumulate(window.begin(), window.end(), int64_t{0}) /
         static_cast<int64_t>(window.size());
}

// With all adapters or a set of several, how many of them are counted now:
// "3 adapters"; empty for one adapter or a dial-up connection.
std::string AdaptersLine(const TMeterState& s) {
  if (s.DialupMode || (!s.Choice.All && s.Choice.Keys.size() < 2)) return std::string();
  const size_t count = PresentAdapters(s.Watched);
  return std::to_string(count) + (count == 1 ? " adapter" : " adapters");
}

// The title, the totals when they are shown, how many adapters are counted,
// and the quota's line; the title gives way when all would not fit what the
// tray shows.
std::string TrayTip(const std::string& received, const std::string& sent,
                    const std::string& adapters, const TDisplaySettings& settings) {
  std::string lines;
  if (settings.StatsTrayTip) lines += "\rD/L: " + received + "\rU/L: " + sent;
  if (!adapters.empty()) lines += "\r" + adapters;
  if (!settings.QuotaTip.empty()) lines += "\r" + settings.QuotaTip;
  const std::string tip = kAppTitle + lines;
  return tip.size() <= kTrayTipLength ? tip : lines.substr(1);
}

int TrayImage(int64_t received, int64_t sent) {
  if (received > 0 && sent > 0) return 2;
  if (received > 0) return 3;
  return sent > 0 ? 4 : 1;
}

// The bytes both counters moved since the previous update.
struct TDeltas {
  int64_t Received = 0;
  int64_t Sent = 0;
};

// Dial-up without a connection: the connection's counts start again.
void ForgetConnection(TMeterState& s) {
  s.HoursBase = s.HoursAccounted = 0;
  s.RecvConnection = s.XmitConnection = 0;
  s.RecvSum = s.XmitSum = 0;
}

// Adds what each counter moved to the totals and the stopwatch, and keeps
// the readings. The first update only learns the sent counter, the second
// the received one; from the third on both deltas are known and returned.
std::optional<TDeltas> AccountBytes(TMeterState& s, uint32_t now) {
  const TLinkCounters& c = s.Counters;
  const auto recv = static_cast<int64_t>(c.Received);
  const auto xmit = static_cast<int64_t>(c.Sent);
  if (s.NewCounters) {
    // Another interface or connection: its counters start here, and so do
    // the connection's counts.
    if (s.PrevRecv != -1) s.PrevRecv = recv;
    if (s.PrevXmit != -1) s.PrevXmit = xmit;
    s.RecvConnection = s.XmitConnection = 0;
    s.NewCounters = false;
  }
  const uint32_t elapsed = c.Tick - s.PrevTick;
  const auto recvDelta = CounterDelta(recv, s.PrevRecv, c.Rule, c.Speed, elapsed);
  const auto xmitDelta = CounterDelta(xmit, s.PrevXmit, c.Rule, c.Speed, elapsed);
  if (recv - s.PrevRecv >= 0) s.StallStamp = now;
  if (recvDelta) {
    s.RecvTotal += *recvDelta;
    s.RecvUnflushed += *recvDelta;
    s.RecvConnection += *recvDelta;
    if (s.StopWatchRunning) s.StopWatchRx += *recvDelta;
  }
  if (xmitDelta) {
    s.XmitTotal += *xmitDelta;
    s.XmitUnflushed += *xmitDelta;
    s.XmitConnection += *xmitDelta;
    if (s.StopWatchRunning) s.StopWatchTx += *xmitDelta;
  }
  // Each adapter's share of the sum, counted or let go as the sum was.
  TakeNewAmounts(s.Watched, recvDelta.has_value(), xmitDelta.has_value());
  const bool firstSent = s.PrevXmit == -1;
  s.PrevXmit = xmit;
  s.PrevTick = c.Tick;
  if (firstSent) return std::nullopt;
  const bool firstReceived = s.PrevRecv == -1;
  s.PrevRecv = recv;
  if (firstReceived) return std::nullopt;
  return TDeltas{*recvDelta, *xmitDelta};
}

// The link's own figures: time connected, speed, and the span of the graph.
void LinkTexts(const TMeterState& s, int32_t visibleCount, TDisplayUpdate& out) {
  out.StatusPanels[3] = FormatSeconds(static_cast<int32_t>(s.SampleStats.dwConnectDuration / 1000));
  out.StatusPanels[2] = LinkSpeedText(s.SampleStats.dwBps);
  out.StatusPanels[0] = FormatSeconds(visibleCount * s.CUI);
}

// The totals with the rates of the last four ticks, in the status bar and the
// tray; returns those rates.
TDeltas RateTexts(TMeterState& s, const TDeltas& deltas, const TDisplaySettings& settings,
                  TDisplayUpdate& out) {
  if (settings.ShowActivity) out.TrayImage = TrayImage(deltas.Received, deltas.Sent);
  const TDeltas average{MovingAverage(s.RecvWindow, deltas.Received),
                        MovingAverage(s.XmitWindow, deltas.Sent)};
  const std::string received = FormatByteSize(static_cast<double>(s.RecvTotal));
  const std::string sent = FormatByteSize(static_cast<double>(s.XmitTotal));
  out.StatusPanels[5] =
      "D/L: " + received + SpeedPart(static_cast<double>(average.Received), settings.Rates);
  out.StatusPanels[7] =
      "U/L: " + sent + SpeedPart(static_cast<double>(average.Sent), settings.Rates);
  const std::string adapters = AdaptersLine(s);
  if (settings.StatsTrayTip || !adapters.empty() || !settings.QuotaTip.empty())
    out.TrayTip = TrayTip(received, sent, adapters, settings);
  return average;
}

// Every CUI ticks a point: the mean of those ticks, or with one tick a point
// the four-tick average.
std::optional<TDisplayUpdate::TPoint> NextGraphPoint(TMeterState& s, const TDeltas& deltas,
                                                     const TDeltas& average) {
  s.XmitSum += deltas.Sent;
  s.RecvSum += deltas.Received;
  if (++s.IntervalTicks < s.CUI) return std::nullopt;
  s.IntervalTicks = 0;
  TDeltas point = average;
  if (s.CUI > 1) point = {s.RecvSum / s.CUI, s.XmitSum / s.CUI};
  s.XmitSum = s.RecvSum = 0;
  return TDisplayUpdate::TPoint{Saturated(point.Received), Saturated(point.Sent)};
}

}  // namespace

TDisplayUpdate UpdateDisplay(TMeterState& s, const TDisplaySettings& settings, uint32_t now,
                             int32_t visibleCount, bool dialling) {
  TDisplayUpdate out;
  if (s.DialupMode && s.RasConnection == 0) {
    ForgetConnection(s);
    out.NotConnected = true;
    return out;
  }
  if (s.HoursBase == 0) {
    s.HoursBase = now;
    s.HoursAccounted = 0;
  }
  // A new connection, the redialled one above all, is measured afresh: the
  // old connection's stamp would have it hung up at once.
  if (s.NewCounters) s.StallStamp = 0;
  out.StallReconnect = s.DialupMode && settings.ReconStall && !dialling && s.StallStamp != 0 &&
                       now - s.StallStamp > kStallTime;
  LinkTexts(s, visibleCount, out);
  const std::optional<TDeltas> deltas = AccountBytes(s, now);
  if (s.StopWatchRunning) {
    ++s.StopWatchTicks;
    out.StopWatchPanels = StopWatchTexts(s, settings.Rates);
  }
  if (!deltas) return out;
  const TDeltas average = RateTexts(s, *deltas, settings, out);
  out.GraphPoint = NextGraphPoint(s, *deltas, average);
  return out;
}

std::array<std::string, 3> StopWatchTexts(const TMeterState& s, const TRateUnits& rates) {
  if (s.StopWatchTicks <= 0 || s.StopWatchRx <= 0 || s.StopWatchTx <= 0) return {};
  const double ticks = static_cast<double>(s.StopWatchTicks);
  return {FormatDuration(ticks),
          "D/L: " + FormatByteSize(static_cast<double>(s.StopWatchRx)) +
              SpeedPart(s.StopWatchRx / ticks, rates),
          "U/L: " + FormatByteSize(static_cast<double>(s.StopWatchTx)) +
              SpeedPart(s.StopWatchTx / ticks, rates)};
}
