#include "setup/product_links.h"

#include <gtest/gtest.h>

namespace {

TEST(ProductLinksTest, LogoAddressUnscramblesToItsPage) {
  EXPECT_EQ(LogoAddress(), "https://tallyline.example/logo");
}

}  // namespace
