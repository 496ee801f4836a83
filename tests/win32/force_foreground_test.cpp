#include "ui/force_foreground_win32.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/form_win32.h"

namespace {

class TPlainForm : public TForm {
 public:
  explicit TPlainForm(const char* caption) {
    TFormArgs args;
    args.ClassName = "TPlainForm";
    args.Caption = caption;
    args.Left = 100;
    args.Top = 100;
    args.Width = 200;
    args.Height = 100;
    CreateForm(args);
    ShowWindow(Handle(), SW_SHOW);
  }
};

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

TEST(ForceForegroundWindowTest, RestoresAMinimisedWindowAndBringsItToTheFront) {
  TPlainForm target("target"), other("other");
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
  TPlainForm target("target");
  ShowWindow(target.Handle(), SW_MINIMIZE);
  PumpMessages();
  ForceForegroundWindow(target.Handle(), false);
  EXPECT_TRUE(IsIconic(target.Handle()));
}

}  // namespace
