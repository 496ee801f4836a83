#pragma once

#include <string>

// Text in the system's ANSI code page (what the files and the "A" functions
// hold) as UTF-8, for programs that read the command line's output. The
// result is always valid UTF-8: what the code page does not define becomes
// U+FFFD. POSIX has no ANSI code page; there the text is taken as
// Windows-1252, the most common one, so the result is the same everywhere.
std::string AnsiToUtf8(const std::string& text);

// The en dash (U+2013) in the ANSI code page, "-" in one without it; POSIX
// takes Windows-1252 here too.
std::string AnsiEnDash();
