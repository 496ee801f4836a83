#include "app/display_update.h"

#include <numeric>

#include "base/product.h"
#include "formatting/number_format.h"

namespace {

// A dial-up link that received nothing for this long counts as stalled.
constexpr uint32_t kStallTime = 360000;
constexpr size_t kAverageTicks = 4;

// Keeps the last four per-tick deltas (as 32-bit numbers); their mean.
int64_t MovingAverage(std::deque<int32_t>& window, int64_t delta) {
  if (window.size() == kAverageTicks) window.pop_front();
  window.push_back(static_cast<int32_t>(delta));
  return std::accumulate(window.begin(), window.end(), int64_t{0}) /
         static_cast<int64_t>(window.size());
}

int TrayImage(int64_t received, int64_t sent) {
  if (received > 0 && sent > 0) return 2;
  if (received > 0) return 3;
  return sent > 0 ? 4 : 1;
}

}  // namespace

std::array<std::string, 3> StopWatchTexts(const TMeterState& s, const TRateUnits& rates) {
  if (s.StopWatchTicks <= 0 || s.StopWatchRx <= 0 || s.StopWatchTx <= 0) return {};
  const double ticks = static_cast<double>(s.StopWatchTicks);
  return {FormatDuration(ticks),
          "D/L: " + FormatByteSize(static_cast<double>(s.StopWatchRx)) +
              SpeedPart(s.StopWatchRx / ticks, rates),
          "U/L: " + FormatByteSize(static_cast<double>(s.StopWatchTx)) +
              SpeedPart(s.StopWatchTx / ticks, rates)};
}

std::optional<int64_t> CounterDelta(int64_t current, int64_t previous, bool adapterMode) {
  if (previous == -1) return std::nullopt;
  const int64_t step = current - previous;
  if (step >= 0) return step;
  const uint32_t wrapped = static_cast<uint32_t>(current) - static_cast<uint32_t>(previous);
  return adapterMode && wrapped < 0x80000000u ? wrapped : 0;
}

TDisplayUpdate UpdateDisplay(TMeterState& s, const TDisplaySettings& settings, uint32_t now,
                             int32_t visibleCount, bool dialling) {
  TDisplayUpdate out;
  if (s.DialupMode && s.RasConnection == 0) {
    s.HoursBase = s.HoursAccounted = 0;
    s.RecvConnection = s.XmitConnection = 0;
    s.RecvSum = s.XmitSum = 0;
    out.NotConnected = true;
    return out;
  }
  if (s.HoursBase == 0) {
    s.HoursBase = now;
    s.HoursAccounted = 0;
  }
  out.StallReconnect = s.DialupMode && settings.ReconStall && !dialling && s.StallStamp != 0 &&
                       now - s.StallStamp > kStallTime;

  out.StatusPanels[3] = FormatSeconds(static_cast<int32_t>(s.SampleStats.dwConnectDuration / 1000));
  out.StatusPanels[2] = LinkSpeedText(s.SampleStats.dwBps);
  out.StatusPanels[0] = FormatSeconds(visibleCount * s.CUI);

  const int64_t recv = s.SampleStats.dwBytesRcved;
  const int64_t xmit = s.SampleStats.dwBytesXmited;
  const auto recvDelta = CounterDelta(recv, s.PrevRecv, !s.DialupMode);
  const auto xmitDelta = CounterDelta(xmit, s.PrevXmit, !s.DialupMode);
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
  if (s.StopWatchRunning) {
    ++s.StopWatchTicks;
    out.StopWatchPanels = StopWatchTexts(s, settings.Rates);
  }

  // The first update only learns the sent counter, the second the received one.
  const bool firstSent = s.PrevXmit == -1;
  s.PrevXmit = xmit;
  if (firstSent) return out;
  const bool firstReceived = s.PrevRecv == -1;
  s.PrevRecv = recv;
  if (firstReceived) return out;

  const int64_t dRecv = *recvDelta;
  const int64_t dXmit = *xmitDelta;
  if (settings.ShowActivity) out.TrayImage = TrayImage(dRecv, dXmit);
  int64_t xmitAvg = MovingAverage(s.XmitWindow, dXmit);
  int64_t recvAvg = MovingAverage(s.RecvWindow, dRecv);
  out.StatusPanels[5] = "D/L: " + FormatByteSize(static_cast<double>(s.RecvTotal)) +
                        SpeedPart(static_cast<double>(recvAvg), settings.Rates);
  out.StatusPanels[7] = "U/L: " + FormatByteSize(static_cast<double>(s.XmitTotal)) +
                        SpeedPart(static_cast<double>(xmitAvg), settings.Rates);
  if (settings.StatsTrayTip)
    out.TrayTip = std::string(kAppTitle) +
                  "\rD/L: " + FormatByteSize(static_cast<double>(s.RecvTotal)) +
                  "\rU/L: " + FormatByteSize(static_cast<double>(s.XmitTotal));

  s.XmitSum += dXmit;
  s.RecvSum += dRecv;
  if (++s.IntervalTicks < s.CUI) return out;
  s.IntervalTicks = 0;
  if (s.CUI > 1) {
    xmitAvg = s.XmitSum / s.CUI;
    recvAvg = s.RecvSum / s.CUI;
  }
  out.GraphPoint =
      TDisplayUpdate::TPoint{static_cast<int32_t>(recvAvg), static_cast<int32_t>(xmitAvg)};
  s.XmitSum = s.RecvSum = 0;
  return out;
}
