#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "codec/huffman.h"
#include "codec/match_finder.h"
#include "codec/stream_codec.h"
#include "unit/sample_inputs.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

// A stream made by hand: the length prefix, then bits written as '0' and
// '1' (blanks only for reading), padded with zeros to whole bytes.
std::string HandStream(int32_t length, std::string_view bits) {
  std::string stream;
  for (int i = 0; i < 4; ++i) stream.push_back(static_cast<char>(uint32_t(length) >> (8 * i)));
  int count = 0, byte = 0;
  for (char bit : bits) {
    if (bit == ' ') continue;
    byte = byte << 1 | (bit == '1');
    if (++count % 8 == 0) stream.push_back(static_cast<char>(byte)), byte = 0;
  }
  if (count % 8) stream.push_back(static_cast<char>(byte << (8 - count % 8)));
  return stream;
}

// Every byte value once, then again reversed: repeats shorter than three.
std::string LiteralsOnly() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  bytes.append(bytes.rbegin(), bytes.rend());
  return bytes;
}

// Stretches that repeat every 1 to 12 bytes: matches overlapping what they copy.
std::string ShortPeriods() {
  std::string bytes;
  for (int period = 1; period <= 12; ++period)
    for (int i = 0; i < 700; ++i) bytes.push_back(static_cast<char>('a' + i % period + period));
  return bytes;
}

// Byte i appears fib(i) times: the plain Huffman tree would be 23 levels deep.
std::string FibonacciFrequencies() {
  std::string bytes;
  uint32_t a = 1, b = 1;
  for (int symbol = 0; symbol < 24; ++symbol, std::swap(a, b), b += a)
    bytes.append(a, static_cast<char>('A' + symbol));
  std::mt19937 random(7);
  std::shuffle(bytes.begin(), bytes.end(), random);  // few repeats: mostly literals
  return bytes;
}

struct TRoundTripCase {
  const char* Name;
  std::string Input;
};

class RoundTripTest : public testing::TestWithParam<TRoundTripCase> {};

TEST_P(RoundTripTest, DecompressGivesBackTheInput) {
  const std::string& input = GetParam().Input;
  const std::string packed = CompressStream(input);
  ASSERT_GE(packed.size(), 11u);
  EXPECT_EQ(packed.substr(0, 4), Bytes({int(input.size() & 255), int(input.size() >> 8 & 255),
                                        int(input.size() >> 16 & 255), 0}));
  EXPECT_TRUE(DecompressStream(packed) == input);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RoundTripTest,
    testing::Values(TRoundTripCase{"Empty", ""}, TRoundTripCase{"OneByte", "A"},
                    TRoundTripCase{"MonthFile", MonthFileText(60000)},
                    TRoundTripCase{"MonthFileManyBlocks", MonthFileText(1 << 20, 3)},
                    TRoundTripCase{"Random", RandomBytes(30000)},
                    TRoundTripCase{"TenThousandEqual", std::string(10000, 'x')},
                    TRoundTripCase{"LongRuns", LongRuns(300000)},
                    TRoundTripCase{"ShortPeriods", ShortPeriods()},
                    TRoundTripCase{"AcrossWindowMove20000", RepeatsFromAfar(20000, 8192)},
                    TRoundTripCase{"AcrossWindowMove100000", RepeatsFromAfar(100000, 8000, 5)},
                    TRoundTripCase{"PeriodOfFullWindow",
                                   RandomBytes(8192) + RandomBytes(8192) + RandomBytes(8192)},
                    TRoundTripCase{"PeriodJustBeyondWindow",
                                   [] {
                                     const std::string part = RandomBytes(8193, 9);
                                     return part + part + part;
                                   }()},
                    TRoundTripCase{"LiteralsOnly", LiteralsOnly()},
                    TRoundTripCase{"DeepHuffmanTree", FibonacciFrequencies()}),
    [](const auto& info) { return info.param.Name; });

// Bytes worked out by hand from the format: the Huffman tie rules, the
// look-ahead parse and the table layouts all show in them.
struct TExactCase {
  const char* Name;
  std::string Input;
  std::string Expected;
};

class ExactBytesTest : public testing::TestWithParam<TExactCase> {};

TEST_P(ExactBytesTest, CompressWritesTheseBytes) {
  EXPECT_EQ(CompressStream(GetParam().Input), GetParam().Expected);
  EXPECT_EQ(DecompressStream(GetParam().Expected), GetParam().Input);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ExactBytesTest,
    testing::Values(
        // N = 0; S = 0 and single-symbol forms: 16+5+5+9+9+4+4 bits, 7 zero bits.
        TExactCase{"Empty", "", std::string(11, '\0')},
        // Codes b=0 a=10 c=11; the length code 4=0 2=10 3=11 sends a run of
        // 97 zeros and 2 1 2; no matches, so distance classes 0000 0000.
        TExactCase{"ThreeLiterals", "abc",
                   Bytes({3, 0, 0, 0, 0x00, 0x03, 0x28, 0x08, 0x44, 0xC9, 0x13, 0x58, 0x02, 0x60})},
        // One literal, 39 matches of 256 and one of 15, each one byte back.
        TExactCase{"TenThousandEqual", std::string(10000, 'x'),
                   Bytes({0x10, 0x27, 0,    0,    0x00, 0x29, 0x28, 0x04, 0x4B, 0xFC, 0x32,
                          0x63, 0xFE, 0x6E, 0x40, 0x10, 0x00, 0x00, 0x00, 0x00, 0x0C})}),
    [](const auto& info) { return info.param.Name; });

// Streams that break one rule of the format each.
struct TCorruptCase {
  const char* Name;
  std::string Stream;
};

class CorruptStreamTest : public testing::TestWithParam<TCorruptCase> {};

TEST_P(CorruptStreamTest, IsRejected) {
  try {
    DecompressStream(GetParam().Stream);
    FAIL() << "accepted";
  } catch (const ECorruptFile& e) {
    EXPECT_EQ(e.Message(), "Compressed file is corrupt");
  }
}

// Pieces of a block header: S = 1, and single-symbol forms.
constexpr const char* kOneSymbol = "0000000000000001 ";
constexpr const char* kLengthCodeOfZero = "00000 00000 ";
constexpr const char* kNoDistances = "0000 0000 ";
const std::string kLiteralA = std::string(kOneSymbol) + kLengthCodeOfZero + "000000000 001000001 ";

INSTANTIATE_TEST_SUITE_P(
    Streams, CorruptStreamTest,
    testing::Values(
        TCorruptCase{"ShorterThanPrefix", Bytes({1, 0, 0})},
        TCorruptCase{"EmptyBlockWhileOutputIsDue", HandStream(1, "")},
        TCorruptCase{"LengthCodeCountOver19", HandStream(1, std::string(kOneSymbol) + "10100")},
        TCorruptCase{"LengthCodeSymbolOver18",
                     HandStream(1, std::string(kOneSymbol) + "00000 10011")},
        TCorruptCase{"LengthCodeOverFull",
                     HandStream(1, std::string(kOneSymbol) + "00011 001 001 001 00")},
        TCorruptCase{"LengthCodeIncomplete",
                     HandStream(1, std::string(kOneSymbol) + "00011 001 010 000 00")},
        TCorruptCase{"LengthCodeLoneSymbol",
                     HandStream(1, std::string(kOneSymbol) + "00011 001 000 000 00")},
        TCorruptCase{"LengthCodeAllZero",
                     HandStream(1, std::string(kOneSymbol) + "00011 000 000 000 00")},
        TCorruptCase{"LengthOver16",
                     HandStream(1, std::string(kOneSymbol) + "00001 111 1111111111 0")},
        TCorruptCase{"LiteralCount511",
                     HandStream(1, std::string(kOneSymbol) + kLengthCodeOfZero + "111111111")},
        TCorruptCase{"LiteralSymbol510", HandStream(1, std::string(kOneSymbol) + kLengthCodeOfZero +
                                                           "000000000 111111110")},
        // The length code is the lone symbol 2, a run of 20 + r zeros: 20 + 491 > 510.
        TCorruptCase{"ZeroRunPastTable",
                     HandStream(1, std::string(kOneSymbol) + "00000 00010 111111110 111101011")},
        TCorruptCase{"LiteralLengthsAllZero",
                     HandStream(1, std::string(kOneSymbol) + "00000 00010 111111110 111101010")},
        TCorruptCase{"DistanceCountOver14", HandStream(1, kLiteralA + "1111")},
        TCorruptCase{"DistanceSymbol14", HandStream(1, kLiteralA + "0000 1110")},
        TCorruptCase{"DistanceCodeIncomplete", HandStream(1, kLiteralA + "0010 001 011")},
        // A match (symbol 256) as the very first thing: nothing to copy from.
        TCorruptCase{"MatchBeforeFirstByte",
                     HandStream(3, std::string(kOneSymbol) + kLengthCodeOfZero +
                                       "000000000 100000000" + kNoDistances)},
        // Block of one literal, then the stream ends: the next header reads S = 0.
        TCorruptCase{"HugeLengthOverShortStream",
                     HandStream(0x7FFFFFFF, kLiteralA + kNoDistances)}),
    [](const auto& info) { return info.param.Name; });

TEST(StreamDecoderTest, ZeroAndNegativeLengthsGiveNothing) {
  EXPECT_EQ(DecompressStream(Bytes({0, 0, 0, 0})), "");
  EXPECT_EQ(DecompressStream(HandStream(-5, "1111111111111111")), "");
}

TEST(StreamDecoderTest, EndedStreamReadsOnAsZeroBits) {
  // A block of 1,000 symbols of one code each taking no bits: nothing after
  // the header is needed. A second, empty, block would be corrupt.
  const std::string header =
      std::string("0000001111101000 ") + kLengthCodeOfZero + "000000000 001000001 " + kNoDistances;
  EXPECT_EQ(DecompressStream(HandStream(1000, header)), std::string(1000, 'A'));
  EXPECT_THROW(DecompressStream(HandStream(1001, header)), ECorruptFile);
}

// Damage must end in ECorruptFile or in exactly N bytes, never in a crash,
// a hang or a result of another length.
class DamagedStreamTest : public testing::Test {
 protected:
  static void ExpectSafe(const std::string& stream, size_t length) {
    try {
      EXPECT_EQ(DecompressStream(stream).size(), length);
    } catch (const ECorruptFile&) {
    }
  }
  const std::string FInput = MonthFileText(3000) + RandomBytes(500) + std::string(700, 'z');
  const std::string FPacked = CompressStream(FInput);
};

TEST_F(DamagedStreamTest, Truncated) {
  for (size_t keep = 4; keep < FPacked.size(); ++keep)
    ExpectSafe(FPacked.substr(0, keep), FInput.size());
}

TEST_F(DamagedStreamTest, FlippedBits) {
  for (size_t bit = 32; bit < FPacked.size() * 8; bit += 3) {
    std::string damaged = FPacked;
    damaged[bit / 8] ^= static_cast<char>(0x80 >> bit % 8);
    ExpectSafe(damaged, FInput.size());
  }
}

// The match search against a plain scan of the whole window.
int LongestMatchByScan(const std::string& data, int32_t pos) {
  const int limit = static_cast<int>(std::min<size_t>(256, data.size() - pos));
  int best = 0;
  for (int32_t from = std::max(0, pos - 8192); from < pos && best < limit; ++from) {
    int length = 0;
    while (length < limit && data[from + length] == data[pos + length]) ++length;
    best = std::max(best, length);
  }
  return best;
}

struct TMatchCase {
  const char* Name;
  std::string Input;
};

class MatchFinderTest : public testing::TestWithParam<TMatchCase> {};

TEST_P(MatchFinderTest, FindsTheLongestMatchInReach) {
  const std::string& data = GetParam().Input;
  TMatchFinder finder(data);
  for (int32_t pos = 0; pos < static_cast<int32_t>(data.size()); ++pos) {
    const TMatchFinder::TMatch match = finder.Insert(pos);
    if (pos > 3000 && pos % 17 != 0) continue;  // spot checks once the window is full
    const int longest = LongestMatchByScan(data, pos);
    if (longest >= 3)
      ASSERT_EQ(match.Length, longest) << "at " << pos;
    else
      ASSERT_LT(match.Length, 3) << "at " << pos;  // never sent, so not searched for
    if (match.Length == 0) continue;
    ASSERT_LT(match.Position, pos);
    ASSERT_LE(pos - match.Position, 8192);
    ASSERT_EQ(data.compare(match.Position, match.Length, data, pos, match.Length), 0);
  }
  EXPECT_EQ(finder.Insert(static_cast<int32_t>(data.size())).Length, 0);
}

std::string SmallAlphabet(size_t size, int letters, uint32_t seed) {
  std::mt19937 random(seed);
  std::string text(size, 'a');
  for (char& c : text) c = static_cast<char>('a' + random() % letters);
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, MatchFinderTest,
    testing::Values(TMatchCase{"TwoLetters", SmallAlphabet(20000, 2, 1)},
                    TMatchCase{"FourLetters", SmallAlphabet(40000, 4, 2)},
                    TMatchCase{"MonthFile", MonthFileText(40000)},
                    TMatchCase{"RepeatsFromWindowEdge", RepeatsFromAfar(40000, 8192)},
                    TMatchCase{"RepeatsJustOutOfReach", RepeatsFromAfar(40000, 8193)},
                    TMatchCase{"LongRuns", LongRuns(40000)}),
    [](const auto& info) { return info.param.Name; });

TEST(HuffmanCodeTest, DeepTreesAreLimitedTo16BitsAndStayComplete) {
  std::vector<uint32_t> frequency(30);  // Fibonacci numbers: 29 levels deep unlimited
  uint32_t a = 1, b = 1;
  for (auto& f : frequency) f = a, std::swap(a, b), b += a;
  const THuffmanCode code = BuildHuffmanCode(frequency);
  uint32_t kraft = 0;
  for (uint8_t length : code.Lengths) {
    ASSERT_GE(length, 1);
    ASSERT_LE(length, 16);
    kraft += 65536u >> length;
  }
  EXPECT_EQ(kraft, 65536u);
}

TEST(HuffmanCodeTest, FewerThanTwoUsedSymbolsGiveTheSingleSymbolForm) {
  std::vector<uint32_t> frequency(14, 0);
  EXPECT_EQ(BuildHuffmanCode(frequency).SingleSymbol, 0);
  frequency[9] = 5;
  EXPECT_EQ(BuildHuffmanCode(frequency).SingleSymbol, 9);
  frequency[3] = 1;
  EXPECT_EQ(BuildHuffmanCode(frequency).SingleSymbol, -1);
}

}  // namespace
