// TDialUp against the RAS stand-in, which the test prefix loads into this
// process from beside it.
#include "dialup/dial_up_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "unit/scratch_dir.h"
#include "win32/test_forms_win32.h"

namespace {

// Each test gives the stand-in a control file of its own.
class DialUpTest : public testing::Test {
 protected:
  DialUpTest() { SetEnvironmentVariableA("TALLYLINE_FAKERAS", Dir.Path("fakeras.txt").c_str()); }
  ~DialUpTest() override { SetEnvironmentVariableA("TALLYLINE_FAKERAS", nullptr); }

  void SetRas(const std::string& content) { Dir.Write("fakeras.txt", content); }

  // Runs this thread's messages until the condition holds, for at most 5 s.
  template <typename TCondition>
  static bool Eventually(TCondition condition) {
    for (DWORD start = GetTickCount(); !condition() && GetTickCount() - start < 5000;)
      PumpMessages(10);
    return condition();
  }

  TScratchDir Dir;
  TDialUp DialUp;
};

TEST_F(DialUpTest, AnUnknownEntryIsReportedAndNotDialled) {
  SetRas("entry=My ISP\n");
  std::vector<std::pair<int, std::string>> errors;
  bool dialing = false;
  DialUp.OnError = [&](int error, const std::string& text) { errors.emplace_back(error, text); };
  DialUp.OnDialing = [&] { dialing = true; };
  EXPECT_EQ(DialUp.Dial("Other ISP"), 623);
  EXPECT_EQ(errors, (std::vector<std::pair<int, std::string>>{{623, "GetEntryDialParams failed"}}));
  EXPECT_FALSE(dialing);
  EXPECT_EQ(DialUp.ConnHandle(), 0u);
}

TEST_F(DialUpTest, ADialReportsEachStepInOrderOneAtATimeOnThisThread) {
  SetRas("entry=My ISP\ndial=0|20|0,2,5|678\n");
  const DWORD thisThread = GetCurrentThreadId();
  std::vector<std::string> seen;
  int running = 0, mostRunning = 0;
  DialUp.OnDialing = [&] { seen.push_back("dialing"); };
  DialUp.OnAsyncEvent = [&](uint32_t state, int error, const std::string& text) {
    mostRunning = std::max(mostRunning, ++running);
    EXPECT_EQ(GetCurrentThreadId(), thisThread);
    seen.push_back(std::to_string(state) + " " + std::to_string(error) + " " + text);
    PumpMessages(100);  // the next steps arrive meanwhile, and must wait
    --running;
  };
  ASSERT_EQ(DialUp.Dial("My ISP"), 0);
  EXPECT_NE(DialUp.ConnHandle(), 0u);
  ASSERT_TRUE(Eventually([&] { return seen.size() == 4; }));
  EXPECT_EQ(seen, (std::vector<std::string>{"dialing", "0 0 Opening port", "2 0 Connecting device",
                                            "5 678 Fake RAS error 678"}));
  EXPECT_EQ(mostRunning, 1);
}

TEST_F(DialUpTest, ADialledConnectionIsListedUntilItIsHungUpAndReleased) {
  SetRas("entry=My ISP\ndial=0|10|0,8192|0\nhangupdelay=300\n");
  std::vector<uint32_t> states;
  DialUp.OnAsyncEvent = [&](uint32_t state, int, const std::string&) { states.push_back(state); };
  ASSERT_EQ(DialUp.Dial("My ISP"), 0);
  ASSERT_TRUE(Eventually([&] { return states.size() == 2; }));
  const auto connections = DialUp.ListConnections();
  ASSERT_TRUE(connections);
  ASSERT_EQ(connections->size(), 1u);
  EXPECT_EQ((*connections)[0].State, kRasConnected);
  EXPECT_EQ((*connections)[0].Entry, "My ISP");

  const DWORD start = GetTickCount();
  EXPECT_EQ(DialUp.HangUp((*connections)[0].Handle), 0);
  EXPECT_GE(GetTickCount() - start, 290u);
  EXPECT_TRUE(DialUp.ListConnections()->empty());
}

// Once up, the dialled line is one like any other: after it ends, RAS may
// give its handle to a line dialled by hand, which the next dial must not
// hang up.
TEST_F(DialUpTest, ALineThatCameUpIsNotHungUpByTheNextDial) {
  SetRas("entry=My ISP\ndial=0|10|0,8192|0\n");
  int connected = 0;
  DialUp.OnAsyncEvent = [&](uint32_t state, int, const std::string&) {
    connected += state == kRasConnected;
  };
  ASSERT_EQ(DialUp.Dial("My ISP"), 0);
  const uint32_t handle = DialUp.ConnHandle();
  ASSERT_TRUE(Eventually([&] { return connected == 1; }));
  EXPECT_EQ(DialUp.ConnHandle(), 0u);
  SetRas("entry=My ISP\ndial=0|500|0,8192|0\nconn=" + std::to_string(handle) + "|By Hand|8192\n");
  ASSERT_EQ(DialUp.Dial("My ISP"), 0);
  const auto connections = DialUp.ListConnections();
  ASSERT_TRUE(connections);
  ASSERT_EQ(connections->size(), 1u);
  EXPECT_EQ((*connections)[0].Entry, "By Hand");
}

TEST_F(DialUpTest, HangingUpBeforeAnyDialCallsNothing) {
  SetRas("conn=0|My ISP|8192\n");  // what a hang-up of handle 0 would end
  EXPECT_EQ(DialUp.HangUpCurrent(), 0);
  EXPECT_EQ(DialUp.ListConnections()->size(), 1u);
}

int timerTicks = 0;

void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
  ++timerTicks;
}

// RAS takes the hang-up but the line stays: it is waited for once, not on
// every later hang-up (each stall request asks for one).
TEST_F(DialUpTest, ALineNeverReleasedIsWaitedForTwentySecondsOnceWithMessagesRunning) {
  SetRas("conn=7|My ISP|8192\nhangupignored=1\n");
  TTestForm form("DialUpTestForm", "Dial-up", {0, 0, 200, 100});
  SetTimer(form.Handle(), 1, 50, CountTick);
  timerTicks = 0;
  const DWORD start = GetTickCount();
  EXPECT_EQ(DialUp.HangUp(7), 0);
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 19900u);
  EXPECT_LT(elapsed, 22000u);
  EXPECT_GT(timerTicks, 200);  // some 400 at 50 ms
  const DWORD again = GetTickCount();
  EXPECT_EQ(DialUp.HangUp(7), 0);
  EXPECT_LT(GetTickCount() - again, 1000u);
}

TEST(DialUpWithoutRasTest, ListsNothingAndFailsEveryCallQuietly) {
  TDialUp dialUp("missing.dll");
  std::vector<std::pair<int, std::string>> errors;
  dialUp.OnError = [&](int error, const std::string& text) { errors.emplace_back(error, text); };
  EXPECT_FALSE(dialUp.ListConnections());
  EXPECT_EQ(dialUp.Dial("My ISP"), -1);
  EXPECT_EQ(errors, (std::vector<std::pair<int, std::string>>{{-1, "GetEntryDialParams failed"}}));
  EXPECT_EQ(dialUp.HangUp(7), -1);
  EXPECT_EQ(dialUp.ErrorText(678), "");
}

}  // namespace
