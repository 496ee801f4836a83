#pragma once

#include <cstdint>
#include <string>

#include "dialup/dial_port.h"

// What the redial has the main window do: its dialling window and its
// one-second timer.
class TRedialView {
 public:
  virtual ~TRedialView() = default;
  // Shows the dialling window (a new one) with this caption.
  virtual void OpenDialWindow(const std::string& caption) = 0;
  virtual void SetDialStatus(const std::string& text) = 0;
  // Closes it, when open, without taking that for the user's Cancel.
  virtual void CloseDialWindow() = 0;
  virtual bool DialWindowOpen() const = 0;
  // TimerFired about a second from now, once.
  virtual void ArmTimer() = 0;
  // DialRequested soon, from the message loop.
  virtual void PostDial() = 0;
};

// The automatic redial of a dial-up line that stalled: it hangs the line up
// and dials the same phone-book entry again, once a second until the line
// is up or the user cancels. An idle line is no stall; that is the display
// update's to tell.
class TRedial {
 public:
  TRedial(TDialPort& port, TRedialView& view) : FPort(port), FView(view) {}

  // A dial or a hang-up is under way: no new stall may be requested.
  bool Busy() const { return FDialling || FHangingUp; }

  // The display update found the line stalled. watchedEntry: the entry the
  // sampler watches now (the hang-up takes it away), dialled again.
  void StallRequested(const std::string& watchedEntry);
  void TimerFired();
  void DialRequested();
  // The dial-up component's events.
  void Dialing();
  void AsyncEvent(uint32_t state, int error, const std::string& text);
  void DialFailed();
  // The user pressed Cancel in the dialling window, or closed it.
  void Cancel();
  // The display update found no dial-up connection.
  void NoConnection();

 private:
  // Lists the connections; false without RAS.
  bool ListConnections();
  // One listed connection: a connected one is counted, and hung up when a
  // hang-up is pending (only the first), or else its entry is kept to dial.
  void ActiveConnection(const TActiveConnection& connection, bool stallListing);

  TDialPort& FPort;
  TRedialView& FView;
  std::string FEntry;
  int FActiveCount = 0;
  bool FDialling = false;
  bool FHangUpPending = false;
  bool FHangingUp = false;
  bool FCancelled = false;
};
