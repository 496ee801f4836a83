#pragma once

#include <cstdint>
#include <string>

// A network namespace of the test's own, removed again when the object goes
// (with the interfaces still in it).
class TNetNamespace {
 public:
  explicit TNetNamespace(std::string name);
  ~TNetNamespace();
  TNetNamespace(const TNetNamespace&) = delete;
  TNetNamespace& operator=(const TNetNamespace&) = delete;

  const std::string& Name() const { return FName; }
  // What runs a shell command inside: "ip netns exec NAME ".
  std::string Exec() const { return "ip netns exec " + FName + " "; }

  // Runs the calling thread inside the namespace from now on.
  void Enter() const;

 private:
  std::string FName;
};

// A veth pair of the test's own: the host end here (or in a namespace the
// test gives), the other end in a network namespace made for it. Both ends
// have fixed neighbours and no IPv6, so nothing crosses the link but what
// the test sends. Everything is removed again when the object goes.
class TVethLink {
 public:
  // hostIndex: the host end's interface index; 0 lets the kernel choose.
  // hostEnd ends the host end's name (UTF-8, at most 5 bytes).
  explicit TVethLink(uint32_t hostIndex = 0, const std::string& hostEnd = "h");
  // The host end in hostSide, which must outlive the link.
  explicit TVethLink(const TNetNamespace& hostSide);
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

  // Runs the calling thread inside the peer's namespace from now on.
  void EnterNamespace() const { FPeerSide.Enter(); }

 private:
  TVethLink(const TNetNamespace* hostSide, uint32_t hostIndex, int link,
            const std::string& hostEnd);
  // The pair with its addresses and neighbours; options go to the host end.
  void Create(const std::string& hostOptions);
  // A file of the host end under /sys/class/net, read where the end lives.
  std::string HostSysNet(const std::string& item) const;

  std::string FHost, FPeer, FPrefix;
  std::string FHostExec;  // prefix of the commands for the host end
  TNetNamespace FPeerSide;
};

// Runs a shell command; throws when it fails.
void Run(const std::string& command);
// Runs a shell command; its exit status, and in output what it printed,
// without the line ends at its end.
int RunForOutput(const std::string& command, std::string& output);
