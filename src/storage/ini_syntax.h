#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How the lines and values of a sections-and-keys file read.

// "[" first (no blank before it), and, trimmed of blanks, at least three
// characters ending in "]".
bool IsSectionHeader(std::string_view line);
// The name between the brackets of a header line, trimmed of blanks.
std::string SectionName(std::string_view header);
// The key of a key line (the text before its first "=", trimmed); nothing
// for a line without "=".
std::optional<std::string> KeyOfLine(std::string_view line);
// ASCII letters compared without regard to case, everything else exactly.
bool SameKey(std::string_view a, std::string_view b);
// Letters of the Windows Latin-1 code page folded to lower case: the form in
// which section headers are compared.
std::string FoldCase(std::string_view text);

// An integer value as the platform reads one: optional leading blanks, an
// optional sign, then decimal digits, or hexadecimal digits after "$", "x"
// or a leading "0x"; nothing may follow. Decimal values must fit a signed
// number of the given width; hexadecimal ones may use all its bits ($FFFFFFFF
// is -1 for 32 bits). Nothing for anything else.
std::optional<int64_t> ParseInteger(std::string_view text, int bits);
