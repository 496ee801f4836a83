// The dialling window: every close by the user is a Cancel, a close by the
// program is not, and Enter does not press Cancel.
#include "dialup/frm_dial_win32.h"

#include <gtest/gtest.h>

#include <memory>

#include "driver/window_driver_win32.h"
#include "ui/application_win32.h"
#include "win32/test_forms_win32.h"

namespace {

class FrmDialTest : public testing::Test {
 protected:
  void SetUp() override {
    Window = std::make_unique<TFrmDial>(TApplication::Instance().Handle(), "Connecting to My ISP");
    Window->OnCancel = [this] { ++Cancels; };
    PumpMessages();
  }

  // A key as the program's loop hands it on, to the control with the focus.
  void PressDialogKey(WPARAM key) {
    MSG msg{};
    msg.hwnd = GetFocus();
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    TApplication::Instance().DialogMessage(msg);
    PumpMessages();
  }

  std::unique_ptr<TFrmDial> Window;
  int Cancels = 0;
};

TEST_F(FrmDialTest, TheUsersClosesCancelAndTheProgramsDoNot) {
  RECT client;
  GetClientRect(Window->Handle(), &client);
  EXPECT_EQ(client.right, 322);
  EXPECT_EQ(client.bottom, 66);
  PressDialogKey(VK_RETURN);
  EXPECT_EQ(Cancels, 0);
  PressDialogKey(VK_ESCAPE);
  EXPECT_EQ(Cancels, 1);
  PressButton(Window->Handle(), "Cancel");
  PumpMessages();
  EXPECT_EQ(Cancels, 2);
  SendMessageA(Window->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box, Alt+F4
  EXPECT_EQ(Cancels, 3);
  EXPECT_TRUE(IsWindow(Window->Handle()));  // closing is the canceller's to do
  Window->SetStatus("Status: Dialing..");
  EXPECT_EQ(WindowText(FindChildren(Window->Handle(), "Static")[0]), "Status: Dialing..");
  Window->Destroy();
  PumpMessages();
  EXPECT_EQ(Cancels, 3);
  EXPECT_FALSE(Window->Handle());
}

}  // namespace
