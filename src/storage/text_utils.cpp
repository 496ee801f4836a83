#include "storage/text_utils.h"

#include <cctype>

std::string ShortenText(const std::string& text, int maxLen) {
  const size_t limit = maxLen > 0 ? static_cast<size_t>(maxLen) : 0;
  if (text.size() <= limit) return text;
  // A limit too small for the dots still must not be exceeded.
  if (limit < 2) return text.substr(0, limit);
  return text.substr(0, limit - 2) + "..";
}

std::string ReplaceAll(const std::string& text, const std::string& oldText,
                       const std::string& newText) {
  if (oldText.empty() || oldText == newText) return text;
  std::string result;
  size_t from = 0;
  for (size_t at; (at = text.find(oldText, from)) != std::string::npos; from = at + oldText.size())
    result.append(text, from, at - from).append(newText);
  return result.append(text, from, std::string::npos);
}

std::string TrimSpaces(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

int CompareInt64(int64_t a, int64_t b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

int CompareTextIgnoringCase(const std::string& a, const std::string& b) {
  const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return lower(a[i]) - lower(b[i]);
  return CompareInt64(static_cast<int64_t>(a.size()), static_cast<int64_t>(b.size()));
}

std::string CsvField(const std::string& text) {
  bool quote = false;
  for (char c : text) quote = quote || static_cast<unsigned char>(c) <= ' ' || c == '"' || c == ',';
  if (!quote) return text;
  std::string field = "\"";
  for (char c : text) field += c == '"' ? std::string("\"\"") : std::string(1, c);
  return field + "\"";
}
