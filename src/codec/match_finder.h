#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// Finds, for each position of the input in turn, the longest earlier
// occurrence of the bytes starting there (up to 256 bytes, at most 8,192
// bytes back, never past the end of the input).
class TMatchFinder {
 public:
  struct TMatch {
    int Length = 0;
    int32_t Position = 0;
  };

  explicit TMatchFinder(std::string_view data);

  // Positions must come in increasing order, each once. The length is exact
  // from 3 bytes on; below that it may be anything shorter than 3.
  TMatch Insert(int32_t pos);

 private:
  int CommonLength(int32_t earlier, int32_t pos, int known, int limit) const;

  std::string_view FData;
  std::vector<int32_t> FRoots;             // a tree for each hash of the first three bytes
  std::vector<int32_t> FSmaller, FLarger;  // children, by position modulo the ring size
};
