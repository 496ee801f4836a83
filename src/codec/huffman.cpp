#include "codec/huffman.h"

#include <algorithm>
#include <array>

#include "codec/lh5_format.h"
#include "codec/stream_codec.h"

namespace {

using lh5::kMaxCodeLength;

constexpr uint32_t kKraftTotal = uint32_t{1} << kMaxCodeLength;

// A min-heap of tree nodes keyed by weight, 1-based. The tie rules (left
// child on equal weights, stop when the parent is not heavier) decide the
// code lengths, so they are kept exactly.
class TNodeHeap {
 public:
  explicit TNodeHeap(const std::vector<uint32_t>& weight) : FWeight(weight), FNodes(1) {}

  int Size() const { return static_cast<int>(FNodes.size()) - 1; }
  int Top() const { return FNodes[1]; }
  void Append(int node) { FNodes.push_back(node); }

  void Heapify() {
    for (int i = Size() / 2; i >= 1; --i) SiftDown(i);
  }
  int Pop() {
    const int top = FNodes[1];
    FNodes[1] = FNodes.back();
    FNodes.pop_back();
    SiftDown(1);
    return top;
  }
  void ReplaceTop(int node) {
    FNodes[1] = node;
    SiftDown(1);
  }

 private:
  void SiftDown(int i) {
    const int node = FNodes[i];
    for (int child; (child = 2 * i) <= Size(); i = child) {
      if (child < Size() && FWeight[FNodes[child]] > FWeight[FNodes[child + 1]]) ++child;
      if (FWeight[node] <= FWeight[FNodes[child]]) break;
      FNodes[i] = FNodes[child];
    }
    FNodes[i] = node;
  }

  const std::vector<uint32_t>& FWeight;
  std::vector<int> FNodes;
};

// Leaves per depth, depths beyond 16 counted as 16, then moved up until the
// lengths fit in 16 bits: each step takes one leaf off depth 16 and splits the
// deepest shallower leaf into two one level down, which lowers the Kraft sum
// by exactly one unit of 2^-16.
std::array<int, kMaxCodeLength + 1> LeafCountsByDepth(const std::vector<int>& left,
                                                      const std::vector<int>& right, int root,
                                                      int symbols) {
  std::array<int, kMaxCodeLength + 1> count{};
  std::vector<std::pair<int, int>> pending{{root, 0}};
  while (!pending.empty()) {
    const auto [node, depth] = pending.back();
    pending.pop_back();
    if (node < symbols) {
      ++count[std::min(depth, kMaxCodeLength)];
    } else {
      pending.push_back({left[node], depth + 1});
      pending.push_back({right[node], depth + 1});
    }
  }
  uint32_t kraft = 0;
  for (int d = 1; d <= kMaxCodeLength; ++d) kraft += count[d] << (kMaxCodeLength - d);
  for (; kraft != kKraftTotal; --kraft) {
    --count[kMaxCodeLength];
    for (int d = kMaxCodeLength - 1; d >= 1; --d) {
      if (count[d] > 0) {
        --count[d];
        count[d + 1] += 2;
        break;
      }
    }
  }
  return count;
}

}  // namespace

THuffmanCode BuildHuffmanCode(std::span<const uint32_t> frequencies) {
  const int symbols = static_cast<int>(frequencies.size());
  std::vector<uint32_t> weight(frequencies.begin(), frequencies.end());
  weight.resize(2 * symbols);
  TNodeHeap heap(weight);
  for (int s = 0; s < symbols; ++s)
    if (weight[s] > 0) heap.Append(s);

  THuffmanCode code;
  code.Lengths.assign(symbols, 0);
  if (heap.Size() < 2) {
    code.SingleSymbol = heap.Size() == 1 ? heap.Top() : 0;
    code.Codes.assign(symbols, 0);
    return code;
  }

  // Merge the two lightest nodes until one is left; the leaves come out
  // lightest first, which is the order the lengths are handed out in.
  heap.Heapify();
  std::vector<int> left(2 * symbols), right(2 * symbols), leafOrder;
  int next = symbols;
  while (heap.Size() > 1) {
    const int i = heap.Pop();
    const int j = heap.Top();
    for (int node : {i, j})
      if (node < symbols) leafOrder.push_back(node);
    weight[next] = weight[i] + weight[j];
    left[next] = i;
    right[next] = j;
    heap.ReplaceTop(next++);
  }

  const auto count = LeafCountsByDepth(left, right, next - 1, symbols);
  auto leaf = leafOrder.begin();
  for (int length = kMaxCodeLength; length >= 1; --length)
    for (int k = 0; k < count[length]; ++k) code.Lengths[*leaf++] = static_cast<uint8_t>(length);
  code.Codes = CanonicalCodes(code.Lengths);
  return code;
}

std::vector<uint16_t> CanonicalCodes(std::span<const uint8_t> lengths) {
  std::array<uint32_t, kMaxCodeLength + 2> next{};
  for (uint8_t length : lengths) ++next[length];
  // First code of each length; the count of length 0 does not take part.
  uint32_t first = 0;
  uint32_t previousCount = 0;
  for (int length = 1; length <= kMaxCodeLength; ++length) {
    first = (first + previousCount) << 1;
    previousCount = next[length];
    next[length] = first;
  }
  std::vector<uint16_t> codes(lengths.size(), 0);
  for (size_t s = 0; s < lengths.size(); ++s)
    if (lengths[s] > 0) codes[s] = static_cast<uint16_t>(next[lengths[s]]++);
  return codes;
}

void THuffmanTable::SetSingleSymbol(int symbol) {
  std::fill(FRoot.begin(), FRoot.end(), TEntry{static_cast<uint16_t>(symbol), 0});
}

void THuffmanTable::Build(std::span<const uint8_t> lengths) {
  // Only a complete prefix code is accepted: every bit pattern then decodes
  // to a symbol. This rejects all-zero lengths and a lone used symbol too.
  uint32_t kraft = 0;
  FMaxLength = 0;
  for (uint8_t length : lengths) {
    if (length == 0) continue;
    kraft += kKraftTotal >> length;
    FMaxLength = std::max<int>(FMaxLength, length);
  }
  if (kraft != kKraftTotal) throw ECorruptFile();

  const int secondBits = std::max(0, FMaxLength - FRootBits);
  FSecondMask = (uint32_t{1} << secondBits) - 1;
  FSecond.clear();
  std::fill(FRoot.begin(), FRoot.end(), TEntry{0, 0});  // no links left from the last block
  const auto codes = CanonicalCodes(lengths);
  for (size_t s = 0; s < lengths.size(); ++s) {
    const int length = lengths[s];
    if (length == 0) continue;
    const TEntry entry{static_cast<uint16_t>(s), static_cast<uint8_t>(length)};
    if (length <= FRootBits) {
      const uint32_t first = uint32_t{codes[s]} << (FRootBits - length);
      std::fill_n(FRoot.begin() + first, size_t{1} << (FRootBits - length), entry);
      continue;
    }
    TEntry& link = FRoot[codes[s] >> (length - FRootBits)];
    if (link.Length != kLink) {
      link = TEntry{static_cast<uint16_t>(FSecond.size()), kLink};
      FSecond.resize(FSecond.size() + FSecondMask + 1);
    }
    const uint32_t first = (uint32_t{codes[s]} << (FMaxLength - length)) & FSecondMask;
    std::fill_n(FSecond.begin() + link.Symbol + first, size_t{1} << (FMaxLength - length), entry);
  }
}
