#include "traffic/adapter_counters.h"

#include <gtest/gtest.h>

#include "app/measurement.h"
#include "fake_link_source.h"
#include "scratch_dir.h"

namespace {

// The measurement as the main window runs it, counting several adapters of a
// fake interface table, with the month file read back at the end.
class SeveralAdaptersTest : public testing::Test {
 protected:
  SeveralAdaptersTest() { MakeDirectory(Dir.Path("data")); }

  void Start(TAdapterChoice choice) {
    Measurement.State.Choice = choice;
    Measurement.Sample();
  }
  // One second: the tick, then the display update; the first two only learn.
  TDisplayUpdate Second() {
    Source.Advance(1000);
    Measurement.Tick();
    return Measurement.UpdateDisplay(TDisplaySettings{}, 100, false);
  }
  TMibIfRow& Row(uint32_t index) {
    for (TMibIfRow& row : Source.IfRows)
      if (row.dwIndex == index) return row;
    throw std::out_of_range("no row");
  }
  void Carry(uint32_t index, uint32_t received, uint32_t sent) {
    Row(index).dwInOctets += received;
    Row(index).dwOutOctets += sent;
  }
  void Remove(uint32_t index) {
    std::erase_if(Source.IfRows, [&](auto& r) { return r.dwIndex == index; });
  }
  // A key of the day's section after the program closed; -1 when absent.
  int64_t Booked(const std::string& key) {
    TIniFile32 file(MonthFileName(Dir.Folder(), Source.Clock), false);
    return file.ReadInt64("46363", key, -1);
  }
  // Rows whose 64-bit flags tell them apart: an adapter, a filter layer over
  // it, a VPN adapter, a tunnel and a wireless adapter that is down.
  void FlaggedRows() {
    Source.IfTable2 = true;
    Source.IfRows = {Up(TFakeLinkSource::Row(2, "Ethernet", {0, 1})),
                     Up(TFakeLinkSource::Row(3, "Ethernet-Filter-0000", {0, 1})),
                     Up(TFakeLinkSource::Row(4, "VPN", {0, 4})),
                     Up(TFakeLinkSource::Row(5, "Tunnel", {0, 5})),
                     TFakeLinkSource::Row(6, "Wi-Fi", {0, 2})};
    Source.IfRows[1].dwSpeed = 1000000000;
    Source.IfRows[4].dwSpeed = 300000000;
    Source.Flags[3].FilterInterface = Source.Flags[3].HardwareInterface = true;
    Source.Flags[4].HardwareInterface = false;
    Source.Flags[5] = {5, 6, 14, true, false, 0, 0};
    for (uint32_t index : {2, 3, 4, 5, 6}) Source.Octets64[index] = {6ull << 30, 1000};
  }
  static TMibIfRow Up(TMibIfRow row, uint32_t type = 6) {
    row.dwOperStatus = 5;
    row.dwType = type;
    return row;
  }

  TScratchDir Dir;
  TIniFile32 Settings{Dir.Path("settings.ini"), false};
  TFakeLinkSource Source;
  TMeasurement Measurement{Dir.Folder(), Settings, Source};
};

constexpr const char* kWired = "Ethernet @ 00-01";
constexpr const char* kWireless = "Wi-Fi @ 00-02";
constexpr const char* kPhone = "Phone @ 00-03";

// All adapters on the 32-bit path: each is read against its own last
// reading, so one that appears, vanishes, comes back under a new index,
// resets or wraps moves nothing but its own figures; the loopback interface
// and the tunnel are never counted; the day's amounts are the sums.
TEST_F(SeveralAdaptersTest, AllAdaptersAreEachBookedToTheByte) {
  Source.IfRows = {Up(TFakeLinkSource::Row(1, "Loopback", {}), 24),
                   Up(TFakeLinkSource::Row(2, "Ethernet", {0, 1}, 1000, 1000)),
                   Up(TFakeLinkSource::Row(3, "Wi-Fi", {0, 2}, 4294966296u, 50), 71),
                   Up(TFakeLinkSource::Row(4, "Teredo", {0, 0, 0, 0, 0, 0, 0, 0xE0}), 131)};
  Start({true, {}});
  Second();
  Carry(2, 77, 33);
  Second();  // counts what was sent, learns what was received
  Carry(2, 1000, 100);
  Carry(3, 2000, 200);  // past 2^32: a wrap
  Carry(4, 999, 999);
  Second();
  Source.IfRows.push_back(Up(TFakeLinkSource::Row(5, "Phone", {0, 3}, 5000, 5000)));
  Measurement.EnumerateAdapters();  // as the address-change watcher does
  Carry(2, 10, 0);
  Second();  // the phone's first reading: a baseline
  Carry(5, 300, 30);
  Second();
  const TMibIfRow wired = Row(2);
  Remove(2);
  Carry(3, 5, 0);
  const TDisplayUpdate update = Second();
  EXPECT_EQ(update.TrayTip, "Tallyline\rD/L: 3 KB\rU/L: 363 bytes\r2 adapters");
  // Back under a new index with its counters reset: a baseline again.
  Source.IfRows.push_back(wired);
  Source.IfRows.back().dwIndex = 9;
  Source.IfRows.back().dwInOctets = 5000;
  Second();
  Carry(9, 7, 0);
  Row(3).dwInOctets = 100;  // reset from 1,005: no wrap at that step
  Second();
  Carry(3, 40, 0);
  Second();
  EXPECT_TRUE(Measurement.Close().empty());

  EXPECT_EQ(Booked(std::string(kWired) + "-Recv"), 1017);
  EXPECT_EQ(Booked(std::string(kWired) + "-Xmit"), 133);
  EXPECT_EQ(Booked(std::string(kWireless) + "-Recv"), 2045);
  EXPECT_EQ(Booked(std::string(kWireless) + "-Xmit"), 200);
  EXPECT_EQ(Booked(std::string(kPhone) + "-Recv"), 300);
  EXPECT_EQ(Booked(std::string(kPhone) + "-Xmit"), 30);
  EXPECT_EQ(Booked("Teredo @ 00-00-00-00-00-00-00-E0-Recv"), -1);
  EXPECT_EQ(Booked("Recv"), 3362);
  EXPECT_EQ(Booked("Xmit"), 363);
  // Online from the first update, eight seconds, once; each adapter the
  // seconds it was up: the wired one missed two readings, the phone came at
  // the fourth.
  EXPECT_EQ(Booked("Hours"), 8);
  EXPECT_EQ(Booked(kWireless), 8);
  EXPECT_EQ(Booked(kWired), 6);
  EXPECT_EQ(Booked(kPhone), 5);
  const TMetrics metrics = Measurement.Metrics();
  EXPECT_EQ(metrics.Links.size(), 3u);
  EXPECT_EQ(metrics.Links.at(kWired).Received, 1017);
  EXPECT_EQ(metrics.Links.at(kPhone).Sent, 30);
}

// With the 64-bit table, its flags decide: filter layers and adapters the
// system calls no hardware are left out of all adapters, and so is a tunnel;
// a row Wine keeps for a deleted interface, its counters at 0, counts
// nothing. An adapter ticked is counted whatever its kind. The link speed
// is the highest of the counted adapters that are up.
TEST_F(SeveralAdaptersTest, SixtyFourBitFlagsLeaveDoubledRowsOut) {
  FlaggedRows();
  EnumerateAdapters(Measurement.State, Source);
  std::vector<TAdapterKind> kinds;
  for (const TNicItem& item : Measurement.State.Adapters.Items) kinds.push_back(item.Kind);
  EXPECT_EQ(kinds, (std::vector<TAdapterKind>{TAdapterKind::Own, TAdapterKind::Filter,
                                              TAdapterKind::Virtual, TAdapterKind::Tunnel,
                                              TAdapterKind::Own}));
  Start({true, {}});
  Second();
  Second();
  for (auto& [index, octets] : Source.Octets64) octets.first += 1000 * index;
  EXPECT_EQ(Second().StatusPanels.at(2), "100 Mbps");  // not the filter's, nor the one down
  // Deleted under Wine: the row stays, at 0.
  Source.Octets64[6] = {0, 0};
  Second();
  Source.Octets64[6] = {5, 5};
  Second();
  EXPECT_TRUE(Measurement.Close().empty());
  EXPECT_EQ(Booked("Ethernet @ 00-01-Recv"), 2000);
  EXPECT_EQ(Booked("Wi-Fi @ 00-02-Recv"), 6005);
  EXPECT_EQ(Booked("Recv"), 8005);
}

TEST_F(SeveralAdaptersTest, ATickedAdapterCountsWhateverItsKind) {
  FlaggedRows();
  Start({false, {"Ethernet @ 00-01", "VPN @ 00-04"}});
  Second();
  Second();
  Source.Octets64[4].first += 123;
  Source.Octets64[5].first += 999;
  Second();
  EXPECT_TRUE(Measurement.Close().empty());
  EXPECT_EQ(Booked("VPN @ 00-04-Recv"), 123);
  EXPECT_EQ(Booked("Recv"), 123);
}

}  // namespace
