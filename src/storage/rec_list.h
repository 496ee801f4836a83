#pragma once

#include <cstddef>
#include <cstdint>

#include "base/exception.h"

class EVdArrayException : public Exception {
 public:
  using Exception::Exception;
};

// A growable array of fixed-size records in one contiguous block. Records are
// plain bytes, copied in; the address from Items() stays valid only until the
// next operation that changes the capacity or moves records.
class TVdRecList {
 public:
  explicit TVdRecList(int32_t itemSize);
  ~TVdRecList();
  TVdRecList(const TVdRecList&) = delete;
  TVdRecList& operator=(const TVdRecList&) = delete;

  int32_t Add(const void* item);  // returns the new record's index
  void Insert(int32_t index, const void* item);
  void Delete(int32_t index);
  void Clear();  // keeps the block
  void* Items(int32_t index) const;

  int32_t Count() const { return FCount; }
  int32_t Capacity() const { return FCapacity; }
  void SetCapacity(int32_t capacity);

  int32_t ItemSize() const { return FItemSize; }
  int32_t Stride() const { return FStride; }
  int32_t MaxCapacity() const { return FMaxCapacity; }

 private:
  void Grow();
  char* Record(int32_t index) const { return FData + static_cast<size_t>(index) * FStride; }

  int32_t FItemSize;
  int32_t FStride;
  int32_t FMaxCapacity;
  int32_t FCount = 0;
  int32_t FCapacity = 0;
  char* FData = nullptr;
};
