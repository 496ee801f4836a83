// The main window created in this process in a scratch folder.
#include "app/frm_main_win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "driver/window_driver_win32.h"
#include "platform/format_settings.h"
#include "unit/scratch_dir.h"

namespace {

// Removes the quit request a destroyed main window leaves in the queue.
void DrainQuit() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

class FrmMainTest : public testing::Test {
 protected:
  // Sends WM_CLOSE and answers the confirmation from a second thread, as a
  // user would while the box runs its own message loop here.
  std::string CloseAnswering(const std::string& button) {
    std::string question;
    std::thread user([&] {
      HWND box = WaitForWindow({"Tallyline", "#32770", GetCurrentProcessId()}, 10000);
      if (!box) return;
      question = DialogText(box);
      PressButton(box, button);
    });
    SendMessageA(Form->Handle(), WM_CLOSE, 0, 0);
    user.join();
    return question;
  }

  void TearDown() override {
    Form.reset();
    DrainQuit();
  }

  TScratchDir Dir;
  std::unique_ptr<TFrmMain> Form = std::make_unique<TFrmMain>(Dir.Folder());
};

TEST_F(FrmMainTest, CreationSetsCaptionBoundsAndDataFolder) {
  EXPECT_EQ(Form->Caption(), "Tallyline v1.43");
  RECT r;
  GetWindowRect(Form->Handle(), &r);
  EXPECT_EQ(r.left, 492);
  EXPECT_EQ(r.top, 369);
  EXPECT_EQ(r.right - r.left, 584);
  EXPECT_EQ(r.bottom - r.top, 282);
  EXPECT_TRUE(std::filesystem::is_directory(Dir.Path("data")));
  // An existing data folder is fine for the next start.
  TFrmMain second(Dir.Folder());
  EXPECT_EQ(second.Caption(), "Tallyline v1.43");
}

TEST_F(FrmMainTest, CloseCancelledKeepsTheWindow) {
  EXPECT_EQ(CloseAnswering("Cancel"),
            "Are you sure you want to close Tallyline?\n"
            "This will prevent Tallyline from keeping stats!");
  EXPECT_TRUE(IsWindow(Form->Handle()));
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(FrmMainTest, CloseConfirmedDestroysTheWindowAndEndsTheLoop) {
  HWND window = Form->Handle();
  CloseAnswering("OK");
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Form->Handle(), nullptr);
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(FrmMainTest, SettingChangeReadsTheLocaleAgain) {
  char saved[16] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved, sizeof saved);
  ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, "'"));
  SendMessageA(Form->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("intl"));
  const char changed = FormatSettings().ThousandSeparator;
  SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved);
  SendMessageA(Form->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("intl"));
  EXPECT_EQ(changed, '\'');
  EXPECT_EQ(FormatSettings().ThousandSeparator, saved[0]);
}

}  // namespace
