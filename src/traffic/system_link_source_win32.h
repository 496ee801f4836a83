#pragma once

#include <windows.h>

#include <vector>

#include "dialup/ip_ras_access_win32.h"
#include "traffic/link_source.h"

// The link as the system reports it: RAS through the access object, the
// dial-up statistics from the registry where RAS has none, the IP Helper
// tables (loaded at run time, so that a system without them, or without the
// 64-bit one, still gets the rest).
class TSystemLinkSource : public TLinkSource {
 public:
  explicit TSystemLinkSource(TIpRasAccess& ras);
  ~TSystemLinkSource() override;
  TSystemLinkSource(const TSystemLinkSource&) = delete;
  TSystemLinkSource& operator=(const TSystemLinkSource&) = delete;

  uint32_t RasEnumConnections(TRasConn* connections, uint32_t* size, uint32_t* count) override;
  bool HasRasStatistics() const override { return FRasGetConnectionStatistics != nullptr; }
  uint32_t RasGetConnectionStatistics(uint32_t connection, TRasStats* stats) override;
  bool ReadDialupStatistic(const char* valueName, uint32_t& value) override;
  bool GetIfTable(std::vector<TMibIfRow>& rows) override;
  bool GetIpAddrTable(std::vector<TMibIpAddrRow>& rows) override;
  bool HasIfTable2() const override { return FGetIfTable2 && FFreeMibTable; }
  bool GetIfTable2(std::vector<TIfRow2>& rows) override;
  uint32_t TickCount() override;
  TDateTime Now() override;

 private:
  using TGetTable = DWORD(WINAPI*)(void* table, ULONG* size, BOOL sorted);
  using TGetStatistics = DWORD(WINAPI*)(HANDLE connection, void* stats);
  using TGetTable2 = DWORD(WINAPI*)(void** table);
  using TFreeTable = void(WINAPI*)(void* table);

  template <typename TRow>
  bool ReadTable(TGetTable get, std::vector<TRow>& rows);

  TIpRasAccess& FRas;
  TGetStatistics FRasGetConnectionStatistics = nullptr;
  HMODULE FIpHelper = nullptr;
  TGetTable FGetIfTable = nullptr;
  TGetTable FGetIpAddrTable = nullptr;
  TGetTable2 FGetIfTable2 = nullptr;
  TFreeTable FFreeMibTable = nullptr;
  // One buffer for the tables, kept from sample to sample.
  std::vector<BYTE> FTableBuffer;
};
