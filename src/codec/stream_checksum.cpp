#include <array>

#include "codec/stream_checksum.h"

namespace {

// The reflected CRC-32 table, entry k the remainder of the byte k.
constexpr std::array<uint32_t, 256> Crc32Table() {
  std::array<uint32_t, 256> table{};
  for (uint32_t k = 0; k < 256; ++k) {
    uint32_t c = k;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    table[k] = c;
  }
  return table;
}

// The lookup reads four bytes at byte offset i of the table laid out
// little-endian, not entry i: the word straddles entries i/4 and i/4 + 1, so
// only the first 65 entries are ever read.
constexpr std::array<uint32_t, 256> ByteOffsetTable() {
  const auto entries = Crc32Table();
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    const uint32_t q = i / 4, r = i % 4;
    table[i] = r == 0 ? entries[q] : entries[q] >> (8 * r) | entries[q + 1] << (32 - 8 * r);
  }
  return table;
}

constexpr auto kLookup = ByteOffsetTable();

}  // namespace

uint32_t StreamChecksum(uint32_t init, const void* data, size_t length) {
  if (!data) return init;
  uint32_t c = init;
  const auto* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < length; ++i) c = (c >> 8) ^ kLookup[(c ^ p[i]) & 255];
  return c;
}
