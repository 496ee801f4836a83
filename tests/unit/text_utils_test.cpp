#include "storage/text_utils.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ShortenTextTest, KeepsShortTextsAndCutsLongOnesToTheLimit) {
  const std::string sixtyFour(64, 'x');
  EXPECT_EQ(ShortenText(sixtyFour, 64), sixtyFour);
  const std::string sixtyFive = std::string(62, 'a') + "bcd";
  EXPECT_EQ(ShortenText(sixtyFive, 64), std::string(62, 'a') + "..");
  EXPECT_EQ(ShortenText("abc", 2), "..");
  // Limits too small for the dots never give a longer text.
  EXPECT_EQ(ShortenText("abc", 1), "a");
  EXPECT_EQ(ShortenText("abc", 0), "");
  EXPECT_EQ(ShortenText("abc", -5), "");
  EXPECT_EQ(ShortenText("", 0), "");
}

TEST(ReplaceAllTest, ReplacesLeftToRightWithoutRescanning) {
  EXPECT_EQ(ReplaceAll("C:\\Tools\\net\\prog.exe", "\\", ""), "C:Toolsnetprog.exe");
  EXPECT_EQ(ReplaceAll("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAll("abc", "b", "bb"), "abbc");  // inserted text is not searched
  EXPECT_EQ(ReplaceAll("abc", "B", "x"), "abc");    // case-sensitive
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAll("abc", "b", "b"), "abc");
  EXPECT_EQ(ReplaceAll("", "a", "b"), "");
  EXPECT_EQ(ReplaceAll("xax", "x", ""), "a");
}

TEST(TrimSpacesTest, RemovesOnlyBlanks) {
  EXPECT_EQ(TrimSpaces("  Rate "), "Rate");
  EXPECT_EQ(TrimSpaces("\tRate\t"), "\tRate\t");
  EXPECT_EQ(TrimSpaces("   "), "");
  EXPECT_EQ(TrimSpaces(""), "");
  EXPECT_EQ(TrimSpaces(" a b "), "a b");
}

TEST(CompareInt64Test, OrdersTheWholeSignedRange) {
  EXPECT_EQ(CompareInt64(INT64_MIN, INT64_MAX), -1);
  EXPECT_EQ(CompareInt64(INT64_MAX, INT64_MIN), 1);
  EXPECT_EQ(CompareInt64(-1, -1), 0);
  EXPECT_EQ(CompareInt64(0, -1), 1);
  // Values far apart in the high word, close in the low word.
  EXPECT_EQ(CompareInt64(0x100000000LL, 0xFFFFFFFFLL), 1);
}

}  // namespace
