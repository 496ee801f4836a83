#include "ui/force_foreground_win32.h"

#include <gtest/gtest.h>

#include <memory>

#include "win32/test_forms_win32.h"

namespace {

TEST(ForceForegroundWindowTest, RestoresAMinimisedWindowAndBringsItToTheFront) {
  TTestForm target("TPlainForm", "target", {100, 100, 300, 200});
  TTestForm other("TPlainForm", "other", {100, 100, 300, 200});
  SetForegroundWindow(other.Handle());
  ShowWindow(target.Handle(), SW_MINIMIZE);
  PumpMessages();
  ASSERT_TRUE(IsIconic(target.Handle()));

  EXPECT_TRUE(ForceForegroundWindow(target.Handle(), true));
  EXPECT_FALSE(IsIconic(target.Handle()));
  EXPECT_EQ(GetForegroundWindow(), target.Handle());
  // Already in front: nothing more to do.
  EXPECT_TRUE(ForceForegroundWindow(target.Handle(), false));
}

TEST(ForceForegroundWindowTest, LeavesAMinimisedWindowAloneWithoutRestore) {
  TTestForm target("TPlainForm", "target", {100, 100, 300, 200});
  ShowWindow(target.Handle(), SW_MINIMIZE);
  PumpMessages();
  ForceForegroundWindow(target.Handle(), false);
  EXPECT_TRUE(IsIconic(target.Handle()));
}

}  // namespace
