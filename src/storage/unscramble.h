#pragma once

#include <string>

// Recovers a text kept in scrambled form: hexadecimal pairs, the first a seed,
// each further one a character enciphered against the previous pair and the
// key (used cyclically). Reading stops at the first pair that is not
// hexadecimal and never goes past the end; an odd last digit is ignored.
std::string UnscrambleText(const std::string& scrambled, const std::string& key);
