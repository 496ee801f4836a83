#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/date_time.h"
#include "traffic/platform_records.h"

// What the system offers the sampler: the Remote Access Service, the
// registry's dial-up statistics, the IP Helper tables, and the clocks. The Windows
// build binds the real services; tests put fakes in their place.
class TLinkSource {
 public:
  virtual ~TLinkSource() = default;

  // RasEnumConnectionsA. Throws EIpAccessException when the RAS library
  // lacks it.
  virtual uint32_t RasEnumConnections(TRasConn* connections, uint32_t* size, uint32_t* count) = 0;
  // Whether RasGetConnectionStatistics was found when the program started.
  virtual bool HasRasStatistics() const = 0;
  virtual uint32_t RasGetConnectionStatistics(uint32_t connection, TRasStats* stats) = 0;
  // One value of "PerfStats\StatData" under HKEY_DYN_DATA (systems whose RAS
  // keeps no statistics); false when the key or the value cannot be read.
  virtual bool ReadDialupStatistic(const char* valueName, uint32_t& value) = 0;

  // GetIfTable and GetIpAddrTable (sorted): the rows, or false when the
  // system cannot give them.
  virtual bool GetIfTable(std::vector<TMibIfRow>& rows) = 0;
  virtual bool GetIpAddrTable(std::vector<TMibIpAddrRow>& rows) = 0;
  // Whether GetIfTable2 was found when the program started (Windows Vista
  // and later): where it was, the 64-bit counters are the only ones read,
  // so a reading never mixes the two widths.
  virtual bool HasIfTable2() const = 0;
  // The rows of GetIfTable2, or false when the table cannot be read.
  virtual bool GetIfTable2(std::vector<TIfRow2>& rows) = 0;

  virtual uint32_t TickCount() = 0;
  virtual TDateTime Now() = 0;
};
