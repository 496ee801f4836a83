// The screenshots of the documentation: the real program on a dial-up line
// of the RAS stand-in that carries a download, with three weeks of history,
// and each window it opens. scripts/gallery turns them into docs/*.png.
#include <cmath>

#include "app/main_menus_win32.h"
#include "e2e/redial_fixture_win32.h"

#include <commctrl.h>  // after <windows.h>

namespace {

using namespace std::chrono_literals;

// The line after t seconds of a download that ebbs and flows, on top of
// what the connection counted before.
std::string LineAfter(double t) {
  const double received = 6'300'000 + 3600 * t + 1500 / 0.45 * (1 - std::cos(0.45 * t)) +
                          700 / 1.9 * (1 - std::cos(1.9 * t));
  const double sent = 840'000 + 650 * t + 300 / 0.8 * (1 - std::cos(0.8 * t));
  return "conn=7|My ISP|8192|" + std::to_string(static_cast<DWORD>(received)) + "|" +
         std::to_string(static_cast<DWORD>(sent)) + "|53333|" +
         std::to_string(2'520'000 + static_cast<DWORD>(t * 1000)) + "\n";
}

class GalleryTest : public DialupTest {
 protected:
  // With the stop watch shown and running, and a quota of 500 MB from the
  // 15th, which the Quota tab shows.
  GalleryTest()
      : DialupTest("tallyline.exe",
                   "Dialup=1\r\n[StopWatch]\r\nV=1\r\nE=1\r\n"
                   "[Quota]\r\nEnabled=1\r\nLimit=524288000\r\nStartDay=15\r\n") {}

  void BeforeStart() override {
    WriteHistory();
    Feeder = std::jthread([this](std::stop_token stop) {
      const DWORD start = GetTickCount();
      for (; !stop.stop_requested(); Sleep(200)) SetRas(LineAfter((GetTickCount() - start) / 1e3));
    });
  }

  // The sixty days before today, for the reports, with their hours: the
  // evening's, and a short one at noon.
  void WriteHistory() {
    CreateDirectoryA((Copy.Folder() + "data").c_str(), nullptr);
    const int today = static_cast<int>(LocalNow());
    for (int k = 1; k <= 60; ++k) {
      TIniFile32 month(MonthFileName(Copy.Folder(), today - k), true);  // saved when it goes
      const std::string day = std::to_string(today - k);
      const std::string entry = k % 5 == 0 ? "Work" : "My ISP";
      const int64_t received = (8 + k * 7 % 23) * 1048576LL + k * 12345;
      const std::pair<std::string, int64_t> values[] = {{"Hours", 1800 + k * 2417 % 7200},
                                                        {"Calls", 1 + k % 4},
                                                        {"Recv", received},
                                                        {"Xmit", received / 9}};
      // An entry's seconds go under its bare name.
      for (const auto& [key, value] : values) {
        month.WriteInt64(day, key, value);
        month.WriteInt64(day, key == "Hours" ? entry : entry + "-" + key, value);
        // The day's amount in 40 parts, over hours that add up to it.
        const std::pair<int, int64_t> shares[] = {{12, 4}, {18, 6}, {19, 8}, {20, 9},
                                                  {21, 7}, {22, 4}, {23, 2}};
        int64_t left = value;
        for (const auto& [hour, share] : shares) {
          const int64_t part = hour == 23 ? left : value * share / 40;
          month.WriteInt64(day, HourKey(key.c_str(), hour), part);
          left -= part;
        }
      }
    }
  }

  // Opens a window from the main window's menu.
  HWND Open(UINT command, const std::string& className) {
    PostMessageA(Window, WM_COMMAND, command, 0);
    return WaitForWindow({"", className, Pid}, 10000);
  }

  static void Shoot(HWND window, const std::string& name) {
    std::this_thread::sleep_for(700ms);  // let it paint
    Screenshot(window, "gallery_" + name);
  }

  static void Close(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntilGone(window, 5000));
  }

  // The lists' menu, by the menu key on the first row, then closed by Esc.
  void ShootTheMenu(HWND report) {
    ASSERT_TRUE(TypeKey(report, VK_TAB));  // from the tabs to the list
    ASSERT_TRUE(TypeKey(report, VK_HOME));
    ASSERT_TRUE(TypeKey(report, VK_APPS));
    ASSERT_TRUE(Eventually([] { return !FindTopWindows({"", "#32768", 0}).empty(); }));
    Shoot(report, "report_menu");
    ASSERT_TRUE(SendKeystroke(VK_ESCAPE));
  }

  // Yesterday chosen in the daily list (the last row but today's, once the
  // program booked today), then each tab after it, its chart over it.
  void ShootTheTabs(HWND report) {
    HWND daily = FindChild(report, "SysListView32");
    PressKey(daily, VK_END);
    if (SendMessageA(daily, LVM_GETITEMCOUNT, 0, 0) > 60) PressKey(daily, VK_UP);
    HWND tabs = FindChild(report, "SysTabControl32");
    for (int tab = 1; const char* name : {"weekly", "monthly", "yearly", "hourly", "billing"}) {
      PressKey(tabs, VK_RIGHT);
      ASSERT_TRUE(Eventually([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == tab; }));
      Shoot(report, std::string("report_") + name);
      ++tab;
    }
  }

  std::jthread Feeder;
};

TEST_F(GalleryTest, EachWindowAndTheMainWindow) {
  const auto started = std::chrono::steady_clock::now();
  HWND setup = Open(cmSetup, "TFrmSetup");
  ASSERT_TRUE(setup);
  Shoot(setup, "setup");
  HWND tabs = FindChild(setup, "SysTabControl32");
  for (int tab = 1; const char* name : {"graph1", "graph2", "options", "quota"}) {
    PressKey(tabs, VK_RIGHT);
    ASSERT_TRUE(Eventually([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == tab; }));
    Shoot(setup, std::string("setup_") + name);
    ++tab;
  }
  Close(setup);

  const std::tuple<UINT, const char*, const char*> windows[] = {
      {cmAbout, "TFrmAbout", "about"},
      {cmBasicReports, "TFrmReport", "report"},
      {cmAdvancedStats, "TFrmStats", "stats"}};
  for (const auto& [command, className, name] : windows) {
    HWND window = Open(command, className);
    ASSERT_TRUE(window) << className;
    Shoot(window, name);
    if (command == cmBasicReports) {
      ShootTheMenu(window);
      ShootTheTabs(window);
    }
    Close(window);
  }

  // Last, once the graph has half a minute of the download to show.
  std::this_thread::sleep_until(started + 30s);
  Shoot(Window, "main");
  CloseConfirmed();
}

// The dialling window shows during a redial, which the test build's short
// stall time brings on within seconds.
class GalleryDialTest : public RedialTest {};

TEST_F(GalleryDialTest, TheDiallingWindow) {
  SetRas(kStalled + "dial=0|1500|0,2,5,8192|0\n");
  HWND dial = WaitForDialWindow();
  ASSERT_TRUE(dial);
  ASSERT_TRUE(Eventually([&] { return Status(dial) == "Status: Dialing.."; }));
  std::this_thread::sleep_for(300ms);  // let it paint
  Screenshot(dial, "gallery_dial");
  ASSERT_TRUE(PressButton(dial, "Cancel"));
  ASSERT_TRUE(WaitUntilGone(dial, 5000));
  CloseConfirmed();
}

}  // namespace
