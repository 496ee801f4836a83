#include "storage/rec_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

struct TSample {
  double Time;
  int32_t Value1;
  int32_t Value2;
};
static_assert(sizeof(TSample) == 16);

TSample Sample(int i) {
  return TSample{i + 0.5, i, -i};
}

int32_t AddSample(TVdRecList& list, int i) {
  const TSample s = Sample(i);
  return list.Add(&s);
}

void InsertSample(TVdRecList& list, int32_t index, int i) {
  const TSample s = Sample(i);
  list.Insert(index, &s);
}

int32_t Value1At(const TVdRecList& list, int32_t index) {
  return static_cast<const TSample*>(list.Items(index))->Value1;
}

void ExpectError(const std::function<void()>& action, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "no exception, expected: " << message;
  } catch (const EVdArrayException& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

TEST(RecListTest, StrideRoundsItemSizeUpToFourButCopiesOnlyItemSize) {
  TVdRecList list(13);
  EXPECT_EQ(list.Stride(), 16);
  EXPECT_EQ(list.MaxCapacity(), 2147483647 / 16);
  unsigned char first[16], second[16];
  std::memset(first, 0xAA, sizeof first);
  std::memset(second, 0xBB, sizeof second);
  list.Add(first);
  list.Add(second);
  const auto* block = static_cast<const unsigned char*>(list.Items(0));
  EXPECT_EQ(block[12], 0xAA);
  EXPECT_EQ(block[16], 0xBB);  // record 1 starts one stride on
  EXPECT_EQ(static_cast<const unsigned char*>(list.Items(1)), block + 16);
  EXPECT_EQ(TVdRecList(16).Stride(), 16);
  EXPECT_EQ(TVdRecList(1).Stride(), 4);
  EXPECT_EQ(TVdRecList(400000000).MaxCapacity(), 5);
}

TEST(RecListTest, GrowsBySixteenThenByAQuarter) {
  TVdRecList list(16);
  std::vector<int32_t> capacities;
  for (int i = 0; i < 140; ++i) {
    const int32_t before = list.Capacity();
    EXPECT_EQ(AddSample(list, i), i);
    if (list.Capacity() != before) capacities.push_back(list.Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int32_t>{4, 20, 36, 52, 68, 85, 106, 132, 165}));
  for (int i = 0; i < 140; ++i) ASSERT_EQ(Value1At(list, i), i);

  TVdRecList history(16);
  history.SetCapacity(2000);
  for (int i = 0; i <= 2000; ++i) AddSample(history, i);
  EXPECT_EQ(history.Capacity(), 2500);
}

TEST(RecListTest, InsertMovesLaterRecordsUp) {
  TVdRecList list(16);
  for (int i : {0, 1, 3}) AddSample(list, i);
  InsertSample(list, 2, 2);
  InsertSample(list, 0, -1);
  InsertSample(list, list.Count(), 4);
  std::vector<int32_t> values;
  for (int i = 0; i < list.Count(); ++i) values.push_back(Value1At(list, i));
  EXPECT_EQ(values, (std::vector<int32_t>{-1, 0, 1, 2, 3, 4}));
}

TEST(RecListTest, DeleteMovesLaterRecordsDown) {
  TVdRecList list(16);
  for (int i = 0; i < 5; ++i) AddSample(list, i);
  list.Delete(0);
  list.Delete(2);
  list.Delete(list.Count() - 1);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(Value1At(list, 0), 1);
  EXPECT_EQ(Value1At(list, 1), 2);
  EXPECT_EQ(static_cast<const TSample*>(list.Items(1))->Time, 2.5);

  TVdRecList one(16);
  AddSample(one, 7);
  one.Delete(0);
  EXPECT_EQ(one.Count(), 0);
}

TEST(RecListTest, ErrorsCarryTheirMessagesAndChangeNothing) {
  TVdRecList list(16);
  for (int i = 0; i < 3; ++i) AddSample(list, i);
  const TSample s = Sample(9);
  ExpectError([&] { list.Insert(0, nullptr); }, "Cannot insert nil");
  ExpectError([&] { list.Add(nullptr); }, "Cannot insert nil");
  ExpectError([&] { list.Insert(4, &s); }, "List index out of bounds (4)");
  ExpectError([&] { list.Insert(-1, &s); }, "List index out of bounds (-1)");
  ExpectError([&] { list.Delete(3); }, "List index out of bounds (3)");
  ExpectError([&] { list.Items(3); }, "List index out of bounds (3)");
  ExpectError([&] { list.Items(-2147483647 - 1); }, "List index out of bounds (-2147483648)");
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(Value1At(list, 2), 2);

  TVdRecList empty(16);
  ExpectError([&] { empty.Items(0); }, "List index out of bounds (0)");
  ExpectError([&] { empty.Delete(0); }, "List index out of bounds (0)");
}

TEST(RecListTest, CapacityCutsCountAndClearKeepsTheBlock) {
  TVdRecList list(16);
  for (int i = 0; i < 3; ++i) AddSample(list, i);
  list.SetCapacity(1);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Capacity(), 1);
  EXPECT_EQ(Value1At(list, 0), 0);

  list.SetCapacity(50);
  for (int i = 0; i < 10; ++i) AddSample(list, i);
  const void* block = list.Items(0);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 50);
  AddSample(list, 42);
  EXPECT_EQ(list.Items(0), block);
  EXPECT_EQ(Value1At(list, 0), 42);
}

}  // namespace
