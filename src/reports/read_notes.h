#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "storage/ini_file.h"

// What a reader of the month files or the connection log could not read,
// left out or changed: one rule for the windows and the command line. A
// file that cannot be read, or only in part, is a failure (the command
// exits 1), named by its path while the rest is still shown; the other
// notes tell of damaged content that was read around.
struct TReadNotes {
  std::vector<std::string> UnreadableFiles;  // "PATH: REASON"
  std::vector<std::string> DamagedFiles;     // "PATH: REASON", read up to the damage
  int SkippedSections = 0;                   // sections of month files not named by a day
  int SkippedLines = 0;                      // damaged lines or parts of the log
  bool NegativeAmounts = false;              // amounts below 0 were read, counted as 0
  bool NotNumbers = false;                   // amounts that are not numbers, read as 0
  bool Saturated = false;                    // a sum passed the largest number and shows it

  bool Failed() const { return !UnreadableFiles.empty() || !DamagedFiles.empty(); }
  // One sentence per note, each once, as the user reads them; none when all
  // was read.
  std::vector<std::string> Texts() const;
  void Add(const TReadNotes& other);
};

// A settings or month file opened to be read as the program reads it; none
// when there is none, as a reader makes no file. A folder in its place, or
// a file that cannot be read, is noted and gives none; text after a NUL
// byte is noted as damage, and the lines before it are read.
std::unique_ptr<TIniFile32> ReadIniFile(const std::string& path, TReadNotes& notes);
// Notes a loaded file as damaged when its text goes on after a NUL byte.
void NoteDamage(const TIniFile32& file, TReadNotes& notes);

// An amount of a section read from a file: 0 without the key; a value that
// is not a number, or is below 0, counts as 0 and is noted.
int64_t ReadAmount(TIniFile32& file, const std::string& section, const std::string& key,
                   TReadNotes& notes);

// sum + amount for amounts of at least 0; at the largest number it stops,
// and that is noted.
int64_t SaturatingSum(int64_t sum, int64_t amount, TReadNotes& notes);
