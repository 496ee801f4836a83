// The system bindings of the measurement, against Wine's own services and
// the RAS stand-in that the test prefix loads in place of Wine's RAS.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "dialup/ip_errors.h"
#include "dialup/ip_ras_access_win32.h"
#include "traffic/adapters.h"
#include "traffic/nic_change_thread_win32.h"
#include "traffic/system_link_source_win32.h"

namespace {

TEST(IpRasAccessTest, BindsTheEnumerationOnceForAllThreads) {
  TIpRasAccess ras;
  ASSERT_TRUE(ras.RasApiHandle());
  std::vector<TIpRasAccess::TRasEnumConnections> bound(8);
  std::vector<std::thread> threads;
  for (auto& slot : bound) threads.emplace_back([&] { slot = ras.RasEnumConnections(); });
  for (auto& t : threads) t.join();
  EXPECT_TRUE(bound[0]);
  EXPECT_TRUE(std::all_of(bound.begin(), bound.end(), [&](auto p) { return p == bound[0]; }));
  EXPECT_EQ(reinterpret_cast<void*>(bound[0]),
            reinterpret_cast<void*>(GetProcAddress(ras.RasApiHandle(), "RasEnumConnectionsA")));
}

TEST(IpHelperErrorTextTest, NamesTheFunctionForKnownResults) {
  EXPECT_EQ(IpHelperErrorText(ERROR_IO_PENDING, "NotifyAddrChange"), "");
  EXPECT_EQ(IpHelperErrorText(50, "NotifyAddrChange"),
            "Function NotifyAddrChange is not supported by the operating system.");
  EXPECT_EQ(IpHelperErrorText(87, "NotifyAddrChange"),
            "Function NotifyAddrChange. Invalid parameter");
  EXPECT_EQ(IpHelperErrorText(232, "NotifyAddrChange"),
            "Function NotifyAddrChange. No adapter information exists for the local computer.");
  EXPECT_FALSE(IpHelperErrorText(5, "NotifyAddrChange").empty());
}

TEST(SystemLinkSourceTest, ReadsTheInterfaceAndAddressTables) {
  TIpRasAccess ras;
  TSystemLinkSource source(ras);
  std::vector<TMibIfRow> rows;
  ASSERT_TRUE(source.GetIfTable(rows));
  ASSERT_FALSE(rows.empty());
  // The loopback interface has no hardware address and 127.0.0.1.
  const auto loopback = std::find_if(rows.begin(), rows.end(),
                                     [](const TMibIfRow& r) { return r.dwPhysAddrLen == 0; });
  ASSERT_NE(loopback, rows.end());
  EXPECT_EQ(AdapterAddress(source, loopback->dwIndex), "127.0.0.1");
  // Reading again reuses the buffer and gives the same rows.
  std::vector<TMibIfRow> again;
  ASSERT_TRUE(source.GetIfTable(again));
  EXPECT_EQ(again.size(), rows.size());
  EXPECT_GT(source.TickCount(), 0u);
}

// Every interface of the table is in the 64-bit one too, with its kind: the
// loopback interface by its type and no hardware, the others (Wine's
// Ethernet devices) hardware and no filter.
TEST(SystemLinkSourceTest, ReadsTheSixtyFourBitTableWithEachInterfacesKind) {
  TIpRasAccess ras;
  TSystemLinkSource source(ras);
  ASSERT_TRUE(source.HasIfTable2());  // Wine has it, as Windows Vista and later do
  std::vector<TMibIfRow> rows;
  std::vector<TIfRow2> rows2;
  ASSERT_TRUE(source.GetIfTable(rows));
  ASSERT_TRUE(source.GetIfTable2(rows2));
  ASSERT_EQ(rows2.size(), rows.size());
  for (const TMibIfRow& row : rows) {
    const auto wide = std::find_if(rows2.begin(), rows2.end(), [&](const TIfRow2& r) {
      return r.InterfaceIndex == row.dwIndex;
    });
    ASSERT_NE(wide, rows2.end()) << row.dwIndex;
    EXPECT_EQ(wide->Type, row.dwType);
    EXPECT_EQ(wide->HardwareInterface, row.dwType != 24) << row.dwIndex;
    EXPECT_FALSE(wide->FilterInterface);
    EXPECT_EQ(AdapterKind(row, rows2),
              row.dwType == 24 ? TAdapterKind::Loopback : TAdapterKind::Own);
  }
}

TEST(NicChangeThreadTest, StartsAndEndsWithoutWaiting) {
  HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  { TNicChangeThread watcher(window, WM_APP + 1); }
  DestroyWindow(window);
}

}  // namespace
