#include "storage/ini_file.h"

#include <chrono>
#include <thread>

#include "platform/files.h"
#include "platform/tick_count.h"
#include "storage/container_format.h"
#include "storage/file_helpers.h"
#include "storage/ini_syntax.h"
#include "storage/text_lines.h"

namespace {

// Another object's write shows up at most this often (milliseconds).
constexpr uint32_t kOutsideCheckInterval = 15;
// A writer that finds the file in use tries once more after this long.
constexpr auto kRetryDelay = std::chrono::milliseconds(800);

// Text after a NUL byte that is more than NUL padding: the lines end at the
// NUL, so saving them would lose it.
bool HasTextAfterNul(std::string_view text) {
  const size_t nul = text.find('\0');
  return nul != std::string_view::npos &&
         text.find_first_not_of('\0', nul) != std::string_view::npos;
}

template <typename TAttempt>
auto WithOneRetry(TAttempt attempt) {
  if (auto result = attempt()) return result;
  std::this_thread::sleep_for(kRetryDelay);
  return attempt();
}

// Opens the file for writing, shared with nobody, which keeps other writers
// out. A read-only file is given up at once.
std::optional<TFile> LockForWriting(const std::string& path) {
  if (IsReadOnly(path)) return std::nullopt;
  return WithOneRetry([&] { return TFile::OpenExclusive(path); });
}

}  // namespace

TIniFile32::TIniFile32(const std::string& fileName, bool cacheUpdates)
    : FFileName(fileName),
      FCacheUpdates(cacheUpdates),
      FCanSave(!PathExists(fileName)),
      FLastCheck(TickCount()) {}

TIniFile32::~TIniFile32() {
  if (FModified && (FCacheUpdates || BatchUpdate)) {
    BatchUpdate = false;
    try {
      SaveFile();
    } catch (const std::exception&) {
      // Nowhere to report it; the file on disk still holds its last content.
    }
  }
}

// --- Reading and writing the file ---

void TIniFile32::Refresh() {
  if (!FCanSave || !FLoaded) LoadFile();
  if (BatchUpdate) return;
  const uint32_t now = TickCount();
  if (now - FLastCheck < kOutsideCheckInterval) return;
  FLastCheck = now;
  ReloadIfChanged();
}

// Cached changes not yet saved are not merged with another writer's: they
// keep the file as this object has it until they are saved.
void TIniFile32::ReloadIfChanged() {
  if (FCacheUpdates && FModified) return;
  const TFileStamp stamp = FileStamp(FFileName);
  if (stamp.Size != -1 && stamp != FFileAgeSeen) LoadFile();
}

void TIniFile32::Revert() {
  FModified = false;
  LoadFile();
}

void TIniFile32::LoadFile() {
  EnsureFileExists(FFileName);
  FCanSave = false;
  // Taken before the read: a change made while reading shows as one later.
  const TFileStamp stamp = FileStamp(FFileName);
  auto file = TFile::OpenRead(FFileName);
  FDamaged = false;
  if (!file) {
    FLastLoadError = "the file cannot be opened";
    return;
  }
  try {
    const std::string bytes = file->ReadAll();
    const std::string text = IsContainer(bytes) ? ReadContainer(bytes, Password) : bytes;
    // A mark left by an editor would hide the first section's header.
    FLines = SplitLines(WithoutByteOrderMark(text));
    FLoaded = true;
    FCanSave = true;
    FLastLoadError.clear();
    if (HasTextAfterNul(text)) {
      FLastLoadError = "a NUL byte cuts its text short";
      FDamaged = true;
    }
  } catch (const std::exception& e) {
    // The lines stay as they were, and the file is left alone.
    FLastLoadError = e.what();
    FDamaged = true;
  }
  file->Close();
  FFileAgeSeen = stamp;
  FModified = false;
  InvalidateIndex();
}

void TIniFile32::SaveFile() {
  if (BatchUpdate || !FCanSave) return;
  TidyBlankLines();
  EnsureFileExists(FFileName);
  // Giving up leaves Modified set: the next change or the destructor tries again.
  if (!WriteAndReplace(FileBytes())) return;
  FFileAgeSeen = FileStamp(FFileName);
  FModified = false;
}

// The new content goes to a file beside the old one, reaches the disk, and
// then takes the old one's place in one step: a crash, a power cut or a full
// disk at any moment leaves either the old or the new file, never a mix.
bool TIniFile32::WriteAndReplace(const std::string& bytes) {
  auto lock = LockForWriting(FFileName);
  if (!lock) return false;
  const std::string temp = FFileName + ".tmp";
  auto file = TFile::CreateAlways(temp);
  if (!file) return false;
  try {
    file->Write(bytes.data(), bytes.size());
    file->Flush();
  } catch (...) {
    file->Close();
    RemoveFile(temp);
    throw;
  }
  file->Close();
  // The lock must go first: Windows does not replace a file that is open. A
  // reader that has it open this moment holds the replace up for as long.
  lock->Close();
  if (!WithOneRetry([&] { return RenameReplacing(temp, FFileName); })) {
    RemoveFile(temp);
    return false;
  }
  return true;
}

std::string TIniFile32::FileBytes() const {
  std::string text = JoinLines(FLines);
  auto container = WriteContainer(text, Compressed, Encrypted, Password);
  return container ? std::move(*container) : text;
}

// At most one empty line at the end and none at the start.
void TIniFile32::TidyBlankLines() {
  if (FLines.size() <= 2) return;
  const size_t before = FLines.size();
  while (FLines.size() > 1 && FLines.back().empty() && FLines[FLines.size() - 2].empty())
    FLines.pop_back();
  if (FLines.front().empty()) FLines.erase(FLines.begin());
  if (FLines.size() != before) InvalidateIndex();
}

void TIniFile32::Changed() {
  FModified = true;
  if (!FCacheUpdates) SaveFile();
}

void TIniFile32::SetCacheUpdates(bool value) {
  if (value == FCacheUpdates) return;
  if (value) {
    Refresh();
    FCacheUpdates = true;
  } else {
    FCacheUpdates = false;
    if (FModified) SaveFile();
  }
}

void TIniFile32::UpdateFile() {
  if (FCacheUpdates) SaveFile();
}

void TIniFile32::SetText(std::string_view text) {
  FLines = SplitLines(text);
  InvalidateIndex();
  Changed();
}

// --- Sections and keys ---

int TIniFile32::FindSection(const std::string& section) {
  if (!FIndexValid) {
    FSectionIndex.clear();
    for (int i = 0; i < static_cast<int>(FLines.size()); ++i)
      if (IsSectionHeader(FLines[i])) FSectionIndex.emplace(FoldCase(FLines[i]), i);  // first wins
    FIndexValid = true;
  }
  const auto found = FSectionIndex.find(FoldCase("[" + section + "]"));
  return found == FSectionIndex.end() ? -1 : found->second;
}

int TIniFile32::SectionEnd(int header) const {
  int line = header + 1;
  while (line < static_cast<int>(FLines.size()) && !IsSectionHeader(FLines[line])) ++line;
  return line;
}

int TIniFile32::FindKey(int header, const std::string& ident) const {
  const int end = SectionEnd(header);
  for (int line = header + 1; line < end; ++line) {
    const auto key = KeyOfLine(FLines[line]);
    if (key && SameKey(*key, ident)) return line;
  }
  return -1;
}

std::string TIniFile32::ReadString(const std::string& section, const std::string& ident,
                                   const std::string& defaultValue) {
  Refresh();
  const int header = FindSection(section);
  const int line = header < 0 ? -1 : FindKey(header, ident);
  if (line < 0) return defaultValue;
  const std::string& text = FLines[line];
  const std::string value = text.substr(text.find('=') + 1);
  return value.empty() ? defaultValue : value;
}

int32_t TIniFile32::ReadInteger(const std::string& section, const std::string& ident,
                                int32_t defaultValue, bool deleteAfterRead) {
  const auto value = ParseInteger(ReadString(section, ident, ""), 32);
  if (deleteAfterRead) DeleteKey(section, ident);
  return value ? static_cast<int32_t>(*value) : defaultValue;
}

int64_t TIniFile32::ReadInt64(const std::string& section, const std::string& ident,
                              int64_t defaultValue) {
  return ParseInteger(ReadString(section, ident, ""), 64).value_or(defaultValue);
}

bool TIniFile32::ReadBool(const std::string& section, const std::string& ident, bool defaultValue,
                          bool deleteAfterRead) {
  const bool value = ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
  if (deleteAfterRead) DeleteKey(section, ident);
  return value;
}

void TIniFile32::WriteString(const std::string& section, const std::string& ident,
                             const std::string& value) {
  if (section.empty() || ident.empty()) return;
  Refresh();
  const std::string newLine = ident + "=" + value;
  const int header = FindSection(section);
  if (header < 0) {
    if (!FLines.empty() && !FLines.back().empty()) FLines.emplace_back();
    FLines.push_back("[" + section + "]");
    FLines.push_back(newLine);
    InvalidateIndex();
  } else if (const int line = FindKey(header, ident); line >= 0) {
    if (FLines[line] == newLine) return;  // unchanged: the file is not written
    FLines[line] = newLine;
  } else {
    int at = SectionEnd(header);
    if (at == static_cast<int>(FLines.size())) {
      // The last section: after the last line with text, before trailing empty lines.
      while (FLines[at - 1].empty()) --at;
    } else if (FLines[at - 1].empty()) {
      --at;  // keep the empty line that separates it from the next section
    }
    FLines.insert(FLines.begin() + at, newLine);
    InvalidateIndex();
  }
  Changed();
}

void TIniFile32::WriteInteger(const std::string& section, const std::string& ident, int32_t value) {
  WriteString(section, ident, std::to_string(value));
}

void TIniFile32::WriteInt64(const std::string& section, const std::string& ident, int64_t value) {
  WriteString(section, ident, std::to_string(value));
}

void TIniFile32::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

void TIniFile32::DeleteKey(const std::string& section, const std::string& ident) {
  Refresh();
  const int header = FindSection(section);
  const int line = header < 0 ? -1 : FindKey(header, ident);
  if (line < 0) return;
  FLines.erase(FLines.begin() + line);
  InvalidateIndex();
  Changed();
}

bool TIniFile32::SectionExists(const std::string& section) {
  Refresh();
  return FindSection(section) != -1;
}

std::vector<std::string> TIniFile32::ReadSection(const std::string& section) {
  Refresh();
  std::vector<std::string> keys;
  const int header = FindSection(section);
  if (header < 0) return keys;
  const int end = SectionEnd(header);
  for (int line = header + 1; line < end; ++line) {
    const auto key = KeyOfLine(FLines[line]);
    if (key && !key->empty()) keys.push_back(*key);
  }
  return keys;
}

std::vector<std::string> TIniFile32::ReadSections() {
  Refresh();
  std::vector<std::string> names;
  for (const std::string& line : FLines)
    if (IsSectionHeader(line)) names.push_back(SectionName(line));
  return names;
}
