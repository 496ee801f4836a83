#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The Blowfish cipher that enciphers the container form's text.

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
