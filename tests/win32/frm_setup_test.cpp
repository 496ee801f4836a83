// The Setup dialog on the live main window: opened once, and its OK writes
// every key.
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

}  // namespace
