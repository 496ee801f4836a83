#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files.h"
#include "platform/tick_count.h"

// A fresh folder under the system's temporary folder, removed with its
// content when the test ends.
class TScratchDir {
 public:
  TScratchDir() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      FPath = base /
              ("tallyline-test-" + std::to_string(TickCount()) + "-" + std::to_string(counter++));
      if (std::filesystem::create_directory(FPath)) break;
    }
  }
  ~TScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }

  // The folder's path with a trailing delimiter.
  std::string Folder() const { return FPath.string() + PathDelim; }
  std::string Path(const std::string& name) const { return Folder() + name; }

  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(Path(name), std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path FPath;
};
