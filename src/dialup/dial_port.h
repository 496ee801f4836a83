#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the automatic redial asks of the dial-up component; the Windows build
// drives the Remote Access Service with it (TDialUp), tests a fake.

// RAS connection states the redial looks at.
inline constexpr uint32_t kRasConnectDevice = 2;
inline constexpr uint32_t kRasAuthenticate = 5;
inline constexpr uint32_t kRasConnected = 8192;

struct TActiveConnection {
  uint32_t Handle = 0;
  uint32_t State = 0;  // kRasConnected when up
  std::string Entry;
};

class TDialPort {
 public:
  virtual ~TDialPort() = default;
  // The active connections with their states; nothing when RAS is missing.
  virtual std::optional<std::vector<TActiveConnection>> ListConnections() = 0;
  // Starts dialling the phone-book entry; progress arrives later, one event
  // at a time on the user-interface thread. Returns 0, or the error that
  // stopped it at once (an unknown entry, or the dial call failing).
  virtual int Dial(const std::string& entry) = 0;
  // Hangs a connection up and waits, a bounded time and with the window's
  // messages running meanwhile, until RAS has released the line.
  virtual int HangUp(uint32_t handle) = 0;
  // The line of the last dial while it is being dialled, or after it failed
  // (a line that came up is one like any other); nothing otherwise.
  virtual int HangUpCurrent() = 0;
};

// The text of a RAS connection state; empty for an unknown state. (An error's
// text comes from RAS itself.)
std::string RasStateText(uint32_t state);
