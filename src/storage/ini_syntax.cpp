#include "storage/ini_syntax.h"

#include "storage/text_utils.h"

bool IsSectionHeader(std::string_view line) {
  if (line.empty() || line[0] != '[') return false;
  const std::string trimmed = TrimSpaces(std::string(line));
  return trimmed.size() >= 3 && trimmed.back() == ']';
}

std::string SectionName(std::string_view header) {
  const std::string trimmed = TrimSpaces(std::string(header));
  return TrimSpaces(trimmed.substr(1, trimmed.size() - 2));
}

std::optional<std::string> KeyOfLine(std::string_view line) {
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return TrimSpaces(std::string(line.substr(0, eq)));
}

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
    const char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] + 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    const auto u = static_cast<unsigned char>(c);
    // A-Z, and the accented capitals from 0xC0 except the multiplication sign.
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
      c = static_cast<char>(u + 32);
    else if (u == 0x8A || u == 0x8C || u == 0x8E)  // S, OE, Z with caron
      c = static_cast<char>(u + 16);
    else if (u == 0x9F)  // Y with diaeresis
      c = static_cast<char>(0xFF);
  }
  return folded;
}

std::optional<int64_t> ParseInteger(std::string_view text, int bits) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text.remove_prefix(1);
  size_t at = text.find_first_not_of(' ');
  if (at == std::string_view::npos) return std::nullopt;
  const bool negative = text[at] == '-';
  if (text[at] == '-' || text[at] == '+') ++at;
  const bool hex = at < text.size() && (text[at] == '$' || text[at] == 'x' || text[at] == 'X');
  if (hex) ++at;
  if (at == text.size()) return std::nullopt;

  const uint64_t hexLimit = bits == 64 ? UINT64_MAX : (uint64_t{1} << bits) - 1;
  const uint64_t decimalLimit = (uint64_t{1} << (bits - 1)) - (negative ? 0 : 1);
  const uint64_t limit = hex ? hexLimit : decimalLimit;
  const unsigned base = hex ? 16 : 10;
  uint64_t value = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    unsigned digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::nullopt;
    if (value > (limit - digit) / base) return std::nullopt;
    value = value * base + digit;
  }
  if (negative) value = 0 - value;
  // Wrap into the signed range of the width (hexadecimal may set the top bit).
  if (bits < 64) {
    value &= hexLimit;
    if (value >> (bits - 1)) value -= uint64_t{1} << bits;
  }
  return static_cast<int64_t>(value);
}
