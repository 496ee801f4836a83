#include <windows.h>

#include "platform/files.h"

namespace {

HANDLE H(intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

intptr_t Open(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE h = CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  return reinterpret_cast<intptr_t>(h);
}

[[noreturn]] void Fail(const char* what) {
  throw EFileError(std::string(what) + " (system error " + std::to_string(GetLastError()) + ")");
}

}  // namespace

std::optional<TFile> TFile::Wrap(intptr_t handle) {
  if (H(handle) == INVALID_HANDLE_VALUE) return std::nullopt;
  return TFile(handle);
}

std::optional<TFile> TFile::OpenRead(const std::string& path) {
  return Wrap(Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                   OPEN_EXISTING));
}

std::optional<TFile> TFile::OpenExclusive(const std::string& path) {
  return Wrap(Open(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING));
}

std::optional<TFile> TFile::CreateNew(const std::string& path) {
  return Wrap(Open(path, GENERIC_WRITE, FILE_SHARE_WRITE, CREATE_NEW));
}

std::optional<TFile> TFile::OpenAppend(const std::string& path) {
  // Full write access, as flushing needs it, and the position at the end.
  auto file = Wrap(Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
  if (file && SetFilePointer(H(file->Handle), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER)
    return std::nullopt;
  return file;
}

std::optional<TFile> TFile::CreateAlways(const std::string& path) {
  return Wrap(Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS));
}

TFile::TFile(TFile&& other) noexcept : Handle(other.Handle) {
  other.Handle = reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE);
}

TFile& TFile::operator=(TFile&& other) noexcept {
  if (this != &other) {
    Close();
    Handle = other.Handle;
    other.Handle = reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE);
  }
  return *this;
}

TFile::~TFile() {
  Close();
}

void TFile::Close() {
  if (H(Handle) != INVALID_HANDLE_VALUE) CloseHandle(H(Handle));
  Handle = reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE);
}

std::string TFile::ReadAll() {
  std::string data;
  char buffer[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(H(Handle), buffer, sizeof buffer, &n, nullptr)) Fail("Read error");
    if (n == 0) return data;
    data.append(buffer, n);
  }
}

void TFile::Write(const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD n = 0;
    if (!WriteFile(H(Handle), p, static_cast<DWORD>(size), &n, nullptr) || n == 0)
      Fail("Write error");
    p += n;
    size -= n;
  }
}

void TFile::Flush() {
  if (!FlushFileBuffers(H(Handle))) Fail("Write error");
}

TFileStamp FileStamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return {};
  const auto join = [](DWORD high, DWORD low) {
    return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
  };
  return {join(data.nFileSizeHigh, data.nFileSizeLow),
          join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

bool FileExists(const std::string& path) {
  // A directory search, as a plain attribute query also answers for folders
  // and some devices.
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(path.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool PathExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool MakeDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr);
}

bool RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str());
}

bool RenameReplacing(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

std::vector<TDirEntry> ListDirectory(const std::string& folder) {
  std::vector<TDirEntry> entries;
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += "*.*";
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return entries;
}

std::string ExePath() {
  char buffer[MAX_PATH + 1];
  const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, n < sizeof buffer ? n : 0);
}

std::string ExeFolder() {
  const std::string path = ExePath();
  return path.substr(0, path.find_last_of("\\/") + 1);
}
