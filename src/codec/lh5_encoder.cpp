#include <numeric>
#include <stdexcept>

#include "codec/bit_stream.h"
#include "codec/huffman.h"
#include "codec/lh5_block_buffer.h"
#include "codec/lh5_format.h"
#include "codec/match_finder.h"
#include "codec/stream_codec.h"

using namespace lh5;

namespace {

// Calls emit(symbol, extraBits, extraValue) for each code-length symbol that
// sends lengths[0..count): lengths as themselves + 2, zeros in runs.
template <typename Emit>
void ForEachCodeLengthSymbol(const std::vector<uint8_t>& lengths, int count, Emit emit) {
  for (int i = 0; i < count;) {
    if (lengths[i] != 0) {
      emit(lengths[i] + 2, 0, 0);
      ++i;
      continue;
    }
    int run = 0;
    while (i + run < count && lengths[i + run] == 0) ++run;
    i += run;
    if (run <= 2) {
      for (int k = 0; k < run; ++k) emit(0, 0, 0);
    } else if (run <= 18) {
      emit(1, 4, run - 3);
    } else if (run == 19) {  // one too many for a short run, too few for a long one
      emit(0, 0, 0);
      emit(1, 4, 15);
    } else {
      emit(2, 9, run - 20);
    }
  }
}

// Lengths up to the last non-zero one are sent; the rest are implied zeros.
int SentLengthCount(const std::vector<uint8_t>& lengths) {
  int count = static_cast<int>(lengths.size());
  while (count > 0 && lengths[count - 1] == 0) --count;
  return count;
}

class TLh5Encoder {
 public:
  TLh5Encoder(std::string_view source, std::string& out)
      : FSource(source), FWriter(out), FFinder(source) {}

  // Each step looks one position ahead: a match is sent only when the match
  // at the next position is not longer.
  void Run() {
    const auto size = static_cast<int32_t>(FSource.size());
    TMatchFinder::TMatch current = FFinder.Insert(0);
    for (int32_t pos = 0; pos < size;) {
      const TMatchFinder::TMatch previous = current;
      current = FFinder.Insert(++pos);
      if (FBlock.Full()) SendBlock();
      if (current.Length > previous.Length || previous.Length < kMinMatch) {
        FBlock.AddLiteral(static_cast<uint8_t>(FSource[pos - 1]));
      } else {
        FBlock.AddMatch(previous.Length, pos - 2 - previous.Position);
        for (int i = 1; i < previous.Length; ++i) current = FFinder.Insert(++pos);
      }
    }
    SendBlock();
    FWriter.Finish();
  }

 private:
  void SendBlock() {
    const THuffmanCode literalCode = BuildHuffmanCode(FBlock.LiteralFrequency);
    FWriter.Write(kBlockSizeBits, FBlock.SymbolCount());
    if (literalCode.SingleSymbol >= 0) {
      // A code-length code of one symbol (0), then the literal code of one.
      WriteSingleSymbol(kCodeLengthCountBits, 0);
      WriteSingleSymbol(kLiteralCountBits, literalCode.SingleSymbol);
    } else {
      WriteLiteralLengths(literalCode);
    }
    const THuffmanCode distanceCode = BuildHuffmanCode(FBlock.DistanceFrequency);
    WriteShortTable(distanceCode, kDistanceCountBits, kNoZeroRun);
    WriteSymbols(literalCode, distanceCode);
    FBlock.Clear();
  }

  void WriteSingleSymbol(int countBits, int symbol) {
    FWriter.Write(countBits, 0);
    FWriter.Write(countBits, symbol);
  }

  // The literal/length lengths go through a code of their own, sent first.
  void WriteLiteralLengths(const THuffmanCode& literalCode) {
    const int count = SentLengthCount(literalCode.Lengths);
    std::vector<uint32_t> frequency(kCodeLengthSymbols, 0);
    ForEachCodeLengthSymbol(literalCode.Lengths, count,
                            [&](int symbol, int, int) { ++frequency[symbol]; });
    const THuffmanCode lengthCode = BuildHuffmanCode(frequency);
    WriteShortTable(lengthCode, kCodeLengthCountBits, kCodeLengthZeroRunAfter);
    FWriter.Write(kLiteralCountBits, count);
    ForEachCodeLengthSymbol(literalCode.Lengths, count, [&](int symbol, int extraBits, int extra) {
      WriteCode(lengthCode, symbol);
      FWriter.Write(extraBits, extra);
    });
  }

  // Lengths 0 to 6 in three bits, longer ones as 111 and one more 1-bit per
  // step above 7, ending in 0. After zeroRunAfter lengths, a 2-bit count of
  // the zero lengths that follow at once (at most three).
  void WriteShortTable(const THuffmanCode& code, int countBits, int zeroRunAfter) {
    if (code.SingleSymbol >= 0) return WriteSingleSymbol(countBits, code.SingleSymbol);
    const int count = SentLengthCount(code.Lengths);
    FWriter.Write(countBits, count);
    for (int i = 0; i < count;) {
      const int length = code.Lengths[i++];
      if (length <= 6)
        FWriter.Write(3, length);
      else
        FWriter.Write(length - 3, (1u << (length - 3)) - 2);
      if (i == zeroRunAfter) {
        int zeros = 0;
        while (zeros < 3 && i < static_cast<int>(code.Lengths.size()) && code.Lengths[i] == 0)
          ++zeros, ++i;
        FWriter.Write(2, zeros);
      }
    }
  }

  void WriteSymbols(const THuffmanCode& literalCode, const THuffmanCode& distanceCode) {
    FBlock.ForEachSymbol([&](int byte) { WriteCode(literalCode, byte); },
                         [&](int symbol, int distance) {
                           WriteCode(literalCode, symbol);
                           const int distanceClass = TLh5BlockBuffer::DistanceClass(distance);
                           WriteCode(distanceCode, distanceClass);
                           if (distanceClass > 1)
                             FWriter.Write(distanceClass - 1,
                                           distance & ((1 << (distanceClass - 1)) - 1));
                         });
  }

  void WriteCode(const THuffmanCode& code, int symbol) {
    FWriter.Write(code.Lengths[symbol], code.Codes[symbol]);
  }

  std::string_view FSource;
  TBitWriter FWriter;
  TMatchFinder FFinder;
  TLh5BlockBuffer FBlock;
};

}  // namespace

std::string CompressStream(std::string_view source) {
  // The length prefix is a signed 32-bit number.
  if (source.size() > static_cast<size_t>(INT32_MAX))
    throw std::length_error("CompressStream: source longer than 2 GiB");
  std::string out;
  AppendLengthPrefix(out, static_cast<int32_t>(source.size()));
  TLh5Encoder(source, out).Run();
  return out;
}
