#pragma once

#include <cstdint>
#include <span>
#include <vector>

// A Huffman code sent with each block: either one symbol that takes no bits at
// all, or code lengths (at most 16) with their canonical codes.
struct THuffmanCode {
  int SingleSymbol = -1;  // >= 0: the single-symbol form
  std::vector<uint8_t> Lengths;
  std::vector<uint16_t> Codes;
};

// The code the encoder sends for these frequencies, lengths limited to 16.
THuffmanCode BuildHuffmanCode(std::span<const uint32_t> frequencies);

// Consecutive codes in order of length, then of symbol.
std::vector<uint16_t> CanonicalCodes(std::span<const uint8_t> lengths);

// Decoding by lookup: the first rootBits bits of the stream select an entry;
// longer codes continue in a second-level table.
class THuffmanTable {
 public:
  struct TEntry {
    uint16_t Symbol;  // or, for a link, the offset of the second-level table
    uint8_t Length;   // bits the code takes
  };

  explicit THuffmanTable(int rootBits) : FRootBits(rootBits), FRoot(size_t{1} << rootBits) {}

  void SetSingleSymbol(int symbol);
  // Throws ECorruptFile unless the lengths make a complete prefix code.
  void Build(std::span<const uint8_t> lengths);

  // The entry for the next 16 bits of the stream.
  TEntry Lookup(uint32_t next16) const {
    const TEntry entry = FRoot[next16 >> (16 - FRootBits)];
    if (entry.Length != kLink) return entry;
    return FSecond[entry.Symbol + ((next16 >> (16 - FMaxLength)) & FSecondMask)];
  }

 private:
  static constexpr uint8_t kLink = 0xFF;

  int FRootBits;
  int FMaxLength = 0;
  uint32_t FSecondMask = 0;
  std::vector<TEntry> FRoot;
  std::vector<TEntry> FSecond;
};
