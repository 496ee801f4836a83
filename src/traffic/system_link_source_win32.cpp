// The 64-bit interface table comes with Winsock 2's address types, which
// must precede <windows.h>.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "traffic/system_link_source_win32.h"

#include <iphlpapi.h>
#include <netioapi.h>
#include <ras.h>
// ras.h maps the name to its ANSI or wide form; here it is the method's.
#undef RasEnumConnections

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>

#include "platform/date_time.h"
#include "platform/tick_count.h"

// The records are copied as they come from the system: their layouts must be
// the system's own.
static_assert(sizeof(TRasStats) == sizeof(RAS_STATS));
static_assert(offsetof(TRasStats, dwBytesRcved) == offsetof(RAS_STATS, dwBytesRcved));
static_assert(offsetof(TRasStats, dwBps) == offsetof(RAS_STATS, dwBps));
static_assert(offsetof(TRasStats, dwConnectDuration) == offsetof(RAS_STATS, dwConnectDuration));
static_assert(offsetof(TRasConn, hrasconn) == offsetof(RASCONNA, hrasconn));
static_assert(offsetof(TRasConn, szEntryName) == offsetof(RASCONNA, szEntryName));
static_assert(offsetof(TRasConn, szDeviceName) == offsetof(RASCONNA, szDeviceName));
static_assert(offsetof(TRasConn, szDeviceName) + sizeof(TRasConn::szDeviceName) ==
              offsetof(RASCONNA, szPhonebook));
static_assert(sizeof(TMibIfRow) == sizeof(MIB_IFROW));
static_assert(offsetof(TMibIfRow, dwInOctets) == offsetof(MIB_IFROW, dwInOctets));
static_assert(offsetof(TMibIfRow, dwOutOctets) == offsetof(MIB_IFROW, dwOutOctets));
static_assert(offsetof(TMibIfRow, bDescr) == offsetof(MIB_IFROW, bDescr));
static_assert(sizeof(TMibIpAddrRow) == sizeof(MIB_IPADDRROW));
static_assert(offsetof(TMibIpAddrRow, dwIndex) == offsetof(MIB_IPADDRROW, dwIndex));
// The calls bound at run time take what the system declares.
static_assert(std::is_same_v<decltype(&GetIfTable2), DWORD(WINAPI*)(MIB_IF_TABLE2**)>);
static_assert(std::is_same_v<decltype(&FreeMibTable), void(WINAPI*)(void*)>);

TSystemLinkSource::TSystemLinkSource(TIpRasAccess& ras) : FRas(ras) {
  if (HMODULE api = ras.RasApiHandle())
    FRasGetConnectionStatistics = reinterpret_cast<TGetStatistics>(
        reinterpret_cast<void*>(GetProcAddress(api, "RasGetConnectionStatistics")));
  FIpHelper = LoadLibraryA("iphlpapi.dll");
  if (FIpHelper) {
    FGetIfTable = reinterpret_cast<TGetTable>(
        reinterpret_cast<void*>(GetProcAddress(FIpHelper, "GetIfTable")));
    FGetIpAddrTable = reinterpret_cast<TGetTable>(
        reinterpret_cast<void*>(GetProcAddress(FIpHelper, "GetIpAddrTable")));
    FGetIfTable2 = reinterpret_cast<TGetTable2>(
        reinterpret_cast<void*>(GetProcAddress(FIpHelper, "GetIfTable2")));
    FFreeMibTable = reinterpret_cast<TFreeTable>(
        reinterpret_cast<void*>(GetProcAddress(FIpHelper, "FreeMibTable")));
  }
}

TSystemLinkSource::~TSystemLinkSource() {
  if (FIpHelper) FreeLibrary(FIpHelper);
}

uint32_t TSystemLinkSource::RasEnumConnections(TRasConn* connections, uint32_t* size,
                                               uint32_t* count) {
  DWORD bytes = *size, found = 0;
  const DWORD result = FRas.RasEnumConnections()(connections, &bytes, &found);
  *size = bytes;
  *count = found;
  return result;
}

uint32_t TSystemLinkSource::RasGetConnectionStatistics(uint32_t connection, TRasStats* stats) {
  return FRasGetConnectionStatistics(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(connection)),
                                     stats);
}

bool TSystemLinkSource::ReadDialupStatistic(const char* valueName, uint32_t& value) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  BYTE data[261];
  DWORD size = sizeof data;
  const bool ok =
      RegQueryValueExA(key, valueName, nullptr, nullptr, data, &size) == ERROR_SUCCESS && size >= 4;
  if (ok) std::memcpy(&value, data, 4);
  RegCloseKey(key);
  return ok;
}

// The tables start with a 32-bit row count; the buffer grows when the
// system asks for more room, and one retry follows at once.
template <typename TRow>
bool TSystemLinkSource::ReadTable(TGetTable get, std::vector<TRow>& rows) {
  if (!get) return false;
  std::vector<BYTE>& buffer = FTableBuffer;
  for (int attempt = 0; attempt < 2; ++attempt) {
    ULONG size = static_cast<ULONG>(buffer.size());
    const DWORD result = get(buffer.empty() ? nullptr : buffer.data(), &size, TRUE);
    if (result == NO_ERROR && buffer.size() >= sizeof(DWORD)) {
      DWORD count;
      std::memcpy(&count, buffer.data(), sizeof count);
      const size_t available = (buffer.size() - sizeof(DWORD)) / sizeof(TRow);
      rows.resize(std::min<size_t>(count, available));
      std::memcpy(rows.data(), buffer.data() + sizeof(DWORD), rows.size() * sizeof(TRow));
      return true;
    }
    if (result != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size()) return false;
    buffer.assign(size, 0);
  }
  return false;
}

bool TSystemLinkSource::GetIfTable(std::vector<TMibIfRow>& rows) {
  return ReadTable(FGetIfTable, rows);
}

bool TSystemLinkSource::GetIpAddrTable(std::vector<TMibIpAddrRow>& rows) {
  return ReadTable(FGetIpAddrTable, rows);
}

bool TSystemLinkSource::GetIfTable2(std::vector<TIfRow2>& rows) {
  if (!HasIfTable2()) return false;
  void* buffer = nullptr;
  if (FGetIfTable2(&buffer) != NO_ERROR) return false;
  const auto* table = static_cast<const MIB_IF_TABLE2*>(buffer);
  rows.clear();
  for (ULONG i = 0; i < table->NumEntries; ++i) {
    const MIB_IF_ROW2& row = table->Table[i];
    rows.push_back({row.InterfaceIndex, row.Type, static_cast<uint32_t>(row.TunnelType),
                    row.InterfaceAndOperStatusFlags.HardwareInterface != 0,
                    row.InterfaceAndOperStatusFlags.FilterInterface != 0, row.InOctets,
                    row.OutOctets});
  }
  FFreeMibTable(buffer);
  return true;
}

uint32_t TSystemLinkSource::TickCount() {
  return ::TickCount();
}

TDateTime TSystemLinkSource::Now() {
  return LocalNow();
}
