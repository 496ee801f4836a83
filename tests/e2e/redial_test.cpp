// The automatic redial, end to end: a test build of the program whose stall
// time is three seconds watches a connection of the RAS stand-in whose
// received counter falls on every read.
#include <cstdlib>

#include "e2e/redial_fixture_win32.h"

namespace {

using namespace std::chrono_literals;

TEST_F(RedialTest, AStalledLineIsHungUpRedialledAndCounted) {
  SetRas(kStalled + "dial=0|1000|0,2,5,8192|0\n");
  ASSERT_TRUE(Eventually([&] { return Today("Calls") == 1; }));
  HWND dial = WaitForDialWindow();
  ASSERT_TRUE(dial);
  EXPECT_FALSE(Connected("7"));
  ASSERT_TRUE(Eventually([&] { return Status(dial) == "Status: Dialing.."; }));
  Screenshot(dial, "dial_dialing");
  ASSERT_TRUE(
      Eventually([&] { return Status(dial) == "Status: Verifying user name and password.."; }));
  Screenshot(dial, "dial_verifying");

  // Connected: the window goes, and the new connection is a call.
  EXPECT_TRUE(WaitUntilGone(dial, 5000));
  EXPECT_TRUE(Connected("1001"));
  ASSERT_TRUE(Eventually([&] { return Today("Calls") == 2; }));
  EXPECT_EQ(Today("My ISP-Calls"), 2);

  // Its counter stands still for twice the stall time: an idle line stays up.
  std::this_thread::sleep_for(6500ms);
  EXPECT_TRUE(Connected("1001"));
  EXPECT_FALSE(WaitForDialWindow(0));
  EXPECT_EQ(Today("Calls"), 2);
}

TEST_F(RedialTest, DialsThatFailAreRetriedAboutOnceASecond) {
  // Every dial fails while opening the port, until the script changes.
  SetRas(kStalled + "dial=0|200|0|633\n");
  HWND first = WaitForDialWindow();
  ASSERT_TRUE(first);
  const DWORD firstAt = GetTickCount();
  EXPECT_TRUE(Eventually([&] { return Status(first) == "Status: Fake RAS error 633"; }));
  HWND second = nullptr;
  ASSERT_TRUE(Eventually([&] { return (second = WaitForDialWindow(0)) && second != first; }));
  // An attempt takes 200 ms; the next one follows a second after it failed.
  const DWORD interval = GetTickCount() - firstAt;
  EXPECT_GE(interval, 1000u);
  EXPECT_LE(interval, 2500u);
  EXPECT_TRUE(Eventually([&] { return Status(second) == "Status: Fake RAS error 633"; }));
  SetRas("entry=My ISP\ndial=0|200|0,2,5,8192|0\n");
  ASSERT_TRUE(Eventually([&] { return Connected(); }));
  ASSERT_TRUE(Eventually([&] { return Today("Calls") == 2; }));
}

TEST_F(RedialTest, CancelStopsTheRedials) {
  SetRas(kStalled + "dial=0|2000|0,2,5,8192|0\n");
  HWND dial = WaitForDialWindow();
  ASSERT_TRUE(dial);
  ASSERT_TRUE(PressButton(dial, "Cancel"));
  EXPECT_TRUE(WaitUntilGone(dial, 5000));
  // The dial is abandoned, and nothing is dialled again.
  std::this_thread::sleep_for(10s);
  EXPECT_FALSE(WaitForDialWindow(0));
  EXPECT_EQ(Ras().find("conn="), std::string::npos) << Ras();
  EXPECT_EQ(Today("Calls"), 1);
}

TEST_F(RedialTest, AHangUpNeverReleasedKeepsTheMeterRunning) {
  SetRas(kStalled + "hangupdelay=never\ndial=0|1000|0,2,5,8192|0\n");
  ASSERT_TRUE(Eventually([&] { return Ras().find("hungup=7|") != std::string::npos; }));
  const std::string ras = Ras();
  const size_t tick = ras.find("hungup=7|") + 9;
  const DWORD hungUpAt = std::strtoul(ras.c_str() + tick, nullptr, 10);

  // While it waits, the window answers and its display updates run: the
  // line is gone, and the update says so.
  HWND notConnected = FindChildWithText(Window, "Not Connected");
  ASSERT_TRUE(notConnected);
  EXPECT_TRUE(Eventually([&] { return IsWindowVisible(notConnected) != FALSE; }));
  DWORD_PTR ignored;
  EXPECT_TRUE(SendMessageTimeoutA(Window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored));

  // After 20 seconds the wait gives up, and the redial goes on.
  HWND dial = WaitForDialWindow(30000);
  ASSERT_TRUE(dial);
  const DWORD waited = GetTickCount() - hungUpAt;
  EXPECT_GE(waited, 19000u);
  EXPECT_LE(waited, 25000u);
}

}  // namespace
