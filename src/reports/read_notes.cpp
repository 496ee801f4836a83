#include "reports/read_notes.h"

#include <cstdint>

std::vector<std::string> TReadNotes::Texts() const {
  std::vector<std::string> texts;
  for (const std::string& file : UnreadableFiles) texts.push_back("Not read: " + file);
  if (SkippedSections > 0)
    texts.push_back(std::to_string(SkippedSections) +
                    " sections of the month files are not days and were left out.");
  if (SkippedLines > 0)
    texts.push_back(std::to_string(SkippedLines) +
                    " damaged lines of Connection.log were left out.");
  if (NegativeAmounts) texts.push_back("Amounts below 0 were read and counted as 0.");
  if (Saturated)
    texts.push_back(
        "A total passed the largest number that can be counted, and shows that number.");
  return texts;
}

void TReadNotes::Add(const TReadNotes& other) {
  UnreadableFiles.insert(UnreadableFiles.end(), other.UnreadableFiles.begin(),
                         other.UnreadableFiles.end());
  SkippedSections += other.SkippedSections;
  SkippedLines += other.SkippedLines;
  NegativeAmounts = NegativeAmounts || other.NegativeAmounts;
  Saturated = Saturated || other.Saturated;
}

int64_t CountedAmount(int64_t amount, TReadNotes& notes) {
  if (amount >= 0) return amount;
  notes.NegativeAmounts = true;
  return 0;
}

int64_t SaturatingSum(int64_t sum, int64_t amount, TReadNotes& notes) {
  if (sum > INT64_MAX - amount) {
    notes.Saturated = true;
    return INT64_MAX;
  }
  return sum + amount;
}
