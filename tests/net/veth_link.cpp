#include "net/veth_link.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace {

// A new name for every link: Wine remembers an interface's hardware
// address by its name for as long as its server runs.
int NextLink() {
  static int links = 0;
  return links++ % 10;
}

std::string LinkName(int link) {
  return "tl" + std::to_string(getpid() % 1000000 * 10 + link);
}

}  // namespace

void Run(const std::string& command) {
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
    throw std::runtime_error("command failed: " + command);
}

int RunForOutput(const std::string& command, std::string& output) {
  output.clear();
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  char buffer[256];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  const int status = pclose(pipe);
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TNetNamespace::TNetNamespace(std::string name) : FName(std::move(name)) {
  Run("ip netns add " + FName);
}

TNetNamespace::~TNetNamespace() {
  std::system(("ip netns del " + FName + " >/dev/null 2>&1").c_str());
}

void TNetNamespace::Enter() const {
  const int fd = open(("/var/run/netns/" + FName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || setns(fd, CLONE_NEWNET) != 0) throw std::runtime_error("cannot enter " + FName);
  close(fd);
}

TVethLink::TVethLink(uint32_t hostIndex, const std::string& hostEnd)
    : TVethLink(nullptr, hostIndex, NextLink(), hostEnd) {}

TVethLink::TVethLink(const TNetNamespace& hostSide) : TVethLink(&hostSide, 0, NextLink(), "h") {}

// Removing the peer's namespace, as the object goes, removes the pair.
TVethLink::TVethLink(const TNetNamespace* hostSide, uint32_t hostIndex, int link,
                     const std::string& hostEnd)
    : FHost(LinkName(link) + hostEnd),
      FPeer(LinkName(link) + "n"),
      // A subnet of its own: the links of one test must not share a route.
      FPrefix("10." + std::to_string(201 + link) + "." + std::to_string(getpid() % 250 + 1)),
      FHostExec(hostSide ? hostSide->Exec() : std::string()),
      FPeerSide(LinkName(link)) {
  Create(hostIndex ? " index " + std::to_string(hostIndex) : std::string());
}

void TVethLink::Create(const std::string& hostOptions) {
  const std::string& inHost = FHostExec;
  const std::string inPeer = FPeerSide.Exec();
  Run(inHost + "ip link add " + FHost + hostOptions + " type veth peer name " + FPeer + " netns " +
      FPeerSide.Name());
  // No IPv6: no router solicitations or neighbour discovery on the link.
  Run(inHost + "sysctl -qw net.ipv6.conf." + FHost + ".disable_ipv6=1");
  Run(inPeer + "sysctl -qw net.ipv6.conf." + FPeer + ".disable_ipv6=1");
  Run(inHost + "ip addr add " + HostAddress() + "/24 dev " + FHost);
  Run(inPeer + "ip addr add " + PeerAddress() + "/24 dev " + FPeer);
  // Fixed neighbours: no address resolution traffic either.
  const std::string hostMac = HostSysNet("address");
  Run(inPeer + "ip link set " + FPeer + " up");
  Run(inPeer + "ip link set lo up");
  Run(inHost + "ip link set " + FHost + " up");
  Run(inPeer + "ip neigh replace " + HostAddress() + " lladdr " + hostMac + " dev " + FPeer +
      " nud permanent");
  Run(inHost + "ip neigh replace " + PeerAddress() + " lladdr $(" + inPeer + "cat /sys/class/net/" +
      FPeer + "/address) dev " + FHost + " nud permanent");
}

void TVethLink::Recreate() {
  const std::string mac = HostSysNet("address");
  // Deleting one end deletes the pair.
  Run(FHostExec + "ip link del " + FHost);
  Create(" address " + mac);
}

// A namespace's own /sys is mounted only for the commands run in it.
std::string TVethLink::HostSysNet(const std::string& item) const {
  const std::string command = FHostExec + "cat /sys/class/net/" + FHost + "/" + item;
  std::string value;
  if (RunForOutput(command, value) != 0) throw std::runtime_error("command failed: " + command);
  return value;
}

std::string TVethLink::HostMac() const {
  std::string mac = HostSysNet("address");
  for (char& c : mac) c = c == ':' ? '-' : static_cast<char>(std::toupper(c));
  return mac;
}

uint64_t TVethLink::HostReceived() const {
  return std::stoull(HostSysNet("statistics/rx_bytes"));
}

uint64_t TVethLink::HostSent() const {
  return std::stoull(HostSysNet("statistics/tx_bytes"));
}
