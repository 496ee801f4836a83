#include "setup/product_links.h"

#include "storage/unscramble.h"

std::string LogoAddress() {
  return UnscrambleText(kLogoAddressScrambled, kLogoAddressKey);
}
