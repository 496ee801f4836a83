#pragma once

#include <string>
#include <vector>

// Menu texts made of captions the program does not write itself (a list's
// column headers): each caption with an access key of its own where it has
// a digit or a letter from A to Z that the captions before it have not
// taken, the first such one; a "&" of the caption shows as it stands.
std::vector<std::string> WithAccessKeys(const std::vector<std::string>& captions);
