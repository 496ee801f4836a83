// tallyline.exe under Wine measuring real traffic in adapter mode: a veth
// pair into a network namespace of the test's own carries more than 4 GiB
// each way, so the 32-bit counters wrap, and the month file must agree with
// the kernel's counters of the interface to the byte, in its days and in
// their hours.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "net/traffic_pump.h"
#include "net/veth_link.h"
#include "net/wine_program.h"
#include "unit/scratch_dir.h"

namespace {

using namespace std::chrono_literals;

constexpr uint64_t kGiB = 1ull << 30;

TEST(RealTrafficTest, MonthFileAgreesWithTheKernelAcrossCounterWraps) {
  ASSERT_FALSE(WindowsBin().empty()) << "TALLYLINE_WIN32_BIN names the folder of tallyline.exe";
  TScratchDir dir;
  std::filesystem::copy_file(WindowsBin() + "tallyline.exe", dir.Path("tallyline.exe"));
  TVethLink link;
  // Wine names an interface after the system's device; the key adds its address.
  dir.Write("settings.ini", "[Settings]\r\nDialup=0\r\n\r\n[NIC]\r\nS=" + link.HostName() + " @ " +
                                link.HostMac() + "\r\n");

  TWineProgram program(dir.Folder());
  ASSERT_FALSE(program.WaitForWindow().empty());
  // The first two display updates only learn the counters; from the third
  // on every byte counts. The link is silent until the traffic starts.
  std::this_thread::sleep_for(4s);
  const uint64_t received0 = link.HostReceived(), sent0 = link.HostSent();

  // Under 2 GiB a second, so no counter wraps twice between two samples.
  PumpTraffic(link, 4 * kGiB + 123456789, 4 * kGiB + 987654321, 800'000'000);
  // Let the closing handshake pass and two more samples see it all.
  std::this_thread::sleep_for(3s);
  const uint64_t received1 = link.HostReceived(), sent1 = link.HostSent();
  ASSERT_EQ(Driver(std::string("close '") + kMainCaption + "'"), 0);
  ASSERT_TRUE(program.ConfirmClose());

  const auto [booked, bookedSent] = BookedTotals(dir.Folder());
  EXPECT_GT(received1 - received0, 4 * kGiB);
  EXPECT_EQ(static_cast<uint64_t>(booked), received1 - received0);
  EXPECT_EQ(static_cast<uint64_t>(bookedSent), sent1 - sent0);
  // And the hours of the days add up to them, to the byte.
  EXPECT_EQ(BookedTotals(dir.Folder(), true), std::make_pair(booked, bookedSent));
}

}  // namespace
