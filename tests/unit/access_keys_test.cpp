#include "ui/access_keys.h"

#include <gtest/gtest.h>

namespace {

// The first letter or digit no caption before took; none when all are
// taken; a caption's own "&" doubled, so that it shows.
TEST(AccessKeysTest, EachCaptionGetsTheFirstKeyNotYetTaken) {
  EXPECT_EQ(WithAccessKeys({"Period", "DL", "UL", "DL & UL", "Time", "Limit", "Used", "12/7/2026"}),
            (std::vector<std::string>{"&Period", "&DL", "&UL", "D&L && UL", "&Time", "L&imit",
                                      "U&sed", "&12/7/2026"}));
  EXPECT_EQ(WithAccessKeys({"Date", "DL", "UL", "DL & UL"}),
            (std::vector<std::string>{"&Date", "D&L", "&UL", "DL && UL"}));
  EXPECT_EQ(WithAccessKeys({"dl", "DL", "", "--"}),
            (std::vector<std::string>{"&dl", "D&L", "", "--"}));
}

}  // namespace
