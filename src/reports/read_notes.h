#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a reader of the month files or the connection log could not read,
// left out or changed: one rule for the windows and the command line. A
// file that cannot be read is a failure (the command exits 1), named by its
// path while the rest is still shown; the other notes tell of damaged
// content that was read around.
struct TReadNotes {
  std::vector<std::string> UnreadableFiles;  // "PATH: REASON"
  int SkippedSections = 0;                   // sections of month files not named by a day
  int SkippedLines = 0;                      // damaged lines or parts of the log
  bool NegativeAmounts = false;              // amounts below 0 were read, counted as 0
  bool Saturated = false;                    // a sum passed the largest number and shows it

  bool Failed() const { return !UnreadableFiles.empty(); }
  // One sentence per note, as the user reads them; none when all was read.
  std::vector<std::string> Texts() const;
  void Add(const TReadNotes& other);
};

// An amount read from a file: below 0 it counts as 0, and is noted.
int64_t CountedAmount(int64_t amount, TReadNotes& notes);

// sum + amount for amounts of at least 0; at the largest number it stops,
// and that is noted.
int64_t SaturatingSum(int64_t sum, int64_t amount, TReadNotes& notes);
