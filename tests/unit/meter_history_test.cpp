#include "controls/meter_history.h"

#include <gtest/gtest.h>

namespace {

THistoryData Numbered(int32_t n) {
  return {n, -n, n / 86400.0};
}

// Enough appends and deletions to reclaim the deleted records many times.
TEST(MeterHistoryTest, KeepsOrderAcrossReclaiming) {
  TMeterHistory history;
  int32_t next = 0, oldest = 0;
  for (int round = 0; round < 50; ++round) {
    for (int i = 0; i < 700; ++i) history.Append(Numbered(next++));
    for (int i = 0; i < 600; ++i, ++oldest) history.DeleteOldest();
    ASSERT_EQ(history.Count(), next - oldest);
    for (int32_t i = 0; i < history.Count(); i += 97) {
      ASSERT_EQ(history[i].Value1, oldest + i);
      ASSERT_EQ(history[i].Value2, -(oldest + i));
      ASSERT_EQ(history[i].Time, (oldest + i) / 86400.0);
    }
    ASSERT_EQ(history[history.Count() - 1].Value1, next - 1);
  }
}

TEST(MeterHistoryTest, IndexErrorsNameTheSampleIndex) {
  TMeterHistory history;
  EXPECT_THROW(history.DeleteOldest(), EVdArrayException);
  for (int32_t i = 0; i < 2000; ++i) history.Append(Numbered(i));
  for (int i = 0; i < 1500; ++i) history.DeleteOldest();
  // 500 live records; the deleted ones before them are out of reach.
  try {
    history[500];
    FAIL();
  } catch (const EVdArrayException& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (500)");
  }
  EXPECT_THROW(history[-1], EVdArrayException);
  history.Clear();
  EXPECT_EQ(history.Count(), 0);
  history.Append(Numbered(7));
  EXPECT_EQ(history[0].Value1, 7);
}

}  // namespace
