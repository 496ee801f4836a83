#include <windows.h>

#include "platform/ansi_text.h"

namespace {

bool IsHighSurrogate(wchar_t c) {
  return c >= 0xD800 && c < 0xDC00;
}
bool IsLowSurrogate(wchar_t c) {
  return c >= 0xDC00 && c < 0xE000;
}

}  // namespace

std::string AnsiToUtf8(const std::string& text) {
  const int size = static_cast<int>(text.size());
  const int wideSize = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (wideSize <= 0) return {};
  std::wstring wide(wideSize, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), wideSize);
  // Where the ANSI code page is UTF-8, bytes that are not can leave half a
  // surrogate pair, which older systems would write out as invalid UTF-8.
  for (size_t i = 0; i < wide.size(); ++i) {
    if (IsHighSurrogate(wide[i]) && i + 1 < wide.size() && IsLowSurrogate(wide[i + 1]))
      ++i;
    else if (IsHighSurrogate(wide[i]) || IsLowSurrogate(wide[i]))
      wide[i] = 0xFFFD;
  }
  const int utf8Size =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
  if (utf8Size <= 0) return {};
  std::string utf8(utf8Size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, utf8.data(), utf8Size, nullptr, nullptr);
  return utf8;
}

std::string AnsiEnDash() {
  const wchar_t dash = 0x2013;
  char text[8];
  BOOL lost = FALSE;
  // A UTF-8 code page has every character, and takes no question about it.
  const bool utf8 = GetACP() == CP_UTF8;
  const int size = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, &dash, 1, text,
                                       sizeof text, nullptr, utf8 ? nullptr : &lost);
  return size > 0 && !lost ? std::string(text, size) : "-";
}
