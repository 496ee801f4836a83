#pragma once

#include <cstdint>
#include <string>

// A veth pair of the test's own: the host end here, the other end in a
// network namespace made for it. Both ends have fixed neighbours and no
// IPv6, so nothing crosses the link but what the test sends. Everything is
// removed again when the object goes.
class TVethLink {
 public:
  TVethLink();
  ~TVethLink();
  TVethLink(const TVethLink&) = delete;
  TVethLink& operator=(const TVethLink&) = delete;

  const std::string& HostName() const { return FHost; }
  std::string HostMac() const;  // upper case, "-" between pairs
  std::string HostAddress() const { return FPrefix + ".1"; }
  std::string PeerAddress() const { return FPrefix + ".2"; }

  // The kernel's byte counters of the host end.
  uint64_t HostReceived() const;
  uint64_t HostSent() const;

  // Runs the calling thread inside the namespace from now on.
  void EnterNamespace() const;

 private:
  std::string FNamespace, FHost, FPeer, FPrefix;
};

// Runs a shell command; throws when it fails.
void Run(const std::string& command);
