// The Setup dialog on the live main window: opened once, its OK writes
// every key, and the quota's controls follow their check box.
#include "setup/frm_setup_win32.h"

#include <gtest/gtest.h>

#include "win32/main_window_fixture_win32.h"

namespace {

class FrmSetupTest : public TMainWindowTest {
 protected:
  HWND SetupWindow() { return Form->FrmSetup() ? Form->FrmSetup()->Handle() : nullptr; }
  void ShootTab(int index, const char* name) {
    ShowTab(SetupWindow(), index);
    Shoot(SetupWindow(), std::string("setup_") + name);
  }
};

TEST_F(FrmSetupTest, FirstStartOpensSetupOnce) {
  OpenAsIs();
  ASSERT_NE(SetupWindow(), nullptr);
  EXPECT_EQ(WindowText(SetupWindow()), "Setup");
  EXPECT_TRUE(IsWindowVisible(SetupWindow()));
  const TFrmSetup* first = Form->FrmSetup();
  Form->Command(cmSetup);
  EXPECT_EQ(Form->FrmSetup(), first);
}

TEST_F(FrmSetupTest, OkWritesEveryKeyAndClosesTheDialog) {
  Open(kAdapter);
  Form->ToggleBorderless();
  Form->Command(cmSetup);
  EXPECT_TRUE(GetWindowLongPtrA(SetupWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  ShootTab(0, "network");
  ShootTab(1, "graph1");
  ShootTab(2, "graph2");
  ShootTab(3, "options");
  ASSERT_TRUE(PressButton(SetupWindow(), "OK"));
  PumpMessages(100);
  EXPECT_EQ(Form->FrmSetup(), nullptr);
  const std::string written = Dir.Read("settings.ini");
  for (const char* key : {"Hours=",        "LineWidth=",
                          "GridStyle=",    "YaxisDisplay=",
                          "Scale=",        "MaxValueType=",
                          "MaxValue=",     "MainMenu=",
                          "GraphTips=",    "AntiAlias=",
                          "ShowActivity=", "StatsTrayTip=",
                          "SolidBar=",     "vLines=",
                          "CUI=",          "CHS=",
                          "DL=",           "UL=",
                          "Text=",         "Grid=",
                          "Border=",       "GraphBackground=",
                          "Background="})
    EXPECT_NE(written.find(std::string("\n") + key), std::string::npos) << key;
}

TEST_F(FrmSetupTest, QuotaTabFollowsItsCheckBoxAndApplyWritesTheQuota) {
  Open(kAdapter);
  Form->Command(cmSetup);
  ShowTab(SetupWindow(), 4);
  HWND check = FindChildWithText(SetupWindow(), "Watch a data quota");
  ASSERT_NE(check, nullptr);
  const auto expectOthersEnabled = [&](bool enabled) {
    for (HWND child = GetWindow(check, GW_HWNDFIRST); child; child = GetWindow(child, GW_HWNDNEXT))
      if (child != check) {
        EXPECT_EQ(IsWindowEnabled(child) != FALSE, enabled)
            << WindowClass(child) << " " << WindowText(child);
      }
  };
  expectOthersEnabled(false);
  SendMessageA(check, BM_CLICK, 0, 0);
  expectOthersEnabled(true);
  HWND page = GetParent(check);
  SetWindowTextA(FindChild(page, "Edit"), "2");
  SendMessageA(FindChild(page, "ComboBox"), CB_SETCURSEL, 1, 0);  // GB
  Shoot(SetupWindow(), "setup_quota");
  ASSERT_TRUE(PressButton(SetupWindow(), "Apply"));
  PumpMessages(100);
  const std::string written = Dir.Read("settings.ini");
  for (const char* line :
       {"\n[Quota]", "\nEnabled=1", "\nLimit=2147483648", "\nStartDay=1", "\nWarnPercent=80"})
    EXPECT_NE(written.find(line), std::string::npos) << line;
}

}  // namespace
