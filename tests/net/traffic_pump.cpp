#include "net/traffic_pump.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

constexpr uint16_t kPort = 47011;
constexpr size_t kChunk = 1 << 20;

sockaddr_in Address(const std::string& ip) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(kPort);
  inet_pton(AF_INET, ip.c_str(), &address.sin_addr);
  return address;
}

// Sends the bytes, never faster than the rate, then closes the sending side.
void Send(int socket, uint64_t bytes, uint64_t bytesPerSecond) {
  const std::vector<char> chunk(kChunk, 'x');
  const auto start = std::chrono::steady_clock::now();
  for (uint64_t sent = 0; sent < bytes;) {
    const ssize_t n = send(socket, chunk.data(), std::min<uint64_t>(kChunk, bytes - sent), 0);
    if (n <= 0) throw std::runtime_error("send failed");
    sent += static_cast<uint64_t>(n);
    const auto due = start + std::chrono::microseconds(sent * 1000000 / bytesPerSecond);
    std::this_thread::sleep_until(due);
  }
  shutdown(socket, SHUT_WR);
}

uint64_t ReceiveAll(int socket) {
  std::vector<char> buffer(kChunk);
  uint64_t total = 0;
  for (ssize_t n; (n = recv(socket, buffer.data(), buffer.size(), 0)) > 0;) total += n;
  return total;
}

// Both directions of one connected socket.
uint64_t Exchange(int socket, uint64_t toSend, uint64_t bytesPerSecond) {
  auto sender = std::async(std::launch::async, Send, socket, toSend, bytesPerSecond);
  const uint64_t received = ReceiveAll(socket);
  sender.get();
  close(socket);
  return received;
}

}  // namespace

void PumpTraffic(const TVethLink& link, uint64_t toPeer, uint64_t toHost, uint64_t bytesPerSecond) {
  std::promise<void> listening;
  auto ready = listening.get_future();
  auto peer = std::async(std::launch::async, [&] {
    int server = -1;
    try {
      link.EnterNamespace();
      server = socket(AF_INET, SOCK_STREAM, 0);
      const int yes = 1;
      setsockopt(server, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
      const sockaddr_in address = Address(link.PeerAddress());
      if (bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
          listen(server, 1) != 0)
        throw std::runtime_error("cannot listen in the namespace");
    } catch (...) {
      // Fails the caller rather than leaving it waiting for ever.
      listening.set_exception(std::current_exception());
      throw;
    }
    listening.set_value();
    const int connection = accept(server, nullptr, nullptr);
    close(server);
    return Exchange(connection, toHost, bytesPerSecond);
  });
  ready.get();
  const int client = socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = Address(link.PeerAddress());
  if (connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    throw std::runtime_error("cannot connect to the namespace");
  const uint64_t atHost = Exchange(client, toPeer, bytesPerSecond);
  const uint64_t atPeer = peer.get();
  if (atHost != toHost || atPeer != toPeer) throw std::runtime_error("traffic went missing");
}
