#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "codec/lh5_format.h"

// The literals and matches of one block as they are collected, with the
// frequencies of their codes. A flag byte precedes every eight symbols (bit 7
// for the first, set for a match); a literal takes one byte, a match three:
// its symbol - 256 and the distance value, high byte first.
class TLh5BlockBuffer {
 public:
  // A block is full when a new flag byte is due with fewer than 25 bytes left,
  // room for a flag byte and eight matches.
  bool Full() const { return FCount % 8 == 0 && FUsed >= kSize - 24; }

  void AddLiteral(uint8_t byte) {
    StartSymbol();
    FBytes[FUsed++] = byte;
    ++LiteralFrequency[byte];
  }

  // distance: 0 for the byte just before, up to 8,191.
  void AddMatch(int length, int distance) {
    StartSymbol();
    FBytes[FFlagAt] |= 0x80 >> (FCount - 1) % 8;
    const int symbol = length + lh5::kMatchSymbolBias;
    FBytes[FUsed++] = static_cast<uint8_t>(symbol - 256);
    FBytes[FUsed++] = static_cast<uint8_t>(distance >> 8);
    FBytes[FUsed++] = static_cast<uint8_t>(distance);
    ++LiteralFrequency[symbol];
    ++DistanceFrequency[DistanceClass(distance)];
  }

  // Number of significant bits of the distance value.
  static int DistanceClass(int distance) { return std::bit_width(static_cast<unsigned>(distance)); }

  // Calls literal(byte) or match(symbol, distance) for each symbol in order.
  template <typename Literal, typename Match>
  void ForEachSymbol(Literal literal, Match match) const {
    int flags = 0;
    for (int i = 0, at = 0; i < FCount; ++i) {
      if (i % 8 == 0) flags = FBytes[at++];
      if (flags & (0x80 >> i % 8)) {
        match(FBytes[at] + 256, FBytes[at + 1] << 8 | FBytes[at + 2]);
        at += 3;
      } else {
        literal(FBytes[at++]);
      }
    }
  }

  int SymbolCount() const { return FCount; }

  void Clear() {
    FUsed = FCount = 0;
    LiteralFrequency.fill(0);
    DistanceFrequency.fill(0);
  }

  std::array<uint32_t, lh5::kLiteralSymbols> LiteralFrequency{};
  std::array<uint32_t, lh5::kDistanceClasses> DistanceFrequency{};

 private:
  static constexpr int kSize = 16384;

  void StartSymbol() {
    if (FCount++ % 8 == 0) {
      FFlagAt = FUsed++;
      FBytes[FFlagAt] = 0;
    }
  }

  std::array<uint8_t, kSize> FBytes;
  int FUsed = 0;
  int FCount = 0;
  int FFlagAt = 0;
};
