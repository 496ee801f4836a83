#pragma once

#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "dialup/ip_errors.h"
#include "traffic/link_source.h"

// A link whose connections, counters, tables and clocks a test sets.
class TFakeLinkSource : public TLinkSource {
 public:
  // Dial-up side.
  uint32_t Connection = 0;  // 0: none
  std::string Entry = "MyISP";
  bool EnumerationMissing = false;
  bool StatisticsAvailable = true;
  TRasStats Stats{};
  std::vector<std::pair<std::string, uint32_t>> Registry;  // readable values

  // Adapter side.
  std::vector<TMibIfRow> IfRows;
  bool IfTableFails = false;
  std::vector<TMibIpAddrRow> AddrRows;
  bool AddrTableFails = false;
  // The system has the 64-bit table: a row for each index with counters or
  // flags here, a hardware interface unless its flags say otherwise.
  bool IfTable2 = false;
  bool IfTable2Fails = false;
  std::map<uint32_t, std::pair<uint64_t, uint64_t>> Octets64;
  std::map<uint32_t, TIfRow2> Flags;

  uint32_t Ticks = 1000000;
  TDateTime Clock = 46363.5;  // 7 December 2026, noon

  void Advance(uint32_t ms) {
    Ticks += ms;
    Clock += ms / 86400000.0;
  }

  uint32_t RasEnumConnections(TRasConn* connections, uint32_t* size, uint32_t* count) override {
    if (EnumerationMissing)
      throw EIpAccessException("Win32 error loading 'RasEnumConnectionsA' pointer: not found");
    if (*size < sizeof(TRasConn) || connections[0].dwSize != sizeof(TRasConn)) return 632;
    *count = Connection ? 1 : 0;
    if (Connection) {
      connections[0].hrasconn = Connection;
      std::snprintf(connections[0].szEntryName, sizeof connections[0].szEntryName, "%s",
                    Entry.c_str());
    }
    return 0;
  }
  bool HasRasStatistics() const override { return StatisticsAvailable; }
  uint32_t RasGetConnectionStatistics(uint32_t, TRasStats* stats) override {
    const uint32_t size = stats->dwSize;  // the caller's, as the system keeps it
    *stats = Stats;
    stats->dwSize = size;
    return 0;
  }
  bool ReadDialupStatistic(const char* name, uint32_t& value) override {
    for (const auto& [key, v] : Registry)
      if (key == name) {
        value = v;
        return true;
      }
    return false;
  }
  bool GetIfTable(std::vector<TMibIfRow>& rows) override {
    rows = IfRows;
    return !IfTableFails;
  }
  bool GetIpAddrTable(std::vector<TMibIpAddrRow>& rows) override {
    rows = AddrRows;
    return !AddrTableFails;
  }
  bool HasIfTable2() const override { return IfTable2; }
  bool GetIfTable2(std::vector<TIfRow2>& rows) override {
    std::map<uint32_t, TIfRow2> table = Flags;
    for (const auto& [index, octets] : Octets64) {
      if (!table.count(index)) table[index].HardwareInterface = true;
      std::tie(table[index].InOctets, table[index].OutOctets) = octets;
    }
    rows.clear();
    for (auto [index, row] : table) {
      row.InterfaceIndex = index;
      rows.push_back(row);
    }
    return IfTable2 && !IfTable2Fails;
  }
  uint32_t TickCount() override { return Ticks; }
  TDateTime Now() override { return Clock; }

  // An interface-table row with a description and hardware address.
  static TMibIfRow Row(uint32_t index, const std::string& description, std::vector<uint8_t> mac,
                       uint32_t in = 0, uint32_t out = 0) {
    TMibIfRow row{};
    row.dwIndex = index;
    row.dwSpeed = 100000000;
    row.dwPhysAddrLen = static_cast<uint32_t>(mac.size());
    if (!mac.empty()) std::memcpy(row.bPhysAddr, mac.data(), mac.size());
    row.dwDescrLen = static_cast<uint32_t>(description.size());
    std::memcpy(row.bDescr, description.data(), description.size());
    row.dwInOctets = in;
    row.dwOutOctets = out;
    return row;
  }
};
