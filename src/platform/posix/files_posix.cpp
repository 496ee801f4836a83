#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/files.h"

// POSIX has no share modes. Advisory locks stand in for them: readers hold a
// shared lock and an exclusive open holds an exclusive one, so the two refuse
// each other as they do on Windows, between processes and within one.

namespace {

int OpenLocked(const std::string& path, int flags, int lock) {
  const int fd = open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  struct stat st {};
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || (lock && flock(fd, lock | LOCK_NB) != 0)) {
    close(fd);
    return -1;
  }
  return fd;
}

[[noreturn]] void Fail(const char* what) {
  throw EFileError(std::string(what) + ": " + std::strerror(errno));
}

}  // namespace

std::optional<TFile> TFile::Wrap(intptr_t handle) {
  if (handle < 0) return std::nullopt;
  return TFile(handle);
}

std::optional<TFile> TFile::OpenRead(const std::string& path) {
  return Wrap(OpenLocked(path, O_RDONLY, LOCK_SH));
}

std::optional<TFile> TFile::OpenExclusive(const std::string& path) {
  return Wrap(OpenLocked(path, O_RDWR, LOCK_EX));
}

std::optional<TFile> TFile::CreateNew(const std::string& path) {
  return Wrap(OpenLocked(path, O_WRONLY | O_CREAT | O_EXCL, 0));
}

std::optional<TFile> TFile::OpenAppend(const std::string& path) {
  return Wrap(OpenLocked(path, O_WRONLY | O_APPEND, 0));
}

std::optional<TFile> TFile::CreateAlways(const std::string& path) {
  return Wrap(OpenLocked(path, O_WRONLY | O_CREAT | O_TRUNC, LOCK_EX));
}

TFile::TFile(TFile&& other) noexcept : Handle(other.Handle) {
  other.Handle = -1;
}

TFile& TFile::operator=(TFile&& other) noexcept {
  if (this != &other) {
    Close();
    Handle = other.Handle;
    other.Handle = -1;
  }
  return *this;
}

TFile::~TFile() {
  Close();
}

void TFile::Close() {
  if (Handle >= 0) close(static_cast<int>(Handle));
  Handle = -1;
}

std::string TFile::ReadAll() {
  std::string data;
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(static_cast<int>(Handle), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("Read error");
    if (n == 0) return data;
    data.append(buffer, static_cast<size_t>(n));
  }
}

void TFile::Write(const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(static_cast<int>(Handle), p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail("Write error");
    p += n;
    size -= static_cast<size_t>(n);
  }
}

void TFile::Flush() {
  if (fsync(static_cast<int>(Handle)) != 0) Fail("Write error");
}

TFileStamp FileStamp(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return {};
  return {st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

bool IsReadOnly(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

bool MakeDirectory(const std::string& path) {
  return mkdir(path.c_str(), 0777) == 0;
}

bool RemoveFile(const std::string& path) {
  return unlink(path.c_str()) == 0;
}

bool RenameReplacing(const std::string& from, const std::string& to) {
  if (rename(from.c_str(), to.c_str()) != 0) return false;
  // The rename itself reaches the disk with the folder's entry.
  const size_t slash = to.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : to.substr(0, slash + 1);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
  return true;
}

std::vector<TDirEntry> ListDirectory(const std::string& folder) {
  std::vector<TDirEntry> entries;
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return entries;
  while (const dirent* e = readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::string full = folder;
    if (!full.empty() && full.back() != '/') full += '/';
    struct stat st {};
    const bool isDir = stat((full + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    entries.push_back({name, isDir});
  }
  closedir(dir);
  return entries;
}

std::string ExePath() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

std::string ExeFolder() {
  const std::string path = ExePath();
  return path.substr(0, path.find_last_of(PathDelim) + 1);
}
