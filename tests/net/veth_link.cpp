#include "net/veth_link.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <stdexcept>

namespace {

std::string ReadLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

std::string SysNet(const std::string& device, const std::string& item) {
  return ReadLine("/sys/class/net/" + device + "/" + item);
}

}  // namespace

void Run(const std::string& command) {
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
    throw std::runtime_error("command failed: " + command);
}

TVethLink::TVethLink(uint32_t hostIndex) {
  // A new name for every link: Wine remembers an interface's hardware
  // address by its name for as long as its server runs.
  static int links = 0;
  const int link = links++ % 10;
  const std::string id = std::to_string(getpid() % 1000000 * 10 + link);
  FNamespace = "tl" + id;
  FHost = "tl" + id + "h";
  FPeer = "tl" + id + "n";
  // A subnet of its own: the links of one test must not share a route.
  FPrefix = "10." + std::to_string(201 + link) + "." + std::to_string(getpid() % 250 + 1);
  Run("ip netns add " + FNamespace);
  Create(hostIndex ? " index " + std::to_string(hostIndex) : std::string());
}

void TVethLink::Create(const std::string& hostOptions) {
  const std::string inNs = "ip netns exec " + FNamespace + " ";
  Run("ip link add " + FHost + hostOptions + " type veth peer name " + FPeer + " netns " +
      FNamespace);
  // No IPv6: no router solicitations or neighbour discovery on the link.
  Run("sysctl -qw net.ipv6.conf." + FHost + ".disable_ipv6=1");
  Run(inNs + "sysctl -qw net.ipv6.conf." + FPeer + ".disable_ipv6=1");
  Run("ip addr add " + HostAddress() + "/24 dev " + FHost);
  Run(inNs + "ip addr add " + PeerAddress() + "/24 dev " + FPeer);
  // Fixed neighbours: no address resolution traffic either.
  const std::string hostMac = SysNet(FHost, "address");
  Run(inNs + "ip link set " + FPeer + " up");
  Run(inNs + "ip link set lo up");
  Run("ip link set " + FHost + " up");
  Run(inNs + "ip neigh replace " + HostAddress() + " lladdr " + hostMac + " dev " + FPeer +
      " nud permanent");
  Run("ip neigh replace " + PeerAddress() + " lladdr $(ip netns exec " + FNamespace +
      " cat /sys/class/net/" + FPeer + "/address) dev " + FHost + " nud permanent");
}

void TVethLink::Recreate() {
  const std::string mac = SysNet(FHost, "address");
  // Deleting one end deletes the pair.
  Run("ip link del " + FHost);
  Create(" address " + mac);
}

TVethLink::~TVethLink() {
  // Removing the namespace removes the pair with it.
  std::system(("ip netns del " + FNamespace + " >/dev/null 2>&1").c_str());
}

std::string TVethLink::HostMac() const {
  std::string mac = SysNet(FHost, "address");
  for (char& c : mac) c = c == ':' ? '-' : static_cast<char>(std::toupper(c));
  return mac;
}

uint64_t TVethLink::HostReceived() const {
  return std::stoull(SysNet(FHost, "statistics/rx_bytes"));
}

uint64_t TVethLink::HostSent() const {
  return std::stoull(SysNet(FHost, "statistics/tx_bytes"));
}

void TVethLink::EnterNamespace() const {
  const int fd = open(("/var/run/netns/" + FNamespace).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || setns(fd, CLONE_NEWNET) != 0)
    throw std::runtime_error("cannot enter " + FNamespace);
  close(fd);
}
