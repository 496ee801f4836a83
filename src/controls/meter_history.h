#pragma once

#include <cstdint>

#include "platform/date_time.h"
#include "storage/rec_list.h"

// One point of the graph: the two rates in bytes per sample interval and the
// local time it was appended.
struct THistoryData {
  int32_t Value1;
  int32_t Value2;
  TDateTime Time;
};
static_assert(sizeof(THistoryData) == 16);

// The graph's samples, oldest first. Dropping the oldest sample costs the
// same however long the history is.
class TMeterHistory {
 public:
  TMeterHistory();

  int32_t Count() const { return FList.Count() - FStart; }
  // Raises "List index out of bounds (%d)" outside 0 ... Count() - 1.
  const THistoryData& operator[](int32_t index) const;

  void Append(const THistoryData& sample);
  void DeleteOldest();
  void Clear();

 private:
  void Compact();

  TVdRecList FList;
  int32_t FStart = 0;  // records before this one are already deleted
};
