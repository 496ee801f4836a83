#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

// The sections-and-keys text file behind "settings.ini" and the month files.
// The whole file lives in memory; reads are answered from there, and changes
// are saved at once or, with cached updates, when the owner asks. A change
// made by another object or process shows up through the file's size and
// time stamp. A file that could not be read is never written over.
class TIniFile32 {
 public:
  TIniFile32(const std::string& fileName, bool cacheUpdates);
  ~TIniFile32();
  TIniFile32(const TIniFile32&) = delete;
  TIniFile32& operator=(const TIniFile32&) = delete;

  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& defaultValue);
  int32_t ReadInteger(const std::string& section, const std::string& ident, int32_t defaultValue,
                      bool deleteAfterRead = false);
  int64_t ReadInt64(const std::string& section, const std::string& ident, int64_t defaultValue);
  bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue,
                bool deleteAfterRead = false);

  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& ident, int32_t value);
  void WriteInt64(const std::string& section, const std::string& ident, int64_t value);
  void WriteBool(const std::string& section, const std::string& ident, bool value);
  void DeleteKey(const std::string& section, const std::string& ident);

  bool SectionExists(const std::string& section);
  // The keys of a section, in file order.
  std::vector<std::string> ReadSection(const std::string& section);
  // The names of all section headers, in file order, duplicates included.
  std::vector<std::string> ReadSections();

  bool CacheUpdates() const { return FCacheUpdates; }
  void SetCacheUpdates(bool value);
  // With cached updates: saves now.
  void UpdateFile();
  // Loads the file if it never loaded, and again when another writer changed
  // it (checked at most every 15 ms, and with cached updates only while no
  // change waits to be saved).
  void Refresh();
  // Loads the file again now when another writer changed it since it was
  // read or saved, unless cached changes wait to be saved.
  void ReloadIfChanged();

  const std::string& FileName() const { return FFileName; }
  const std::vector<std::string>& Lines() const { return FLines; }
  // Replaces the lines with those of a text: a change, saved as any other.
  void SetText(std::string_view text);

  bool Modified() const { return FModified; }
  bool Loaded() const { return FLoaded; }
  bool CanSave() const { return FCanSave; }
  // Why the last load failed; empty after a load that succeeded.
  const std::string& LastLoadError() const { return FLastLoadError; }
  // The last load read the file but could not make sense of it (a damaged
  // container, or the wrong password), or of all of it: text after a NUL
  // byte, which ends the lines (they hold what came before it, and a save
  // would lose the rest). A file that could not be opened is not damaged.
  bool Damaged() const { return FDamaged; }
  // Drops the changes not yet saved and reads the file again.
  void Revert();

  // While set, saving and the outside-change check are skipped.
  bool BatchUpdate = false;
  // Write the container form: compressed, and/or enciphered with Password.
  bool Compressed = false;
  bool Encrypted = false;
  std::string Password;

 private:
  void LoadFile();
  void SaveFile();
  bool WriteAndReplace(const std::string& bytes);
  std::string FileBytes() const;
  void TidyBlankLines();
  void Changed();

  int FindSection(const std::string& section);
  int SectionEnd(int header) const;
  int FindKey(int header, const std::string& ident) const;
  void InvalidateIndex() { FIndexValid = false; }

  std::string FFileName;
  std::vector<std::string> FLines;
  bool FCacheUpdates;
  bool FModified = false;
  bool FLoaded = false;
  bool FCanSave;
  TFileStamp FFileAgeSeen;  // as last loaded or saved
  uint32_t FLastCheck;
  std::string FLastLoadError;
  bool FDamaged = false;
  // Header lines as they stand, folded for comparison without regard to
  // case, each with the line number of its first occurrence.
  std::map<std::string, int> FSectionIndex;
  bool FIndexValid = false;
};
