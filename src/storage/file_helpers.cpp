#include "storage/file_helpers.h"

#include "platform/files.h"

namespace {

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameChar(char maskChar, char nameChar) {
  return maskChar == '?' || LowerAscii(maskChar) == LowerAscii(nameChar);
}

}  // namespace

void EnsureFileExists(const std::string& path) {
  if (FileExists(path)) return;
  TFile::CreateNew(path);  // closed again at once; a failure changes nothing
}

void WriteTextFile(const std::string& path, const std::string& text) {
  auto file = TFile::CreateAlways(path);
  if (!file) throw EFileError("Cannot create file \"" + path + "\"");
  file->Write(text.data(), text.size());
  // On the disk before a replace puts it in place: a power cut then leaves
  // the old file or the new one, never an empty one.
  file->Flush();
  file->Close();
}

bool ReplaceFileText(const std::string& path, const std::string& text) {
  const std::string temp = path + ".tmp";
  try {
    WriteTextFile(temp, text);
  } catch (const EFileError&) {
    RemoveFile(temp);
    return false;
  }
  if (RenameReplacing(temp, path)) return true;
  RemoveFile(temp);
  return false;
}

void FindFiles(const std::string& folder, const std::string& mask,
               std::vector<std::string>& files) {
  std::string prefix = folder;
  if (prefix.empty() || prefix.back() != PathDelim) prefix += PathDelim;
  for (const TDirEntry& entry : ListDirectory(prefix))
    if (!entry.IsDirectory && MatchesMask(mask, entry.Name)) files.push_back(prefix + entry.Name);
}

bool MatchesMask(const std::string& mask, const std::string& name) {
  if (mask == "*") return true;
  size_t m = 0, n = 0;
  // The one back-track point: just after the latest "*", and the name
  // position that "*" has absorbed up to.
  size_t starMask = std::string::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      if (++m == mask.size()) return true;  // a trailing "*" takes the rest
      starMask = m;
      starName = n;
    } else if (m < mask.size() && SameChar(mask[m], name[n])) {
      ++m;
      ++n;
    } else if (starMask != std::string::npos) {
      m = starMask;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}
