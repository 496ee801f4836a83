#include "traffic/sampler.h"

#include <gtest/gtest.h>

#include "app/display_update.h"
#include "fake_link_source.h"

namespace {

// Records what the sampler reports, with the state it saw at the time.
class TEventLog : public TConnectionEvents {
 public:
  void ConnectionBegan() override { Events.push_back("began " + State->EntryName); }
  void ConnectionEnded() override { Events.push_back("ended " + State->EntryName); }
  const TMeterState* State = nullptr;
  std::vector<std::string> Events;
};

class SampleTest : public testing::Test {
 protected:
  SampleTest() { Log.State = &State; }
  std::string Sample() { return TakeSample(State, Source, Log); }
  // A second later: a sample and the display update that books it.
  void Measure() {
    Source.Advance(1000);
    Sample();
    UpdateDisplay(State, TDisplaySettings{}, Source.Ticks, 100, false);
  }

  TFakeLinkSource Source;
  TMeterState State;
  TEventLog Log;
};

class DialupSampleTest : public SampleTest {
 protected:
  void SetUp() override {
    State.DialupMode = true;
    Source.Stats.dwBytesRcved = 1234;
    Source.Stats.dwConnectDuration = 60000;
  }
};

TEST_F(DialupSampleTest, ConnectionUpAtStartIsWatchedButNotCounted) {
  Source.Connection = 42;
  Sample();
  EXPECT_EQ(State.RasConnection, 42u);
  EXPECT_EQ(State.EntryName, "MyISP");
  EXPECT_EQ(State.SampleStats.dwBytesRcved, 1234u);
  EXPECT_EQ(State.SampleStats.dwSize, 60u);
  EXPECT_EQ(State.ConnectionStart, Source.Clock);
  EXPECT_TRUE(Log.Events.empty());
}

TEST_F(DialupSampleTest, NoConnectionAtStartLogsNothingButEndsTheStartState) {
  Sample();  // the start state says connected, but no start time is known
  EXPECT_EQ(Log.Events, std::vector<std::string>{"ended "});
  EXPECT_FALSE(State.Connected);
  Sample();
  EXPECT_EQ(Log.Events.size(), 1u);
}

TEST_F(DialupSampleTest, ConnectionComesAndGoes) {
  Sample();
  Log.Events.clear();
  Source.Connection = 7;
  Source.Advance(1000);
  Sample();
  EXPECT_EQ(Log.Events, std::vector<std::string>{"began MyISP"});
  EXPECT_EQ(State.ConnectionStart, Source.Clock);
  const TDateTime started = State.ConnectionStart;
  Source.Advance(1000);
  Sample();
  EXPECT_EQ(State.ConnectionStart, started);
  EXPECT_EQ(Log.Events.size(), 1u);

  Source.Connection = 0;
  Source.Stats.dwBytesRcved = 9999;
  Sample();
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"began MyISP", "ended MyISP"}));
  EXPECT_EQ(State.RasConnection, 0u);
  EXPECT_EQ(State.EntryName, "");
  EXPECT_EQ(State.ConnectionStart, 0);
  EXPECT_EQ(State.SampleStats.dwBytesRcved, 1234u);  // untouched without a connection
}

TEST_F(DialupSampleTest, WithoutStatisticsTheRegistryAndOwnClockAreUsed) {
  Source.Connection = 7;
  Source.StatisticsAvailable = false;
  Source.Registry = {{"Dial-Up Adapter\\BytesRecvd", 5000}, {"Dial-Up Adapter\\BytesXmit", 700}};
  Sample();
  EXPECT_EQ(State.SampleStats.dwBytesRcved, 5000u);
  EXPECT_EQ(State.SampleStats.dwBytesXmited, 700u);
  EXPECT_EQ(State.SampleStats.dwBps, 0u);  // unreadable: 0
  EXPECT_EQ(State.SampleStats.dwConnectDuration, 0u);
  Source.Advance(2500);
  Sample();
  EXPECT_EQ(State.SampleStats.dwConnectDuration, 2500u);
  Source.Connection = 0;
  Sample();
  EXPECT_EQ(State.TickBase, 0u);
}

TEST_F(DialupSampleTest, MissingEnumerationIsReportedOnceAndSamplingGoesOn) {
  Source.EnumerationMissing = true;
  EXPECT_EQ(Sample(), "Win32 error loading 'RasEnumConnectionsA' pointer: not found");
  EXPECT_EQ(Sample(), "");
  EXPECT_EQ(Sample(), "");
  EXPECT_EQ(State.RasConnection, 0u);
  EXPECT_FALSE(State.Connected);
}

TEST_F(DialupSampleTest, RedialBetweenTwoSamplesEndsTheOldConnectionAndBeginsTheNew) {
  Source.Connection = 7;
  Measure();
  Measure();
  Source.Stats.dwBytesRcved += 4000;
  Measure();
  Log.Events.clear();
  Source.Connection = 8;
  Source.Entry = "Other";
  Source.Stats.dwBytesRcved = 9000;  // above the old connection's counter
  Measure();
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"ended MyISP", "began Other"}));
  EXPECT_EQ(State.ConnectionStart, Source.Clock);
  EXPECT_EQ(State.RecvTotal, 4000);
  Source.Stats.dwBytesRcved += 500;
  Measure();
  EXPECT_EQ(State.RecvTotal, 4500);
  EXPECT_EQ(State.RecvConnection, 500);
}

class AdapterSampleTest : public SampleTest {
 protected:
  void SetUp() override {
    State.DialupMode = false;
    Source.IfRows = {TFakeLinkSource::Row(1, "Loopback", {}),
                     TFakeLinkSource::Row(2, std::string("Fast Ethernet Adapter \0\0", 24),
                                          {0, 0x0C, 0x29, 0x1A, 0x2B, 0x3C}, 100, 200),
                     TFakeLinkSource::Row(3, "Fast Ethernet Adapter",
                                          {0, 0x0C, 0x29, 0x1A, 0x2B, 0x3D}, 300, 400),
                     TFakeLinkSource::Row(4, "\tWireless\r\n", {0xAA, 0xBB}, 500, 600)};
    Source.IfRows[3].dwOperStatus = 5;  // operational
    Source.AddrRows = {{0x0100000A, 2, 0, 0, 0, 0, 0},
                       {0x0200A8C0, 3, 0, 0, 0, 0, 0},
                       {0x0300A8C0, 3, 0, 0, 0, 0, 0}};
  }

  static constexpr const char* kWatched = "Fast Ethernet Adapter @ 00-0C-29-1A-2B-3D";
};

TEST_F(AdapterSampleTest, ListsAdaptersWithTrimmedNamesAddressesAndKeys) {
  State.Choice.Keys = {kWatched};
  EnumerateAdapters(State, Source);
  const auto& items = State.Adapters.Items;
  ASSERT_EQ(items.size(), 3u);  // no loopback: it has no hardware address
  EXPECT_EQ(items[0].Description, "Fast Ethernet Adapter");
  EXPECT_EQ(items[0].IP, "10.0.0.1");
  EXPECT_FALSE(items[0].Up);
  EXPECT_TRUE(items[2].Up);
  EXPECT_EQ(items[0].MAC, "00-0C-29-1A-2B-3C");
  EXPECT_FALSE(items[0].Selected);
  EXPECT_EQ(items[1].IP, "192.168.0.3");  // the last of two addresses
  EXPECT_TRUE(items[1].Selected);
  EXPECT_EQ(items[2].Description, "Wireless");
  EXPECT_EQ(items[2].IP, "0.0.0.0");
  EXPECT_EQ(AdapterKey(items[2]), "Wireless @ AA-BB");

  Sample();
  ASSERT_EQ(State.Watched.size(), 1u);
  const TWatchedAdapter& watched = State.Watched[0];
  EXPECT_EQ(watched.Index, 3u);
  EXPECT_EQ(watched.Mac, "00-0C-29-1A-2B-3D");
  EXPECT_EQ(watched.Counters.Received, 300u);
  EXPECT_EQ(watched.Counters.Sent, 400u);
  EXPECT_EQ(watched.Counters.Rule, TCounterRule::Wrap32);
  EXPECT_EQ(watched.Counters.Tick, Source.Ticks);
  // The first reading is a baseline: nothing in the sum yet.
  EXPECT_EQ(State.Counters.Received, 0u);
  EXPECT_EQ(State.Counters.Tick, Source.Ticks);
  // The speed of the adapters that are up: this one is down.
  EXPECT_EQ(State.SampleStats.dwBps, 0u);
  Source.IfRows[2].dwOperStatus = 5;
  Source.IfRows[2].dwInOctets += 50;
  Sample();
  EXPECT_EQ(State.Counters.Received, 50u);
  EXPECT_EQ(State.SampleStats.dwBps, 100000000u);
}

TEST_F(AdapterSampleTest, WithoutTheSavedAdapterNothingIsMeasured) {
  State.Choice.Keys = {"Gone @ 11-22"};
  EnumerateAdapters(State, Source);
  Sample();
  Sample();
  ASSERT_EQ(State.Watched.size(), 1u);
  EXPECT_FALSE(State.Watched[0].Present);
  EXPECT_EQ(State.Counters.Received, 0u);

  Source.AddrTableFails = true;
  EnumerateAdapters(State, Source);
  EXPECT_EQ(State.Adapters.Items[0].IP, "");
  Source.IfTableFails = true;
  EnumerateAdapters(State, Source);
  EXPECT_TRUE(State.Adapters.Items.empty());
}

TEST_F(AdapterSampleTest, ShrunkOrFailingTableKeepsTheLastValues) {
  State.Choice.Keys = {"Wireless @ AA-BB"};
  EnumerateAdapters(State, Source);
  Sample();
  EXPECT_EQ(State.Watched[0].Counters.Received, 500u);
  Source.IfRows.resize(3);
  Sample();
  EXPECT_EQ(State.Watched[0].Counters.Received, 500u);
  Source.IfRows.push_back(TFakeLinkSource::Row(4, "Wireless", {0xAA, 0xBB}, 900, 900));
  Source.IfTableFails = true;
  Sample();
  EXPECT_EQ(State.Watched[0].Counters.Received, 500u);
  Source.IfTableFails = false;
  Sample();
  EXPECT_EQ(State.Watched[0].Counters.Received, 900u);
}

TEST_F(AdapterSampleTest, AnAdapterListedBeforeTheWatchedOneGoes) {
  State.Choice.Keys = {kWatched};
  Measure();
  Measure();
  // The watched row moves up; the wireless adapter's row takes its place.
  Source.IfRows.erase(Source.IfRows.begin() + 1);
  Source.IfRows[1].dwInOctets += 1000;
  Measure();
  EXPECT_EQ(State.RecvTotal, 1000);
  EXPECT_EQ(State.XmitTotal, 0);
}

TEST_F(AdapterSampleTest, AGoneAdapterCountsNothingUntilItIsBack) {
  State.Choice.Keys = {kWatched};
  Source.IfRows[2].dwInOctets = 3500000000u;
  Measure();
  Measure();
  TMibIfRow watched = Source.IfRows[2];
  Source.IfRows.erase(Source.IfRows.begin() + 2);
  Measure();
  EXPECT_EQ(State.RecvTotal, 0);
  // A minute later the same interface is back, its 32-bit counter reset
  // meanwhile: at 100 Mbit/s a minute would pass the step back from 3.5e9
  // for a wrap of 795 MB. Its first reading is a baseline instead.
  Source.Advance(60000);
  watched.dwInOctets = 2000;
  Source.IfRows.push_back(watched);
  Measure();
  EXPECT_EQ(State.RecvTotal, 0);
  Source.IfRows.back().dwInOctets += 700;
  Measure();
  EXPECT_EQ(State.RecvTotal, 700);
  // A new interface with the same key: its counters started afresh.
  Source.IfRows.back().dwIndex = 9;
  Source.IfRows.back().dwInOctets = 50000;
  Measure();
  EXPECT_EQ(State.RecvTotal, 700);
  Source.IfRows.back().dwInOctets += 300;
  Measure();
  EXPECT_EQ(State.RecvTotal, 1000);
}

// The computer slept a minute; meanwhile the 32-bit counter was reset from
// 3.5e9 to 2,000. At 100 Mbit/s a minute would pass that for a wrap of
// 794,969,296 bytes: after so long a gap the reading is a baseline.
TEST_F(AdapterSampleTest, AResetAcrossAGapBetweenTicksIsNoWrap) {
  State.Choice.Keys = {kWatched};
  Source.IfRows[2].dwInOctets = 3500000000u;
  Measure();
  Measure();
  Source.Advance(59000);
  Source.IfRows[2].dwInOctets = 2000;
  Measure();
  EXPECT_EQ(State.RecvTotal, 0);
  Source.IfRows[2].dwInOctets += 700;
  Measure();
  EXPECT_EQ(State.RecvTotal, 700);
}

// A 64-bit counter that was reset steps back and counts nothing, so one
// that went on through a short absence keeps what crossed meanwhile.
TEST_F(AdapterSampleTest, SixtyFourBitCountersGoOnThroughAnAbsence) {
  State.Choice.Keys = {kWatched};
  Source.IfTable2 = true;
  Source.Octets64[3] = {5000, 100};
  Measure();
  Measure();
  const TMibIfRow watched = Source.IfRows[2];
  Source.IfRows.erase(Source.IfRows.begin() + 2);
  Measure();
  Source.IfRows.push_back(watched);
  Source.Octets64[3] = {5900, 100};
  Measure();
  EXPECT_EQ(State.RecvTotal, 900);
}

TEST_F(AdapterSampleTest, SixtyFourBitCountersOfTheWatchedIndexWhereTheSystemHasThem) {
  State.Choice.Keys = {kWatched};
  Source.IfTable2 = true;
  Source.Octets64[3] = {(5ull << 30) + 7, 6ull << 30};
  Sample();
  const TLinkCounters& read = State.Watched[0].Counters;
  EXPECT_EQ(read.Received, (5ull << 30) + 7);
  EXPECT_EQ(read.Sent, 6ull << 30);
  EXPECT_EQ(read.Rule, TCounterRule::Reset64);
  // Not in the 64-bit table this time: no 32-bit reading in between.
  Source.Octets64.clear();
  Sample();
  EXPECT_EQ(read.Received, (5ull << 30) + 7);
  // Nor when that table cannot be read.
  Source.Octets64[3] = {(5ull << 30) + 9, 6ull << 30};
  Source.IfTable2Fails = true;
  Sample();
  EXPECT_EQ(read.Received, (5ull << 30) + 7);
  Source.IfTable2Fails = false;
  Sample();
  EXPECT_EQ(State.Counters.Received, 2u);
}

TEST_F(AdapterSampleTest, ConnectDurationCountsFromTheFirstSample) {
  Sample();
  Source.Advance(1500);
  Sample();
  EXPECT_EQ(State.SampleStats.dwConnectDuration, 1500u);
  EXPECT_TRUE(State.Connected);  // untouched in adapter mode
  EXPECT_TRUE(Log.Events.empty());
}

TEST(FormatMacAddressTest, PairsOfUpperCaseDigits) {
  const uint8_t bytes[10] = {0x00, 0x0c, 0x29, 0xab, 0xff, 0x01, 0x02, 0x03, 0x04, 0x05};
  EXPECT_EQ(FormatMacAddress(6, bytes), "00-0C-29-AB-FF-01");
  EXPECT_EQ(FormatMacAddress(0, bytes), "");
  EXPECT_EQ(FormatMacAddress(10, bytes), "00-0C-29-AB-FF-01-02-03");  // at most 8
}

}  // namespace
