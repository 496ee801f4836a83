#include "reports/read_notes.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/files.h"
#include "storage/ini_syntax.h"

std::vector<std::string> TReadNotes::Texts() const {
  std::vector<std::string> texts;
  // A file read again (a window's second look) is told once.
  const auto tell = [&texts](const std::string& text) {
    if (std::find(texts.begin(), texts.end(), text) == texts.end()) texts.push_back(text);
  };
  for (const std::string& file : UnreadableFiles) tell("Not read: " + file);
  for (const std::string& file : DamagedFiles) tell("Damaged, read in part: " + file);
  if (SkippedSections > 0)
    tell(std::to_string(SkippedSections) +
         " sections of the month files are not days and were left out.");
  if (SkippedLines > 0)
    tell(std::to_string(SkippedLines) + " damaged lines of Connection.log were left out.");
  if (NegativeAmounts) tell("Amounts below 0 were read and counted as 0.");
  if (NotNumbers) tell("Amounts that are not numbers were read as 0.");
  if (Saturated)
    tell("A total passed the largest number that can be counted, and shows that number.");
  return texts;
}

void TReadNotes::Add(const TReadNotes& other) {
  UnreadableFiles.insert(UnreadableFiles.end(), other.UnreadableFiles.begin(),
                         other.UnreadableFiles.end());
  DamagedFiles.insert(DamagedFiles.end(), other.DamagedFiles.begin(), other.DamagedFiles.end());
  SkippedSections += other.SkippedSections;
  SkippedLines += other.SkippedLines;
  NegativeAmounts = NegativeAmounts || other.NegativeAmounts;
  NotNumbers = NotNumbers || other.NotNumbers;
  Saturated = Saturated || other.Saturated;
}

std::unique_ptr<TIniFile32> ReadIniFile(const std::string& path, TReadNotes& notes) {
  if (!PathExists(path)) return nullptr;
  if (!FileExists(path)) {
    notes.UnreadableFiles.push_back(path + ": is a folder");
    return nullptr;
  }
  auto file = std::make_unique<TIniFile32>(path, false);
  file->Refresh();
  if (!file->Loaded()) {
    notes.UnreadableFiles.push_back(path + ": " + file->LastLoadError());
    return nullptr;
  }
  NoteDamage(*file, notes);
  return file;
}

void NoteDamage(const TIniFile32& file, TReadNotes& notes) {
  if (file.Damaged()) notes.DamagedFiles.push_back(file.FileName() + ": " + file.LastLoadError());
}

int64_t ReadAmount(TIniFile32& file, const std::string& section, const std::string& key,
                   TReadNotes& notes) {
  const std::string text = file.ReadString(section, key, "");
  if (text.empty()) return 0;
  const std::optional<int64_t> amount = ParseInteger(text, 64);
  if (!amount) {
    notes.NotNumbers = true;
    return 0;
  }
  if (*amount < 0) {
    notes.NegativeAmounts = true;
    return 0;
  }
  return *amount;
}

int64_t SaturatingSum(int64_t sum, int64_t amount, TReadNotes& notes) {
  if (sum > INT64_MAX - amount) {
    notes.Saturated = true;
    return INT64_MAX;
  }
  return sum + amount;
}
