#include <algorithm>
#include <array>
#include <cstring>

#include "codec/blowfish.h"
#include "codec/blowfish_tables.h"

namespace {

uint32_t Feistel(const TBlowfishKey& key, uint32_t x) {
  return ((key.S[0][x >> 24] + key.S[1][(x >> 16) & 255]) ^ key.S[2][(x >> 8) & 255]) +
         key.S[3][x & 255];
}

void EncryptBlock(const TBlowfishKey& key, uint32_t& left, uint32_t& right) {
  for (int round = 0; round < 16; ++round) {
    left ^= key.P[round];
    right ^= Feistel(key, left);
    std::swap(left, right);
  }
  std::swap(left, right);
  right ^= key.P[16];
  left ^= key.P[17];
}

void DecryptBlock(const TBlowfishKey& key, uint32_t& left, uint32_t& right) {
  for (int round = 17; round > 1; --round) {
    left ^= key.P[round];
    right ^= Feistel(key, left);
    std::swap(left, right);
  }
  std::swap(left, right);
  right ^= key.P[1];
  left ^= key.P[0];
}

bool HasEqualEntries(const uint32_t (&box)[256]) {
  std::array<uint32_t, 256> sorted;
  std::copy(std::begin(box), std::end(box), sorted.begin());
  std::sort(sorted.begin(), sorted.end());
  return std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
}

// The halves of a block are little-endian words, whatever the machine's order.
uint32_t LoadLittleEndian(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void StoreLittleEndian(unsigned char* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

template <typename BlockCipher>
void CipherBuffer(const TBlowfishKey& key, void* buffer, size_t length, BlockCipher cipher) {
  auto* p = static_cast<unsigned char*>(buffer);
  for (size_t at = 0; at + 8 <= length; at += 8) {
    uint32_t left = LoadLittleEndian(p + at);
    uint32_t right = LoadLittleEndian(p + at + 4);
    cipher(key, left, right);
    StoreLittleEndian(p + at, left);
    StoreLittleEndian(p + at + 4, right);
  }
}

}  // namespace

std::optional<TBlowfishKey> BlowfishSetKey(std::string_view password) {
  if (password.empty()) return std::nullopt;
  TBlowfishKey key;
  std::memcpy(key.P, BlowfishInitialP, sizeof key.P);
  std::memcpy(key.S, BlowfishInitialS, sizeof key.S);
  size_t at = 0;
  for (uint32_t& word : key.P) {
    uint32_t mixed = 0;
    for (int i = 0; i < 4; ++i) {
      mixed = mixed << 8 | static_cast<unsigned char>(password[at]);
      at = (at + 1) % password.size();
    }
    word ^= mixed;
  }
  // Every word of P and then of the S-boxes in turn takes the next output of
  // the cipher, run on its own previous result from the all-zero block.
  uint32_t left = 0, right = 0;
  auto next = [&](uint32_t& first, uint32_t& second) {
    EncryptBlock(key, left, right);
    first = left;
    second = right;
  };
  for (int i = 0; i < 18; i += 2) next(key.P[i], key.P[i + 1]);
  for (auto& box : key.S)
    for (int i = 0; i < 256; i += 2) next(box[i], box[i + 1]);
  if (std::any_of(std::begin(key.S), std::end(key.S), HasEqualEntries)) return std::nullopt;
  return key;
}

void BlowfishEncryptBuffer(const TBlowfishKey& key, void* buffer, size_t length) {
  CipherBuffer(key, buffer, length, EncryptBlock);
}

void BlowfishDecryptBuffer(const TBlowfishKey& key, void* buffer, size_t length) {
  CipherBuffer(key, buffer, length, DecryptBlock);
}
