#pragma once

#include <string>
#include <vector>

// Creates an empty file at path unless a file is there already. An existing
// file is never opened; a failure (missing folder, no access) is ignored.
void EnsureFileExists(const std::string& path);

// Writes text to path, replacing any file there. Throws EFileError with the
// reason when the file cannot be created or written.
void WriteTextFile(const std::string& path, const std::string& text);

// Writes text to "PATH.tmp" beside path, and puts that in path's place in
// one step: a reader sees the old file or the new one, never part of one.
// False when either step fails (the temporary file is then gone).
bool ReplaceFileText(const std::string& path, const std::string& text);

// Appends folder + name for every file (not sub-folder) of folder whose name
// matches mask, in the file system's order.
void FindFiles(const std::string& folder, const std::string& mask, std::vector<std::string>& files);

// Wildcard match over the whole name: "*" any run, "?" one character, ASCII
// letters without regard to case. Time is linear in the product of the two
// lengths at worst, never exponential.
bool MatchesMask(const std::string& mask, const std::string& name);
