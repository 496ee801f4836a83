#include "storage/unscramble.h"

#include <optional>

namespace {

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

std::optional<int> HexPair(const std::string& text, size_t at) {
  const auto high = HexDigit(text[at]);
  const auto low = HexDigit(text[at + 1]);
  if (!high || !low) return std::nullopt;
  return *high * 16 + *low;
}

}  // namespace

std::string UnscrambleText(const std::string& scrambled, const std::string& key) {
  std::string clear;
  if (scrambled.size() < 4) return clear;  // nothing beyond the seed pair
  auto prev = HexPair(scrambled, 0);
  size_t keyPos = 0;
  // Each step needs a whole pair: stop when fewer than two digits remain.
  for (size_t at = 2; prev && at + 1 < scrambled.size(); at += 2) {
    const auto value = HexPair(scrambled, at);
    if (!value) break;
    const int keyByte = key.empty() ? 0 : static_cast<unsigned char>(key[keyPos++ % key.size()]);
    const int b = *value ^ keyByte;
    clear += static_cast<char>(b > *prev ? b - *prev : b - *prev + 255);
    prev = value;
  }
  return clear;
}
