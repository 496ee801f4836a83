#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Just enough of the LHA archive layout to carry one member to and from the
// archivers on this machine: written with a level 0 header, read from
// headers of level 0, 1 or 2.
struct TLhaMember {
  std::string Method;  // "-lh5-", "-lh0-" (stored), ...
  std::string Name;
  uint32_t OriginalSize = 0;
  uint16_t Crc = 0;    // CRC-16 of the original bytes
  std::string Packed;  // the member's data as stored
};

// The archive's CRC-16 (reflected polynomial 0xA001, start 0).
uint16_t LhaCrc16(std::string_view data);

// An archive of one member, with its end mark.
std::string LhaArchive(const TLhaMember& member);

// The first member of an archive; throws std::runtime_error on anything
// it cannot follow.
TLhaMember ReadFirstLhaMember(std::string_view archive);
