#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/exception.h"

// The building blocks of the container form of the data files: the -lh5-
// stream codec with its length prefix, the checksum and the Blowfish cipher.

class ECorruptFile : public Exception {
 public:
  ECorruptFile() : Exception("Compressed file is corrupt") {}
};

// The 4-byte little-endian length of source, then its -lh5- bit stream.
std::string CompressStream(std::string_view source);
// Exactly the length the prefix gives (nothing when it is 0 or below);
// throws ECorruptFile on a damaged bit stream.
std::string DecompressStream(std::string_view source);

// CRC-32 table, own lookup; callers pass 0xFFFFFFFF and use the result as it is.
uint32_t StreamChecksum(uint32_t init, const void* data, size_t length);

// The key schedule of one password.
struct TBlowfishKey {
  uint32_t P[18];
  uint32_t S[4][256];
};

// The schedule of a password of 1 to 255 bytes; none for a weak key (two
// equal entries in an S-box), whose data then stays clear.
std::optional<TBlowfishKey> BlowfishSetKey(std::string_view password);
// In place, over the whole 8-byte blocks; a shorter tail stays as it is.
void BlowfishEncryptBuffer(const TBlowfishKey& key, void* buffer, size_t length);
void BlowfishDecryptBuffer(const TBlowfishKey& key, void* buffer, size_t length);
