#include "storage/rec_list.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

[[noreturn]] void IndexError(int32_t index) {
  throw EVdArrayException("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

TVdRecList::TVdRecList(int32_t itemSize)
    : FItemSize(itemSize < 0 ? 0 : itemSize),
      // Records of no bytes still take one slot each.
      FStride(FItemSize > 0 ? (FItemSize + 3) / 4 * 4 : 4),
      FMaxCapacity(2147483647 / FStride) {}

TVdRecList::~TVdRecList() {
  std::free(FData);
}

int32_t TVdRecList::Add(const void* item) {
  const int32_t index = FCount;
  Insert(index, item);
  return index;
}

void TVdRecList::Insert(int32_t index, const void* item) {
  if (!item) throw EVdArrayException("Cannot insert nil");
  if (index < 0 || index > FCount) IndexError(index);
  if (FCount == FCapacity) Grow();
  std::memmove(Record(index + 1), Record(index), static_cast<size_t>(FCount - index) * FStride);
  std::memcpy(Record(index), item, static_cast<size_t>(FItemSize));
  ++FCount;
}

void TVdRecList::Delete(int32_t index) {
  if (index < 0 || index >= FCount) IndexError(index);
  --FCount;
  std::memmove(Record(index), Record(index + 1), static_cast<size_t>(FCount - index) * FStride);
}

void TVdRecList::Clear() {
  FCount = 0;
}

void* TVdRecList::Items(int32_t index) const {
  if (index < 0 || index >= FCount) IndexError(index);
  return Record(index);
}

void TVdRecList::Grow() {
  if (FCapacity >= FMaxCapacity)
    throw EVdArrayException("Out of memory while expanding memory stream");
  const int64_t capacity = FCapacity == 0   ? 4
                           : FCapacity < 64 ? FCapacity + 16
                                            : FCapacity + FCapacity / 4;
  SetCapacity(static_cast<int32_t>(capacity > FMaxCapacity ? FMaxCapacity : capacity));
}

void TVdRecList::SetCapacity(int32_t capacity) {
  if (capacity < 0) capacity = 0;
  if (capacity > FMaxCapacity) capacity = FMaxCapacity;
  if (capacity == FCapacity) return;
  if (capacity == 0) {
    std::free(FData);
    FData = nullptr;
  } else {
    void* data = std::realloc(FData, static_cast<size_t>(capacity) * FStride);
    if (!data) throw std::bad_alloc();
    FData = static_cast<char*>(data);
  }
  FCapacity = capacity;
  if (FCount > capacity) FCount = capacity;
}
