#pragma once

// What the fuzz targets share: a scratch folder of the process's own, and a
// check that stops the run where an input breaks a rule.
#include <unistd.h>

#include <cstdlib>
#include <string>

// The folder's path with a trailing "/"; made once, on first use.
inline const std::string& ScratchFolder() {
  static const std::string folder = [] {
    char path[] = "/tmp/tallyline-fuzz-XXXXXX";
    if (!mkdtemp(path)) std::abort();
    return std::string(path) + "/";
  }();
  return folder;
}

inline void Check(bool condition) {
  if (!condition) std::abort();
}
