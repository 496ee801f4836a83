#include "codec/match_finder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "codec/lh5_format.h"

// The window's positions form binary search trees, one for each hash of the
// first three bytes, ordered by the bytes that follow each position (compared
// up to the longest match), with the newest position at the root: every node
// is newer than its children. Inserting a position walks down from the root,
// splitting the tree into the nodes that sort before and after it, and the
// longest match lies on that path, since it holds both neighbours of the new
// position in sort order. A node that equals the new position over the whole
// match length is replaced by it, so a run of equal bytes costs one
// comparison per position. A node that has left the window ends the walk:
// everything below it is older still. Every match of three bytes or more is
// in the position's own tree; shorter ones are never sent, so the ones found
// by chance in a shared tree do no harm.

namespace {

constexpr int32_t kNone = -1;
// Larger than the window, so the slot of a position still in reach is never
// reused by the position being inserted.
constexpr int32_t kRingSize = 2 * lh5::kWindowSize;
constexpr int kHashBits = 16;

size_t Slot(int32_t pos) {
  return static_cast<size_t>(pos) & (kRingSize - 1);
}

size_t TreeOf(const unsigned char* bytes) {
  const uint32_t key = bytes[0] << 16 | bytes[1] << 8 | bytes[2];
  return (key * 2654435761u) >> (32 - kHashBits);  // multiplicative hashing
}

}  // namespace

TMatchFinder::TMatchFinder(std::string_view data)
    : FData(data), FRoots(size_t{1} << kHashBits, kNone), FSmaller(kRingSize), FLarger(kRingSize) {}

TMatchFinder::TMatch TMatchFinder::Insert(int32_t pos) {
  TMatch best;
  const auto remaining = static_cast<int32_t>(FData.size()) - pos;
  if (remaining < lh5::kMinMatch) return best;
  const int limit = std::min<int32_t>(lh5::kMaxMatch, remaining);

  int32_t* smallerLink = &FSmaller[Slot(pos)];
  int32_t* largerLink = &FLarger[Slot(pos)];
  // Bytes known to be shared with everything below either link.
  int smallerLength = 0, largerLength = 0;
  int32_t& root = FRoots[TreeOf(reinterpret_cast<const unsigned char*>(FData.data()) + pos)];
  int32_t node = root;
  root = pos;
  while (node != kNone && pos - node <= lh5::kWindowSize) {
    const int length = CommonLength(node, pos, std::min(smallerLength, largerLength), limit);
    if (length > best.Length) best = {length, node};
    if (length == limit) {
      *smallerLink = FSmaller[Slot(node)];
      *largerLink = FLarger[Slot(node)];
      return best;
    }
    if (static_cast<unsigned char>(FData[node + length]) <
        static_cast<unsigned char>(FData[pos + length])) {
      *smallerLink = node;
      smallerLink = &FLarger[Slot(node)];
      smallerLength = length;
      node = *smallerLink;
    } else {
      *largerLink = node;
      largerLink = &FSmaller[Slot(node)];
      largerLength = length;
      node = *largerLink;
    }
  }
  *smallerLink = kNone;
  *largerLink = kNone;
  return best;
}

// Bytes shared by the two positions, from `known` (already equal) up to limit.
int TMatchFinder::CommonLength(int32_t earlier, int32_t pos, int known, int limit) const {
  const char* a = FData.data() + earlier;
  const char* b = FData.data() + pos;
  int length = known;
  if constexpr (std::endian::native == std::endian::little) {
    for (; length + 8 <= limit; length += 8) {
      uint64_t x, y;
      std::memcpy(&x, a + length, 8);
      std::memcpy(&y, b + length, 8);
      if (x != y) return length + std::countr_zero(x ^ y) / 8;
    }
  }
  while (length < limit && a[length] == b[length]) ++length;
  return length;
}
