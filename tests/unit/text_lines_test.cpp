#include "storage/text_lines.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(TextLinesTest, AnyLineBreakEndsALine) {
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("a"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\r\n"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitLines("\n\n"), (Lines{"", ""}));
  EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF CR is two breaks
  EXPECT_EQ(SplitLines("a\r"), Lines{"a"});
}

TEST(TextLinesTest, NulEndsTheText) {
  EXPECT_EQ(SplitLines(std::string("a\r\nb\0c\r\n", 9)), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines(std::string("[S]\r\n\0\0\0", 8)), Lines{"[S]"});
  EXPECT_EQ(SplitLines(std::string("\0a", 2)), Lines{});
}

TEST(TextLinesTest, JoinPutsCrLfAfterEveryLine) {
  EXPECT_EQ(JoinLines({}), "");
  EXPECT_EQ(JoinLines({""}), "\r\n");
  EXPECT_EQ(JoinLines({"[S]", "K=V"}), "[S]\r\nK=V\r\n");
  const Lines lines = {"[46357]", "Hours=3600", "", "[46358]"};
  EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

}  // namespace
