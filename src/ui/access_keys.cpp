#include "ui/access_keys.h"

#include <cctype>
#include <set>

namespace {

// Other letters are keys on some keyboards only.
bool IsKey(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::vector<std::string> WithAccessKeys(const std::vector<std::string>& captions) {
  std::set<int> taken;
  std::vector<std::string> texts;
  for (const std::string& caption : captions) {
    std::string text;
    bool keyed = false;
    for (const char c : caption) {
      if (!keyed && IsKey(c) && taken.insert(std::toupper(c)).second) {
        text += '&';
        keyed = true;
      }
      text += c == '&' ? "&&" : std::string(1, c);
    }
    texts.push_back(text);
  }
  return texts;
}
