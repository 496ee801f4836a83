#include "app/display_update.h"

#include <gtest/gtest.h>

namespace {

class DisplayUpdateTest : public testing::Test {
 protected:
  // One tick whose counters read recv and xmit.
  TDisplayUpdate Step(int64_t recv, int64_t xmit) {
    Now += 1000;
    State.Counters = {static_cast<uint64_t>(recv), static_cast<uint64_t>(xmit), Rule, Speed, Now};
    return UpdateDisplay(State, Settings, Now, 100, false);
  }

  // Steady traffic: the counters grow by the same amount every tick.
  std::vector<int32_t> Points(const std::vector<int64_t>& perTick) {
    std::vector<int32_t> points;
    for (int64_t bytes : perTick) {
      Recv += bytes;
      if (const auto out = Step(Recv, 0); out.GraphPoint)
        points.push_back(out.GraphPoint->Received);
    }
    return points;
  }

  TMeterState State;
  TDisplaySettings Settings;
  TCounterRule Rule = TCounterRule::Wrap32;
  uint32_t Speed = 0;  // unknown
  uint32_t Now = 5000000;
  int64_t Recv = 1000;
};

TEST_F(DisplayUpdateTest, FirstThreeUpdatesLearnTheCountersBeforeCounting) {
  const auto first = Step(1000, 500);
  EXPECT_EQ(State.PrevXmit, 500);
  EXPECT_EQ(State.PrevRecv, -1);
  EXPECT_EQ(State.XmitTotal, 0);
  EXPECT_FALSE(first.TrayImage);
  EXPECT_EQ(first.StatusPanels.count(5), 0u);

  const auto second = Step(1400, 800);
  EXPECT_EQ(State.XmitTotal, 300);  // the sent delta already counts
  EXPECT_EQ(State.RecvTotal, 0);
  EXPECT_EQ(State.PrevRecv, 1400);
  EXPECT_FALSE(second.TrayImage);

  const auto third = Step(2400, 800);
  EXPECT_EQ(State.RecvTotal, 1000);
  EXPECT_EQ(State.RecvUnflushed, 1000);
  EXPECT_EQ(State.XmitTotal, 300);
  EXPECT_EQ(third.TrayImage, 3);
  EXPECT_EQ(third.StatusPanels.at(5), "D/L: 1,000 bytes @ 1.0 KB/s");
  ASSERT_TRUE(third.GraphPoint);
  EXPECT_EQ(third.GraphPoint->Received, 1000);
}

TEST_F(DisplayUpdateTest, TrayImageFollowsTheDirectionsWithTraffic) {
  Step(0, 0);
  Step(0, 0);
  EXPECT_EQ(Step(10, 10).TrayImage, 2);
  EXPECT_EQ(Step(20, 10).TrayImage, 3);
  EXPECT_EQ(Step(20, 20).TrayImage, 4);
  EXPECT_EQ(Step(20, 20).TrayImage, 1);
  Settings.ShowActivity = false;
  EXPECT_FALSE(Step(30, 30).TrayImage);
}

TEST_F(DisplayUpdateTest, BurstSpreadsOverTheFourTickAverage) {
  Points({0, 0, 0, 0, 0, 0});
  EXPECT_EQ(Points({4096, 0, 0, 0, 0}), (std::vector<int32_t>{1024, 1024, 1024, 1024, 0}));
}

TEST_F(DisplayUpdateTest, ShortWindowDividesByWhatItHolds) {
  // The third update is the first with both deltas: one entry, then two.
  EXPECT_EQ(Points({0, 0, 900, 300}), (std::vector<int32_t>{900, 600}));
}

TEST_F(DisplayUpdateTest, CuiAveragesItsTicksIntoOnePoint) {
  State.CUI = 5;
  Points({0, 0});
  EXPECT_EQ(Points(std::vector<int64_t>(15, 1000)), (std::vector<int32_t>{1000, 1000, 1000}));
  EXPECT_EQ(Points({5000, 0, 0, 0, 0}), (std::vector<int32_t>{1000}));
}

TEST_F(DisplayUpdateTest, CuiZeroActsLikeOne) {
  State.CUI = 0;
  Points({0, 0});
  EXPECT_EQ(Points({400, 400}), (std::vector<int32_t>{400, 400}));
}

struct DeltaCase {
  const char* Name;
  int64_t Previous;
  int64_t Current;
  TCounterRule Rule;
  uint32_t Speed;
  uint32_t Elapsed;
  int64_t Delta;
};

class CounterDeltaTest : public testing::TestWithParam<DeltaCase> {};

TEST_P(CounterDeltaTest, CountsForwardStepsWrapsAndResets) {
  const DeltaCase& c = GetParam();
  EXPECT_EQ(CounterDelta(c.Current, c.Previous, c.Rule, c.Speed, c.Elapsed), c.Delta);
}

constexpr auto kWrap32 = TCounterRule::Wrap32;
// 100 Mbit/s for 1.5 s carries 18,750,000 bytes; twice that is still a wrap.
constexpr int64_t kCarried = 18750000;

INSTANTIATE_TEST_SUITE_P(
    Steps, CounterDeltaTest,
    testing::Values(
        DeltaCase{"Forward", 100, 250, kWrap32, 0, 1000, 150},
        DeltaCase{"Still", 100, 100, TCounterRule::NewConnection, 0, 1000, 0},
        DeltaCase{"AdapterWrap", 0xFFFFFF00LL, 0x100, kWrap32, 0, 1000, 0x200},
        DeltaCase{"AdapterWrapAlmostHalf", 0x80000001LL, 0, kWrap32, 0, 1000, 0x7FFFFFFF},
        DeltaCase{"AdapterResetAtHalf", 0x80000000LL, 0, kWrap32, 0, 1000, 0},
        DeltaCase{"AdapterReset", 0x10000000LL, 0x10, kWrap32, 0, 1000, 0},
        DeltaCase{"WrapWithinTwiceTheLinkSpeed", (1LL << 32) - 2 * kCarried, 0, kWrap32, 100000000,
                  1500, 2 * kCarried},
        DeltaCase{"ResetBeyondTwiceTheLinkSpeed", (1LL << 32) - 2 * kCarried - 1, 0, kWrap32,
                  100000000, 1500, 0},
        DeltaCase{"FastLinkResetAtHalf", 0x80000000LL, 0, kWrap32, 0xFFFFFFFF, 10000, 0},
        DeltaCase{"SixtyFourBitReset", 0x1FFFFFF00LL, 100, TCounterRule::Reset64, 0, 1000, 0},
        DeltaCase{"DialupNewConnection", 0xFFFFFF00LL, 0x100, TCounterRule::NewConnection, 0, 1000,
                  0}),
    [](const auto& info) { return info.param.Name; });

TEST_F(DisplayUpdateTest, WrappedAdapterCounterLosesNoBytes) {
  Step(0xFFFFF000u, 0xFFFFFF00u);
  Step(0xFFFFF800u, 0xFFFFFF80u);
  const auto wrapped = Step(0x800, 0x80);
  EXPECT_EQ(State.RecvTotal, 0x1000);
  EXPECT_EQ(State.XmitTotal, 0x80 + 0x100);
  EXPECT_EQ(wrapped.TrayImage, 2);

  // In dial-up mode a backwards step is a new connection: nothing is added.
  TMeterState dialup;
  dialup.DialupMode = true;
  dialup.RasConnection = 7;
  State = dialup;
  Rule = TCounterRule::NewConnection;
  Step(5000, 5000);
  Step(6000, 6000);
  Step(100, 100);
  EXPECT_EQ(State.RecvTotal, 0);
  EXPECT_EQ(State.XmitTotal, 1000);
}

TEST_F(DisplayUpdateTest, ResetOnALinkOfKnownSpeedBooksNothing) {
  Speed = 100000000;
  Step(0xF0000000u, 0);
  Step(0xF0000000u, 0);
  Step(0x10, 0);  // a wrap would be 268 MB in a second
  EXPECT_EQ(State.RecvTotal, 0);
  Step(0x10 + 1000, 0);
  EXPECT_EQ(State.RecvTotal, 1000);
}

TEST_F(DisplayUpdateTest, SixtyFourBitCountersCountBeyondTwoToTheThirtyTwoAndReset) {
  Rule = TCounterRule::Reset64;
  Step(1LL << 32, 0);
  Step(1LL << 32, 0);
  const auto huge = Step(0x2FFFFFF00LL, 0);
  EXPECT_EQ(State.RecvTotal, 0x1FFFFFF00LL);
  ASSERT_TRUE(huge.GraphPoint);
  EXPECT_EQ(huge.GraphPoint->Received, INT32_MAX);  // the rate saturates, never negative
  Step(100, 0);                                     // backwards: a reset, and the new baseline
  Step(150, 0);
  EXPECT_EQ(State.RecvTotal, 0x1FFFFFF00LL + 50);
}

TEST_F(DisplayUpdateTest, NotConnectedClearsTheConnectionAndStopsThere) {
  State.DialupMode = true;
  State.RasConnection = 0;
  State.HoursBase = 123;
  State.RecvConnection = State.XmitConnection = State.RecvSum = 50;
  const auto out = UpdateDisplay(State, Settings, Now, 100, false);
  EXPECT_TRUE(out.NotConnected);
  EXPECT_TRUE(out.StatusPanels.empty());
  EXPECT_EQ(State.HoursBase, 0u);
  EXPECT_EQ(State.RecvConnection, 0);
  EXPECT_EQ(State.XmitConnection, 0);
  EXPECT_EQ(State.RecvSum, 0);
  EXPECT_EQ(State.PrevXmit, -1);
}

TEST_F(DisplayUpdateTest, OnlyAFallingCounterStallsADialupLink) {
  State.DialupMode = true;
  State.RasConnection = 7;
  Settings.ReconStall = true;
  bool asked = false;
  for (int second = 0; second < 600; ++second) asked |= Step(1000, 20).StallReconnect;
  EXPECT_FALSE(asked);             // ten idle minutes
  State.Counters.Received = 500;   // a falling counter does not refresh the stamp
  EXPECT_EQ(kStallTime, 360000u);  // six minutes
  Now += kStallTime;
  const TMeterState stalled = State;
  EXPECT_FALSE(UpdateDisplay(State, Settings, Now, 100, false).StallReconnect);
  State = stalled;
  ++Now;
  EXPECT_TRUE(UpdateDisplay(State, Settings, Now, 100, false).StallReconnect);
  State = stalled;
  EXPECT_FALSE(UpdateDisplay(State, Settings, Now, 100, true).StallReconnect);  // dialling
  State = stalled;
  State.NewCounters = true;  // the redialled connection
  EXPECT_FALSE(UpdateDisplay(State, Settings, Now, 100, false).StallReconnect);
  State = stalled;
  Settings.ReconStall = false;
  EXPECT_FALSE(UpdateDisplay(State, Settings, Now, 100, false).StallReconnect);
}

TEST_F(DisplayUpdateTest, StatusPanelsShowSpeedDurationAndSpan) {
  State.SampleStats.dwBps = 28800;
  State.SampleStats.dwConnectDuration = 3725000;
  State.CUI = 2;
  const auto out = Step(0, 0);
  EXPECT_EQ(out.StatusPanels.at(2), "28.80 Kbps");
  EXPECT_EQ(out.StatusPanels.at(3), "01:02:05");
  EXPECT_EQ(out.StatusPanels.at(0), "03:20");  // 100 samples of 2 seconds
  State.SampleStats.dwBps = 10000000;
  EXPECT_EQ(Step(0, 0).StatusPanels.at(2), "10 Mbps");
  State.SampleStats.dwBps = 1544000;
  EXPECT_EQ(Step(0, 0).StatusPanels.at(2), "2 Mbps");
}

TEST_F(DisplayUpdateTest, TotalsInBothUnitModes) {
  Step(0, 0);
  Step(0, 0);
  Step(1572864, 0);  // 1.50 MB in one second
  const auto bytes = Step(1572864 + 1536, 1024);
  EXPECT_EQ(bytes.StatusPanels.at(5), "D/L: 1.50 MB @ 768.8 KB/s");
  EXPECT_EQ(bytes.StatusPanels.at(7), "U/L: 1 KB @ 0.5 KB/s");
  EXPECT_EQ(bytes.TrayTip, "Tallyline\rD/L: 1.50 MB\rU/L: 1 KB");

  Settings.Rates = {8, " kbps"};
  const auto bits = Step(1572864 + 1536, 1024);
  EXPECT_EQ(bits.StatusPanels.at(5), "D/L: 1.50 MB @ 4100.00 kbps");  // no separators
  Settings.StatsTrayTip = false;
  EXPECT_FALSE(Step(1572864 + 1536, 1024).TrayTip);
}

// The tray shows 64 characters of a tip: the title is the first to go.
TEST_F(DisplayUpdateTest, TheQuotaLineEndsTheTrayTip) {
  Step(0, 0);
  Step(0, 0);
  Step(1572864, 1024);  // D/L: 1.50 MB, U/L: 1 KB: 32 characters with the title
  Settings.QuotaTip = "Quota: 1.00 GB of 50.0 GB (12%)";
  EXPECT_EQ(Step(1572864, 1024).TrayTip,
            "Tallyline\rD/L: 1.50 MB\rU/L: 1 KB\rQuota: 1.00 GB of 50.0 GB (12%)");
  Settings.QuotaTip = "Quota: 1.00 GB of 50.0 GB (100%)";
  EXPECT_EQ(Step(1572864, 1024).TrayTip,
            "D/L: 1.50 MB\rU/L: 1 KB\rQuota: 1.00 GB of 50.0 GB (100%)");
  Settings.StatsTrayTip = false;
  EXPECT_EQ(Step(1572864, 1024).TrayTip, "Tallyline\rQuota: 1.00 GB of 50.0 GB (100%)");
}

TEST_F(DisplayUpdateTest, StopWatchPanelsStayEmptyUntilBothDirectionsHaveBytes) {
  State.StopWatchRunning = true;
  Step(0, 0);
  Step(0, 0);
  const auto onlyReceived = Step(2048, 0);
  ASSERT_TRUE(onlyReceived.StopWatchPanels);
  EXPECT_EQ(*onlyReceived.StopWatchPanels, (std::array<std::string, 3>{}));
  const auto both = Step(4096, 1024);
  EXPECT_EQ(State.StopWatchTicks, 4);
  EXPECT_EQ(*both.StopWatchPanels,
            (std::array<std::string, 3>{"00:04", "D/L: 4 KB @ 1.0 KB/s", "U/L: 1 KB @ 0.3 KB/s"}));
  State.StopWatchRunning = false;
  EXPECT_FALSE(Step(5000, 2000).StopWatchPanels);
  EXPECT_EQ(State.StopWatchRx, 4096);
}

}  // namespace
