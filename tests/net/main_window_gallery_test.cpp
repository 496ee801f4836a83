// The real main window under Wine with live traffic in adapter mode, through
// its everyday states, each saved as a screenshot (when TALLYLINE_SCREENSHOTS
// names a folder): the live graph and status bar with the stopwatch running,
// minimised to the tray and restored, borderless, and browse mode scrolled
// back. It then exits as File, Exit does, and what it leaves must be complete.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "net/traffic_pump.h"
#include "net/veth_link.h"
#include "net/wine_program.h"
#include "storage/ini_file.h"
#include "unit/scratch_dir.h"

namespace {

using namespace std::chrono_literals;

// Messages the test posts as a user's actions would cause them.
constexpr int kSysCommand = 0x0112, kMinimize = 0xF020;
constexpr int kTrayNotify = 28032, kDoubleClick = 0x0203;
constexpr int kHScroll = 0x0114, kPageLeft = 2;
constexpr int kBrowseModeKey = 0x76;  // F7

void Shot(const std::string& name) {
  const char* folder = std::getenv("TALLYLINE_SCREENSHOTS");
  if (!folder) return;
  std::this_thread::sleep_for(700ms);  // let it paint
  Driver("shot desktop 'Z:" + std::string(folder) + "/" + name + ".bmp'");
}

// Traffic of changing strength until stopped: the graph has a shape to show.
class TBackgroundTraffic {
 public:
  explicit TBackgroundTraffic(const TVethLink& link)
      : FThread([this, &link] {
          for (uint64_t round = 0; !FStop; ++round) {
            const uint64_t rate = (round % 3 + 1) * 2'000'000;
            PumpTraffic(link, rate, rate / (round % 4 + 2), rate);
          }
        }) {}
  ~TBackgroundTraffic() { Stop(); }
  void Stop() {
    FStop = true;
    if (FThread.joinable()) FThread.join();
  }

 private:
  std::atomic<bool> FStop{false};
  std::thread FThread;
};

TEST(MainWindowGalleryTest, EverydayStatesAndACompleteExit) {
  ASSERT_FALSE(WindowsBin().empty()) << "TALLYLINE_WIN32_BIN names the folder of tallyline.exe";
  TScratchDir dir;
  std::filesystem::copy_file(WindowsBin() + "tallyline.exe", dir.Path("tallyline.exe"));
  TVethLink link;
  dir.Write("settings.ini", "[NIC]\r\nS=" + link.HostName() + " @ " + link.HostMac() +
                                "\r\n\r\n[StopWatch]\r\nE=1\r\nV=1\r\n\r\n[Window]\r\n1=300\r\n"
                                "2=200\r\n3=300\r\n4=282\r\n");
  TWineProgram program(dir.Folder());
  const std::string window = program.WaitForWindow();
  ASSERT_FALSE(window.empty());
  std::this_thread::sleep_for(4s);  // the counters are known from the third update on
  const uint64_t received0 = link.HostReceived(), sent0 = link.HostSent();
  std::string application;
  ASSERT_EQ(Driver("find Tallyline TApplication", &application), 0);

  TBackgroundTraffic traffic(link);
  std::this_thread::sleep_for(25s);
  Shot("main_live");

  Driver("post " + window + " " + std::to_string(kSysCommand) + " " + std::to_string(kMinimize));
  std::this_thread::sleep_for(1s);
  Shot("main_in_tray");
  Driver("post " + application + " " + std::to_string(kTrayNotify) + " 0 " +
         std::to_string(kDoubleClick));
  std::this_thread::sleep_for(1s);
  Shot("main_restored");

  Driver("post " + window + " " + std::to_string(kDoubleClick) + " 0 0");
  Shot("main_borderless");
  Driver("post " + window + " " + std::to_string(kDoubleClick) + " 0 0");
  std::this_thread::sleep_for(1s);  // the menu bar is back

  // Browsing back needs more history than the narrow window shows (about
  // 105 samples at two pixels each) by more than a page of the scroll bar.
  std::this_thread::sleep_for(150s);
  ASSERT_EQ(Driver("key " + window + " " + std::to_string(kBrowseModeKey)), 0);
  std::this_thread::sleep_for(500ms);
  std::string scrollBar;
  ASSERT_EQ(Driver("child " + window + " ScrollBar", &scrollBar), 0);
  Driver("post " + window + " " + std::to_string(kHScroll) + " " + std::to_string(kPageLeft) + " " +
         scrollBar);
  Shot("main_browse");

  traffic.Stop();
  std::this_thread::sleep_for(3s);
  const uint64_t received1 = link.HostReceived(), sent1 = link.HostSent();
  // What File, Exit does: ask the window to close.
  ASSERT_EQ(Driver(std::string("close '") + kMainCaption + "'"), 0);
  ASSERT_TRUE(program.ConfirmClose());

  TIniFile32 settings(dir.Path("settings.ini"), false);
  EXPECT_TRUE(settings.ReadBool("StopWatch", "E", false));
  EXPECT_GT(settings.ReadInt64("StopWatch", "D", 0), 30);
  EXPECT_GT(settings.ReadInt64("StopWatch", "Rx", 0), 0);
  EXPECT_GT(settings.ReadInt64("StopWatch", "Tx", 0), 0);
  EXPECT_EQ(settings.ReadInteger("Window", "1", 0), 300);
  EXPECT_EQ(settings.ReadInteger("Window", "3", 0), 300);
  EXPECT_EQ(settings.ReadString("Settings", "Borderless", ""), "0");
  EXPECT_TRUE(settings.ReadBool("Settings", "BrowseMode", false));
  // Everything up to the exit is booked, the last seconds included.
  const auto [booked, bookedSent] = BookedTotals(dir.Folder());
  EXPECT_EQ(static_cast<uint64_t>(booked), received1 - received0);
  EXPECT_EQ(static_cast<uint64_t>(bookedSent), sent1 - sent0);
}

}  // namespace
