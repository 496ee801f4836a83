#include "storage/unscramble.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// The enciphering counterpart, as the text was produced: after a seed byte,
// each character becomes ((previous + character) mod 255) xor key byte.
std::string Scramble(const std::string& clear, const std::string& key, int seed) {
  char pair[3];
  std::snprintf(pair, sizeof pair, "%02X", seed);
  std::string out = pair;
  int prev = seed;
  for (size_t i = 0; i < clear.size(); ++i) {
    const int c = static_cast<unsigned char>(clear[i]);
    const int v = ((prev + c) % 255) ^ static_cast<unsigned char>(key[i % key.size()]);
    std::snprintf(pair, sizeof pair, "%02X", v);
    out += pair;
    prev = v;
  }
  return out;
}

const std::string kKey = "\x11\xA7\x03\x5C\xE0\x7F";

TEST(UnscrambleTextTest, ReversesScramblingForEverySeed) {
  const std::string clear = "https://tallyline.example/ Tallyline v1.43";
  for (int seed = 0; seed < 255; ++seed)
    ASSERT_EQ(UnscrambleText(Scramble(clear, kKey, seed), kKey), clear) << "seed " << seed;
}

TEST(UnscrambleTextTest, AcceptsEitherLetterCase) {
  std::string lower = Scramble("About", kKey, 0xAB);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(UnscrambleText(lower, kKey), "About");
}

TEST(UnscrambleTextTest, EmptyAndSeedOnlyGiveNothing) {
  EXPECT_EQ(UnscrambleText("", kKey), "");
  EXPECT_EQ(UnscrambleText("7F", kKey), "");
  EXPECT_EQ(UnscrambleText("7", kKey), "");
  EXPECT_EQ(UnscrambleText("7F1", kKey), "");
}

TEST(UnscrambleTextTest, DamagedInputStopsWithoutReadingPastTheEnd) {
  const std::string scrambled = Scramble("abcdef", kKey, 0x42);
  // An odd trailing digit is ignored.
  EXPECT_EQ(UnscrambleText(scrambled + "A", kKey), "abcdef");
  // Decoding stops at the first pair that is not hexadecimal.
  std::string broken = scrambled;
  broken[8] = 'G';
  EXPECT_EQ(UnscrambleText(broken, kKey), "abc");
  EXPECT_EQ(UnscrambleText("zz0102", kKey), "");
  // Cut copies of the text, each its own allocation so a sanitizer sees any
  // read past its end.
  for (size_t n = 0; n <= scrambled.size(); ++n) {
    const std::string cut(scrambled.data(), n);
    EXPECT_EQ(UnscrambleText(cut, kKey), std::string("abcdef").substr(0, n < 2 ? 0 : (n - 2) / 2));
  }
}

TEST(UnscrambleTextTest, EmptyKeyLeavesBytesUnmixed) {
  std::string scrambled = "00";
  int prev = 0;
  for (char c : std::string("hi")) {
    prev = (prev + c) % 255;
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", prev);
    scrambled += pair;
  }
  EXPECT_EQ(UnscrambleText(scrambled, ""), "hi");
}

}  // namespace
