// tallyline.exe under Wine counting several adapters at once: veth links
// whose host ends live in a namespace of the test's own, where Wine's server
// runs too, so the program sees those interfaces and no others. The links
// carry traffic at the same time, and each adapter's entry in the month
// file must agree with the kernel's counters of its host end to the byte,
// the day's totals with their sum.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "net/traffic_pump.h"
#include "net/veth_link.h"
#include "net/wine_program.h"
#include "unit/scratch_dir.h"

namespace {

using namespace std::chrono_literals;

// Per link and direction: three links at once stay well within two cores.
constexpr uint64_t kRate = 50'000'000;

// An adapter's key as the program writes it (under Wine the device's name
// and its address) and the kernel's counters of the link's host end.
struct TKernelCount {
  std::string Key;
  uint64_t Received, Sent;
};

TKernelCount Read(const TVethLink& link) {
  return {link.HostName() + " @ " + link.HostMac(), link.HostReceived(), link.HostSent()};
}

TKernelCount Between(const TKernelCount& start, const TKernelCount& end) {
  return {start.Key, end.Received - start.Received, end.Sent - start.Sent};
}

// Each link's entry holds what its host end counted, the day's totals their
// sum, and no other adapter has an entry of bytes received.
void ExpectBooked(std::map<std::string, int64_t> booked, const std::vector<TKernelCount>& counted) {
  std::set<std::string> entries, expectedEntries;
  for (const auto& [key, amount] : booked)
    if (key.ends_with("-Recv")) entries.insert(key);
  uint64_t received = 0, sent = 0;
  for (const TKernelCount& link : counted) {
    EXPECT_EQ(static_cast<uint64_t>(booked[link.Key + "-Recv"]), link.Received) << link.Key;
    EXPECT_EQ(static_cast<uint64_t>(booked[link.Key + "-Xmit"]), link.Sent) << link.Key;
    received += link.Received;
    sent += link.Sent;
    expectedEntries.insert(link.Key + "-Recv");
  }
  EXPECT_EQ(entries, expectedEntries);
  EXPECT_EQ(static_cast<uint64_t>(booked["Recv"]), received);
  EXPECT_EQ(static_cast<uint64_t>(booked["Xmit"]), sent);
}

class SeveralAdaptersTest : public testing::Test {
 protected:
  // Starts the program with these lines in its [NIC] section; the first
  // display updates learn the counters while the links are silent.
  void Start(const std::string& nic) {
    ASSERT_FALSE(WindowsBin().empty()) << "TALLYLINE_WIN32_BIN names the folder of tallyline.exe";
    std::filesystem::copy_file(WindowsBin() + "tallyline.exe", Dir.Path("tallyline.exe"));
    Dir.Write("settings.ini", "[Settings]\r\nDialup=0\r\n\r\n[NIC]\r\n" + nic);
    Program = std::make_unique<TWineProgram>(Dir.Folder(), &Host);
    ASSERT_FALSE(Program->WaitForWindow().empty());
    std::this_thread::sleep_for(4s);
  }

  // Both directions through the link, on a thread of its own on the host
  // ends' side.
  std::future<void> Pump(const TVethLink& link, uint64_t toPeer, uint64_t toHost) {
    return std::async(std::launch::async, [this, &link, toPeer, toHost] {
      Host.Enter();
      PumpTraffic(link, toPeer, toHost, kRate);
    });
  }

  // Closes the program; what it booked, by key.
  std::map<std::string, int64_t> Close() {
    EXPECT_EQ(Driver("close '" + kMainCaption + "'"), 0);
    EXPECT_TRUE(Program->ConfirmClose());
    return BookedAmounts(Dir.Folder());
  }

  TScratchDir Dir;
  // Where the host ends, the program and Wine's server live.
  TNetNamespace Host{"tlhost" + std::to_string(getpid())};
  std::unique_ptr<TWineProgram> Program;
};

TEST_F(SeveralAdaptersTest, EveryAdapterBookedOnItsOwnWhileLinksComeAndGo) {
  TVethLink a(Host), b(Host);
  auto c = std::make_unique<TVethLink>(Host);
  ASSERT_NO_FATAL_FAILURE(Start("All=1\r\n"));
  const TKernelCount a0 = Read(a), b0 = Read(b), c0 = Read(*c);

  // A and B carry traffic all along, for about 18 s.
  auto trafficA = Pump(a, 700'000'000, 900'000'000);
  auto trafficB = Pump(b, 800'000'000, 600'000'000);
  Pump(*c, 300'000'000, 200'000'000).get();
  // C goes once two samples have seen its last bytes.
  std::this_thread::sleep_for(3s);
  const TKernelCount c1 = Read(*c);
  c.reset();

  // A new link, silent until its first reading has been taken.
  TVethLink d(Host);
  std::this_thread::sleep_for(3s);
  const TKernelCount d0 = Read(d);
  Pump(d, 200'000'000, 400'000'000).get();
  trafficA.get();
  trafficB.get();
  std::this_thread::sleep_for(3s);

  const std::vector<TKernelCount> counted{Between(a0, Read(a)), Between(b0, Read(b)),
                                          Between(c0, c1), Between(d0, Read(d))};
  ExpectBooked(Close(), counted);
}

TEST_F(SeveralAdaptersTest, ChosenSetCountsExactlyThoseAdapters) {
  TVethLink a(Host), b(Host), c(Host);
  // B, between the two in the table, is left out.
  ASSERT_NO_FATAL_FAILURE(Start("S=" + Read(a).Key + "\r\nS2=" + Read(c).Key + "\r\n"));
  const TKernelCount a0 = Read(a), c0 = Read(c);
  auto trafficA = Pump(a, 300'000'000, 200'000'000);
  auto trafficB = Pump(b, 250'000'000, 250'000'000);
  auto trafficC = Pump(c, 200'000'000, 400'000'000);
  trafficA.get();
  trafficB.get();
  trafficC.get();
  std::this_thread::sleep_for(3s);

  const std::vector<TKernelCount> counted{Between(a0, Read(a)), Between(c0, Read(c))};
  ExpectBooked(Close(), counted);
}

}  // namespace
