#include "controls/meter_history.h"

#include <cstring>
#include <string>

namespace {

constexpr int32_t kInitialCapacity = 2000;
// Deleted records are reclaimed once there are this many and at least an
// eighth of the live ones: each append then pays for moving eight records at
// most, and the block never carries more than an eighth of dead weight.
constexpr int32_t kMinDeadRecords = 1024;

[[noreturn]] void IndexError(int32_t index) {
  throw EVdArrayException("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

TMeterHistory::TMeterHistory() : FList(sizeof(THistoryData)) {
  FList.SetCapacity(kInitialCapacity);
}

const THistoryData& TMeterHistory::operator[](int32_t index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return *static_cast<const THistoryData*>(FList.Items(FStart + index));
}

void TMeterHistory::Append(const THistoryData& sample) {
  FList.Add(&sample);
}

void TMeterHistory::DeleteOldest() {
  if (Count() == 0) IndexError(0);
  ++FStart;
  if (FStart >= kMinDeadRecords && FStart >= Count() / 8) Compact();
}

void TMeterHistory::Clear() {
  FList.Clear();
  FStart = 0;
}

// Moves the live records to the front of the block, then drops the tail one
// record at a time (each a move of nothing), keeping the block's capacity.
void TMeterHistory::Compact() {
  const int32_t live = Count();
  if (live > 0)
    std::memmove(FList.Items(0), FList.Items(FStart), static_cast<size_t>(live) * FList.Stride());
  for (; FStart > 0; --FStart) FList.Delete(FList.Count() - 1);
}
