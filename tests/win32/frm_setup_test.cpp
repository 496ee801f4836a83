// The Setup dialog on the live main window: opened once, its OK writes
// every key, the quota's controls follow their check box and its figures
// the quota typed, and no address or item is cut.
#include "setup/frm_setup_win32.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/date_time.h"
#include "ui/force_foreground_win32.h"
#include "win32/main_window_fixture_win32.h"
#include "win32/typing_win32.h"

namespace {

class FrmSetupTest : public TMainWindowTest {
 protected:
  HWND SetupWindow() { return Form->FrmSetup() ? Form->FrmSetup()->Handle() : nullptr; }
  void ShootTab(int index, const char* name) {
    ShowTab(SetupWindow(), index);
    Shoot(SetupWindow(), std::string("setup_") + name);
  }
  // The quota's figures, last on the Quota page.
  std::string QuotaFigures() {
    return WindowText(
        GetWindow(FindChildWithText(SetupWindow(), "Watch a data quota"), GW_HWNDLAST));
  }
};

// How many pixel columns of a field (split at tabs) of a row of the list
// under header the screen shows fewer than the field drawn whole.
int FieldTextCut(HWND header, HWND list, int row, int section) {
  char text[256] = "";
  SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
  std::string field = text;
  for (int i = 0; i < section; ++i) field.erase(0, field.find('\t') + 1);
  field.erase(std::min(field.find('\t'), field.size()));
  RECT cell{}, line{};
  Header_GetItemRect(header, section, &cell);
  MapWindowPoints(header, list, reinterpret_cast<POINT*>(&cell), 2);
  SendMessageA(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&line));
  cell.top = line.top;
  cell.bottom = line.bottom;
  return ShownTextCut(list, cell, field);
}

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

// Today's month holds 1 GB of the 2 GB limit; the figures (the whole text
// is the model's, tested there) follow a limit typed into its box, and go
// with the quota.
TEST_F(FrmSetupTest, QuotaTabShowsTheFiguresOfTheQuotaAsTyped) {
  const auto today = static_cast<int32_t>(LocalNow());
  const TSystemTime date = DecodeDaySerial(today);
  MakeDirectory(Dir.Path("data"));
  Dir.Write("data\\" + std::to_string(EncodeDaySerial(date.Year, date.Month, 1)) + ".dat",
            "[" + std::to_string(today) + "]\r\nRecv=805306368\r\nXmit=268435456\r\n");
  Open(std::string(kAdapter) + "[Quota]\r\nEnabled=1\r\nLimit=2147483648\r\n");
  Form->Command(cmSetup);
  ASSERT_TRUE(ForceForegroundWindow(SetupWindow(), false));
  Press(VK_TAB, {VK_CONTROL, VK_SHIFT});  // the last page: Quota
  EXPECT_NE(QuotaFigures().find("\nQuota: 1.00 GB of 2.00 GB (50%)\n"), std::string::npos);
  Press('L', {VK_MENU});
  Press('4');
  EXPECT_NE(QuotaFigures().find("\nQuota: 1.00 GB of 4.00 GB (25%)\n"), std::string::npos);
  Press('D', {VK_MENU});  // "Watch a &data quota" off
  EXPECT_EQ(QuotaFigures(), "No quota is set.");
}

// A hardware address and an IPv4 address of the widest digits show whole,
// as does the last column; so does the quota's count box its longest item,
// the first.
TEST_F(FrmSetupTest, AdapterColumnsAndTheCountBoxShowTheirTextsWhole) {
  Link.IfRows.push_back(TFakeLinkSource::Row(3, "Wi-Fi", {0xDD, 0xDD, 0xDD, 0xDD, 0xDD, 0xDD}));
  Link.AddrRows.push_back({0xC864A8C0, 3, 0, 0, 0, 0, 0});  // 192.168.100.200
  Open(std::string(kAdapter) + "[Quota]\r\nEnabled=1\r\n");
  Form->Command(cmSetup);
  ASSERT_TRUE(ForceForegroundWindow(SetupWindow(), false));
  PumpMessages(100);
  HWND list = FindChild(SetupWindow(), "ListBox"), header = FindChild(SetupWindow(), "SysHeader32");
  char text[128] = "";
  SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
  ASSERT_NE(std::string(text).find("\t192.168.100.200\tDD-DD-DD-DD-DD-DD\t"), std::string::npos);
  for (int row : {0, 1})
    for (int section : {2, 3, 4})
      EXPECT_EQ(FieldTextCut(header, list, row, section), 0) << row << " " << section;
  ShootTab(0, "network_fitted");
  ShootTab(4, "quota_fitted");
  HWND count = FindChildWithText(SetupWindow(), "Download and upload");
  COMBOBOXINFO box{};
  box.cbSize = sizeof box;
  GetComboBoxInfo(count, &box);
  EXPECT_EQ(ShownTextCut(count, box.rcItem, "Download and upload"), 0);
}

}  // namespace
