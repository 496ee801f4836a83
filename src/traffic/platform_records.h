#pragma once

#include <cstdint>

#include "dialup/ras_records.h"

// The system's records that the counters come in, laid out as the platform
// publishes them (32-bit Windows). The Windows build checks each layout
// against the system headers. The connection record lives with the dial-up
// component, which lists connections too.

// RAS_STATS: statistics of one dial-up connection.
struct TRasStats {
  uint32_t dwSize;
  uint32_t dwBytesXmited;
  uint32_t dwBytesRcved;
  uint32_t dwFramesXmited;
  uint32_t dwFramesRcved;
  uint32_t dwCrcErr;
  uint32_t dwTimeoutErr;
  uint32_t dwAlignmentErr;
  uint32_t dwHardwareOverrunErr;
  uint32_t dwFramingErr;
  uint32_t dwBufferOverrunErr;
  uint32_t dwCompressionRatioIn;
  uint32_t dwCompressionRatioOut;
  uint32_t dwBps;
  uint32_t dwConnectDuration;
};
static_assert(sizeof(TRasStats) == 60);

// MIB_IFROW: one row of the interface table.
struct TMibIfRow {
  uint16_t wszName[256];
  uint32_t dwIndex;
  uint32_t dwType;
  uint32_t dwMtu;
  uint32_t dwSpeed;
  uint32_t dwPhysAddrLen;
  uint8_t bPhysAddr[8];
  uint32_t dwAdminStatus;
  uint32_t dwOperStatus;
  uint32_t dwLastChange;
  uint32_t dwInOctets;
  uint32_t dwInUcastPkts;
  uint32_t dwInNUcastPkts;
  uint32_t dwInDiscards;
  uint32_t dwInErrors;
  uint32_t dwInUnknownProtos;
  uint32_t dwOutOctets;
  uint32_t dwOutUcastPkts;
  uint32_t dwOutNUcastPkts;
  uint32_t dwOutDiscards;
  uint32_t dwOutErrors;
  uint32_t dwOutQLen;
  uint32_t dwDescrLen;
  uint8_t bDescr[256];
};
static_assert(sizeof(TMibIfRow) == 860);

// What the program reads of MIB_IF_ROW2, a row of the 64-bit interface table
// (Windows Vista and later): the row is large and holds unions and bit
// fields, so the binding copies these fields out of it.
struct TIfRow2 {
  uint32_t InterfaceIndex = 0;
  uint32_t Type = 0;        // IANA interface type, as MIB_IFROW's dwType
  uint32_t TunnelType = 0;  // TUNNEL_TYPE_NONE (0) unless a tunnel
  bool HardwareInterface = false;
  bool FilterInterface = false;  // a filter layer over another interface
  uint64_t InOctets = 0;
  uint64_t OutOctets = 0;
};

// MIB_IPADDRROW: one IPv4 address and the interface it is bound to. The
// address is in network byte order.
struct TMibIpAddrRow {
  uint32_t dwAddr;
  uint32_t dwIndex;
  uint32_t dwMask;
  uint32_t dwBCastAddr;
  uint32_t dwReasmSize;
  uint16_t unused1;
  uint16_t wType;
};
static_assert(sizeof(TMibIpAddrRow) == 24);
