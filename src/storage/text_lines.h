#pragma once

#include <string>
#include <string_view>
#include <vector>

// The lines of a text: CR, LF or CR LF ends a line, a NUL byte ends the text,
// and a last line without a line break still counts.
std::vector<std::string> SplitLines(std::string_view text);
// The lines of a text written with CR LF after each, as the connection log
// is: only CR LF ends a line, and a NUL byte or a lone CR stays in its line.
std::vector<std::string> SplitCrLfLines(std::string_view text);
// The text without the UTF-8 byte order mark an editor may put first.
std::string_view WithoutByteOrderMark(std::string_view text);
// The lines, each followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);
