#pragma once

#include <cstdint>

// RAS records laid out as the platform publishes them (32-bit Windows); the
// Windows build checks the layout against the system headers.

constexpr int RAS_MaxEntryName = 256;

// RASCONNA in its first, 412-byte form, which every system accepts.
struct TRasConn {
  uint32_t dwSize;
  uint32_t hrasconn;
  char szEntryName[RAS_MaxEntryName + 1];
  char szDeviceType[16 + 1];
  char szDeviceName[128 + 1];
};
static_assert(sizeof(TRasConn) == 412);
