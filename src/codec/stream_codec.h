#pragma once

#include <string>
#include <string_view>

#include "base/exception.h"

// The -lh5- stream codec of the container form, with its length prefix.

class ECorruptFile : public Exception {
 public:
  ECorruptFile() : Exception("Compressed file is corrupt") {}
};

// The 4-byte little-endian length of source, then its -lh5- bit stream.
std::string CompressStream(std::string_view source);
// Exactly the length the prefix gives (nothing when it is 0 or below);
// throws ECorruptFile on a damaged bit stream.
std::string DecompressStream(std::string_view source);
