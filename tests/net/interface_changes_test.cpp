// tallyline.exe under Wine in adapter mode while interfaces come and go: the
// month file must agree with the kernel's counters of the watched interface
// to the byte. The link is quiet around each change, so every byte falls on
// one side of it. Wine lists the interfaces by index, keeps the row of a
// deleted one (its counters at 0) while its server runs, and reads an
// interface's counters by its name, so a row's name may outlive it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "net/traffic_pump.h"
#include "net/veth_link.h"
#include "net/wine_program.h"
#include "unit/scratch_dir.h"

namespace {

using namespace std::chrono_literals;

constexpr uint64_t kRate = 800'000'000;

class InterfaceChangesTest : public testing::Test {
 protected:
  // Starts the program watching link; the first display updates learn the
  // counters while the link is silent.
  void Start(const TVethLink& link) {
    ASSERT_FALSE(WindowsBin().empty()) << "TALLYLINE_WIN32_BIN names the folder of tallyline.exe";
    std::filesystem::copy_file(WindowsBin() + "tallyline.exe", Dir.Path("tallyline.exe"));
    Dir.Write("settings.ini", "[Settings]\r\nDialup=0\r\n\r\n[NIC]\r\nS=" + link.HostName() +
                                  " @ " + link.HostMac() + "\r\n");
    Program = std::make_unique<TWineProgram>(Dir.Folder());
    ASSERT_FALSE(Program->WaitForWindow().empty());
    std::this_thread::sleep_for(4s);
  }

  // Both directions, then quiet until two more samples have seen it all.
  static void Traffic(const TVethLink& link, uint64_t toPeer, uint64_t toHost) {
    PumpTraffic(link, toPeer, toHost, kRate);
    std::this_thread::sleep_for(3s);
  }

  // Closes the program; "Recv" and "Xmit" as booked.
  std::pair<int64_t, int64_t> Close() {
    EXPECT_EQ(Driver("close '" + kMainCaption + "'"), 0);
    EXPECT_TRUE(Program->ConfirmClose());
    return BookedTotals(Dir.Folder());
  }

  TScratchDir Dir;
  std::unique_ptr<TWineProgram> Program;
};

TEST_F(InterfaceChangesTest, InterfacesListedBeforeTheWatchedOneComeAndGo) {
  auto before = std::make_unique<TVethLink>();
  // An index above the kernel's next ones: a link made later is listed
  // before the watched one too. Unique per process, as Wine keeps the rows
  // of earlier runs' indexes while its server runs.
  TVethLink link(1'000'000 + getpid() % 1'000'000 * 10);
  Start(link);
  const uint64_t received0 = link.HostReceived(), sent0 = link.HostSent();
  Traffic(link, 100'000'000, 300'000'000);

  // Windows drops the row of the deleted link; Wine keeps it.
  before.reset();
  std::this_thread::sleep_for(3s);
  Traffic(link, 100'000'000, 300'000'000);

  // Under Wine the watched link moves down a row.
  TVethLink later;
  std::this_thread::sleep_for(3s);
  Traffic(link, 100'000'000, 300'000'000);

  const uint64_t received1 = link.HostReceived(), sent1 = link.HostSent();
  const auto [received, sent] = Close();
  EXPECT_EQ(static_cast<uint64_t>(received), received1 - received0);
  EXPECT_EQ(static_cast<uint64_t>(sent), sent1 - sent0);
}

TEST_F(InterfaceChangesTest, WatchedInterfaceMadeAgainIsCountedOverBothLives) {
  TVethLink link;
  Start(link);
  const uint64_t received0 = link.HostReceived(), sent0 = link.HostSent();
  // Past 2 GiB received: a restart from there looks like a 32-bit wrap.
  Traffic(link, 100'000'000, 2'500'000'000);
  const uint64_t received1 = link.HostReceived(), sent1 = link.HostSent();

  // Same name and hardware address, so the same key; its counters restart.
  link.Recreate();
  std::this_thread::sleep_for(3s);
  Traffic(link, 200'000'000, 300'000'000);

  const uint64_t received2 = link.HostReceived(), sent2 = link.HostSent();
  const auto [received, sent] = Close();
  EXPECT_GT(received1 - received0, 2'000'000'000u);
  EXPECT_EQ(static_cast<uint64_t>(received), received1 - received0 + received2);
  EXPECT_EQ(static_cast<uint64_t>(sent), sent1 - sent0 + sent2);
}

}  // namespace
