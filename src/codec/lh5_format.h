#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Constants of the -lh5- bit stream, shared by the encoder and the decoder.
namespace lh5 {

constexpr int kWindowSize = 8192;  // matches reach 1 to 8,192 bytes back
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 256;
constexpr int kMatchSymbolBias = 253;  // symbol c >= 256 is a match of c - 253 bytes

constexpr int kLiteralSymbols = 510;     // NC: 256 literals, then match lengths
constexpr int kDistanceClasses = 14;     // NP
constexpr int kCodeLengthSymbols = 19;   // NT
constexpr int kLiteralCountBits = 9;     // CBIT
constexpr int kDistanceCountBits = 4;    // PBIT
constexpr int kCodeLengthCountBits = 5;  // TBIT
constexpr int kBlockSizeBits = 16;
constexpr int kMaxCodeLength = 16;
constexpr int kCodeLengthZeroRunAfter = 3;  // the 2-bit zero run follows the third length
constexpr int kNoZeroRun = -1;

constexpr int kPrefixSize = 4;  // the uncompressed length, little-endian

inline void AppendLengthPrefix(std::string& out, int32_t length) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<char>(static_cast<uint32_t>(length) >> (8 * i)));
}

inline int32_t ReadLengthPrefix(std::string_view source) {
  uint32_t length = 0;
  for (int i = 3; i >= 0; --i) length = length << 8 | static_cast<unsigned char>(source[i]);
  return static_cast<int32_t>(length);
}

}  // namespace lh5
