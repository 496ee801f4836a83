#include "dialup/redial.h"

void TRedial::StallRequested(const std::string& watchedEntry) {
  if (Busy()) return;
  if (!watchedEntry.empty()) FEntry = watchedEntry;
  FHangUpPending = true;
  ListConnections();
  FHangUpPending = false;
  FView.ArmTimer();
  FCancelled = false;
}

bool TRedial::ListConnections() {
  const auto connections = FPort.ListConnections();
  FActiveCount = 0;
  if (!connections) return false;
  // The stall's own listing records no entry: the one to dial is the one
  // the sampler watched.
  const bool stallListing = FHangUpPending;
  for (const TActiveConnection& connection : *connections)
    ActiveConnection(connection, stallListing);
  return true;
}

void TRedial::ActiveConnection(const TActiveConnection& connection, bool stallListing) {
  if (connection.State != kRasConnected) return;
  ++FActiveCount;
  if (!FHangUpPending) {
    if (!stallListing) FEntry = connection.Entry;
    return;
  }
  // The display keeps running while RAS releases the line, and must not ask
  // for another hang-up meanwhile.
  FHangUpPending = false;
  FHangingUp = true;
  FPort.HangUp(connection.Handle);
  FHangingUp = false;
}

void TRedial::TimerFired() {
  if (FCancelled || FHangingUp) return;
  if (!ListConnections() || FActiveCount == 0) FView.PostDial();
}

// Without an entry there is nothing to dial, and nothing is retried. The
// previous attempt's line is let go first, which runs the message loop: a
// Cancel that comes meanwhile stops this attempt too.
void TRedial::DialRequested() {
  if (FCancelled || FActiveCount != 0 || Busy() || FEntry.empty()) return;
  FDialling = true;
  try {
    FPort.HangUpCurrent();
    if (FCancelled) return;
    if (FPort.Dial(FEntry) != 0) DialFailed();
  } catch (...) {
    DialFailed();
  }
}

void TRedial::Dialing() {
  FView.CloseDialWindow();
  FView.OpenDialWindow("Connecting to " + FEntry);
}

void TRedial::AsyncEvent(uint32_t state, int error, const std::string& text) {
  if (state == kRasConnected) {
    FView.CloseDialWindow();
    FDialling = false;
  } else if (FView.DialWindowOpen()) {
    FView.SetDialStatus(state == kRasConnectDevice  ? "Status: Dialing.."
                        : state == kRasAuthenticate ? "Status: Verifying user name and password.."
                                                    : "Status: " + text);
  }
  if (error != 0) DialFailed();
}

// The next attempt about a second later, unless the user cancelled.
void TRedial::DialFailed() {
  if (!FDialling) return;
  FDialling = false;
  FView.ArmTimer();
}

// A second Cancel while the first waits for RAS has nothing more to do.
void TRedial::Cancel() {
  if (FHangingUp) return;
  FCancelled = true;
  FDialling = false;
  FHangingUp = true;
  FPort.HangUpCurrent();
  FHangingUp = false;
  FView.CloseDialWindow();
}

// The line is only listed once the dial completes: the window stays up
// while a dial is under way.
void TRedial::NoConnection() {
  if (!FDialling) FView.CloseDialWindow();
}
