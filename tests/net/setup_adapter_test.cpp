// A new user's first start: Setup opens, the user picks the veth adapter and
// presses OK, and from then on the month file counts that adapter to the byte.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "net/traffic_pump.h"
#include "net/veth_link.h"
#include "net/wine_program.h"
#include "storage/ini_file.h"
#include "unit/scratch_dir.h"

namespace {

using namespace std::chrono_literals;

TEST(SetupAdapterTest, AdapterChosenAtFirstStartIsCounted) {
  ASSERT_FALSE(WindowsBin().empty()) << "TALLYLINE_WIN32_BIN names the folder of tallyline.exe";
  TScratchDir dir;
  std::filesystem::copy_file(WindowsBin() + "tallyline.exe", dir.Path("tallyline.exe"));
  TVethLink link;
  TWineProgram program(dir.Folder());
  ASSERT_FALSE(program.WaitForWindow().empty());

  std::string setup;
  ASSERT_EQ(Driver("wait Setup 20000", &setup), 0);
  setup.erase(setup.find_last_not_of("\r\n") + 1);
  ASSERT_EQ(Driver("choose " + setup + " " + link.HostName()), 0);
  ASSERT_EQ(Driver("press Setup OK 10000 TFrmSetup"), 0);
  // Two display updates learn the adapter's counters; the link stays silent.
  std::this_thread::sleep_for(4s);
  const uint64_t received0 = link.HostReceived(), sent0 = link.HostSent();
  PumpTraffic(link, 50'000'000, 20'000'000, 400'000'000);
  std::this_thread::sleep_for(3s);
  const uint64_t received1 = link.HostReceived(), sent1 = link.HostSent();
  ASSERT_EQ(Driver(std::string("close '") + kMainCaption + "'"), 0);
  ASSERT_TRUE(program.ConfirmClose());

  TIniFile32 settings(dir.Path("settings.ini"), false);
  EXPECT_EQ(settings.ReadString("NIC", "S", ""), link.HostName() + " @ " + link.HostMac());
  EXPECT_FALSE(settings.ReadBool("Settings", "Dialup", true));
  const auto [received, sent] = BookedTotals(dir.Folder());
  EXPECT_EQ(static_cast<uint64_t>(received), received1 - received0);
  EXPECT_EQ(static_cast<uint64_t>(sent), sent1 - sent0);
}

}  // namespace
