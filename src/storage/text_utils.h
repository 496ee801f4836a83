#pragma once

#include <cstdint>
#include <string>

// At most maxLen characters: a longer text keeps its first maxLen - 2 and
// ends in "..".
std::string ShortenText(const std::string& text, int maxLen);

// Every occurrence of oldText, left to right and without overlap; inserted
// text is never searched again. An empty oldText changes nothing.
std::string ReplaceAll(const std::string& text, const std::string& oldText,
                       const std::string& newText);

// Removes leading and trailing blanks (code 32 only; tabs stay).
std::string TrimSpaces(const std::string& text);

// -1, 0 or 1, for sorting lists by 64-bit counts.
int CompareInt64(int64_t a, int64_t b);

// Negative, 0 or positive as a sorts before, with or after b, ASCII letters
// without regard to case.
int CompareTextIgnoringCase(const std::string& a, const std::string& b);

// A field of a comma-separated line: as it is, or in double quotes (quotes
// doubled) when it holds a blank, a control character, a quote or a comma.
std::string CsvField(const std::string& text);
