#pragma once

#include <cstdint>
#include <string>

// A veth pair of the test's own: the host end here, the other end in a
// network namespace made for it. Both ends have fixed neighbours and no
// IPv6, so nothing crosses the link but what the test sends. Everything is
// removed again when the object goes.
class TVethLink {
 public:
  // hostIndex: the host end's interface index; 0 lets the kernel choose.
  explicit TVethLink(uint32_t hostIndex = 0);
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

  // Deletes the pair and makes it again with the same names, addresses and
  // host hardware address: a new interface, whose counters start at 0.
  void Recreate();

  // Runs the calling thread inside the namespace from now on.
  void EnterNamespace() const;

 private:
  // The pair with its addresses and neighbours; options go to the host end.
  void Create(const std::string& hostOptions);

  std::string FNamespace, FHost, FPeer, FPrefix;
};

// Runs a shell command; throws when it fails.
void Run(const std::string& command);
