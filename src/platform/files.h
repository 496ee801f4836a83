#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/exception.h"

#ifdef _WIN32
constexpr char PathDelim = '\\';
#else
constexpr char PathDelim = '/';
#endif

// A read or write on an open file failed (disk full, device gone).
class EFileError : public Exception {
 public:
  using Exception::Exception;
};

// An open file. The open functions return nothing when the system refuses
// (missing, locked, access denied); I/O errors afterwards throw EFileError.
class TFile {
 public:
  // Reading, shared with every other reader and writer, and with deletion
  // or replacement of the file where the system allows that.
  static std::optional<TFile> OpenRead(const std::string& path);
  // Reading and writing, shared with nobody: fails while anyone else has it open.
  static std::optional<TFile> OpenExclusive(const std::string& path);
  // Creates a file that must not exist yet, for writing, shared for writing.
  static std::optional<TFile> CreateNew(const std::string& path);
  // Creates or empties a file for writing, shared with nobody.
  static std::optional<TFile> CreateAlways(const std::string& path);
  // An existing file for writing at its end, shared with readers.
  static std::optional<TFile> OpenAppend(const std::string& path);

  TFile(TFile&& other) noexcept;
  TFile& operator=(TFile&& other) noexcept;
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;
  ~TFile();

  std::string ReadAll();
  void Write(const void* data, size_t size);
  void Flush();  // to the disk, not only to the system's cache
  void Close();

 private:
  explicit TFile(intptr_t handle) : Handle(handle) {}
  static std::optional<TFile> Wrap(intptr_t handle);  // none for an invalid handle
  intptr_t Handle;
};

// A file's size and last write time, the time as finely as the system
// keeps it: another writer's change shows in one or the other, also within
// the same second and at the same length.
struct TFileStamp {
  int64_t Size = -1;      // -1: no such file (a folder does not count)
  int64_t WriteTime = 0;  // in the system's own units
  bool operator==(const TFileStamp&) const = default;
};
TFileStamp FileStamp(const std::string& path);

// True only for a file: a folder of that name does not count.
bool FileExists(const std::string& path);
// A file or a folder.
bool PathExists(const std::string& path);
bool IsReadOnly(const std::string& path);
bool MakeDirectory(const std::string& path);
bool RemoveFile(const std::string& path);

// Moves a file over another in one step, so the target is always either the
// old or the new file, also after a crash or a power cut. False when the
// system refuses (Windows does while the target is open).
bool RenameReplacing(const std::string& from, const std::string& to);

struct TDirEntry {
  std::string Name;
  bool IsDirectory = false;
};

// Every entry of a folder (hidden and system ones included) except "." and
// "..", in the file system's order. A folder that cannot be read gives none.
std::vector<TDirEntry> ListDirectory(const std::string& folder);

// The running program's full path, and its folder with a trailing PathDelim.
std::string ExePath();
std::string ExeFolder();
