#include <algorithm>
#include <array>
#include <cstring>

#include "codec/bit_stream.h"
#include "codec/huffman.h"
#include "codec/lh5_format.h"
#include "codec/stream_codec.h"

using namespace lh5;

namespace {

// Everything one decompression needs, read in the order of the stream.
struct TDecoderState {
  TDecoderState(std::string_view bits, int32_t total) : Reader(bits), Total(total) {}

  TBitReader Reader;
  THuffmanTable CodeLengthCode{8};
  THuffmanTable LiteralCode{12};
  THuffmanTable DistanceCode{8};
  int BlockRemaining = 0;  // symbols left in the current block
  size_t Total;            // bytes to produce
  size_t Produced = 0;
  std::string Out;  // grows as it fills; the last 8,192 bytes are the window
};

void ExpectAtMost(size_t value, size_t limit) {
  if (value > limit) throw ECorruptFile();
}

int DecodeSymbol(TBitReader& reader, const THuffmanTable& table) {
  reader.Refill();
  const THuffmanTable::TEntry entry = table.Lookup(reader.Peek(16));
  reader.Skip(entry.Length);
  return entry.Symbol;
}

// Count k in countBits. k = 0: one symbol, sent with no bits. Otherwise k
// lengths: three bits, and from 7 on one more for each further 1-bit up to a
// 0. After zeroRunAfter lengths, two bits give a run of zero lengths.
void ReadShortTable(TDecoderState& s, THuffmanTable& table, int countBits, int size,
                    int zeroRunAfter) {
  const int count = static_cast<int>(s.Reader.Read(countBits));
  if (count == 0) {
    const int symbol = static_cast<int>(s.Reader.Read(countBits));
    ExpectAtMost(symbol, size - 1);
    return table.SetSingleSymbol(symbol);
  }
  ExpectAtMost(count, size);
  std::array<uint8_t, kCodeLengthSymbols> lengths{};
  for (int i = 0; i < count;) {
    int length = static_cast<int>(s.Reader.Read(3));
    if (length == 7) {
      while (s.Reader.Read(1) == 1) ExpectAtMost(++length, kMaxCodeLength);
    }
    lengths[i++] = static_cast<uint8_t>(length);
    if (i == zeroRunAfter) {
      i += static_cast<int>(s.Reader.Read(2));
      ExpectAtMost(i, size);
    }
  }
  table.Build(std::span(lengths.data(), size));
}

// Count k in nine bits, then k lengths sent with the code-length code: 0 is
// one zero, 1 and 2 are runs of 3 to 18 and 20 to 531 zeros, t >= 3 is the
// length t - 2.
void ReadLiteralTable(TDecoderState& s) {
  const int count = static_cast<int>(s.Reader.Read(kLiteralCountBits));
  if (count == 0) {
    const int symbol = static_cast<int>(s.Reader.Read(kLiteralCountBits));
    ExpectAtMost(symbol, kLiteralSymbols - 1);
    return s.LiteralCode.SetSingleSymbol(symbol);
  }
  ExpectAtMost(count, kLiteralSymbols);
  std::array<uint8_t, kLiteralSymbols> lengths{};
  for (int i = 0; i < count;) {
    const int symbol = DecodeSymbol(s.Reader, s.CodeLengthCode);
    if (symbol >= 3) {
      lengths[i++] = static_cast<uint8_t>(symbol - 2);
      continue;
    }
    const int zeros = symbol == 0 ? 1 : symbol == 1 ? s.Reader.Read(4) + 3 : s.Reader.Read(9) + 20;
    i += zeros;  // the array starts zeroed
    ExpectAtMost(i, kLiteralSymbols);
  }
  s.LiteralCode.Build(lengths);
}

void ReadBlockHeader(TDecoderState& s) {
  s.BlockRemaining = static_cast<int>(s.Reader.Read(kBlockSizeBits));
  // An empty block is only ever written for empty input, which is never
  // decoded; taking one while output is due would go round for ever.
  if (s.BlockRemaining == 0) throw ECorruptFile();
  ReadShortTable(s, s.CodeLengthCode, kCodeLengthCountBits, kCodeLengthSymbols,
                 kCodeLengthZeroRunAfter);
  ReadLiteralTable(s);
  ReadShortTable(s, s.DistanceCode, kDistanceCountBits, kDistanceClasses, kNoZeroRun);
}

// Class j: 0 for distance 0, else 2^(j-1) plus j - 1 more bits.
size_t ReadDistance(TDecoderState& s) {
  const int distanceClass = DecodeSymbol(s.Reader, s.DistanceCode);
  if (distanceClass <= 1) return distanceClass;
  return (size_t{1} << (distanceClass - 1)) + s.Reader.Read(distanceClass - 1);
}

// A match closer than its length repeats its first distance + 1 bytes. Short
// matches go byte by byte; longer ones in stretches that double, each a whole
// number of those periods taken from bytes already in place, so no copy
// overlaps itself and a long run of one byte takes a handful of copies.
void CopyMatch(TDecoderState& s, size_t length, size_t distance) {
  if (distance >= s.Produced) throw ECorruptFile();  // before the first byte
  length = std::min(length, s.Total - s.Produced);
  char* to = s.Out.data() + s.Produced;
  const char* from = to - distance - 1;
  if (length > 16) {
    for (size_t done = 0; done < length;) {
      const size_t stretch = std::min(done + distance + 1, length - done);
      std::memcpy(to + done, from, stretch);
      done += stretch;
    }
  } else {
    for (size_t i = 0; i < length; ++i) to[i] = from[i];
  }
  s.Produced += length;
}

// Room for the longest match; the output grows as it is produced, so a false
// length in the prefix costs nothing until the stream delivers the bytes.
void MakeRoom(TDecoderState& s) {
  if (s.Out.size() - s.Produced >= static_cast<size_t>(kMaxMatch) || s.Out.size() == s.Total)
    return;
  s.Out.resize(std::min(s.Total, std::max(2 * s.Out.size(), s.Produced + 65536)));
}

void DecodeSymbols(TDecoderState& s) {
  while (s.Produced < s.Total) {
    if (s.BlockRemaining == 0) ReadBlockHeader(s);
    --s.BlockRemaining;
    MakeRoom(s);
    const int symbol = DecodeSymbol(s.Reader, s.LiteralCode);
    if (symbol < 256)
      s.Out[s.Produced++] = static_cast<char>(symbol);
    else
      CopyMatch(s, symbol - kMatchSymbolBias, ReadDistance(s));
  }
}

}  // namespace

std::string DecompressStream(std::string_view source) {
  if (source.size() < kPrefixSize) throw ECorruptFile();
  const int32_t total = ReadLengthPrefix(source);
  if (total <= 0) return {};
  TDecoderState state(source.substr(kPrefixSize), total);
  DecodeSymbols(state);
  return std::move(state.Out);
}
