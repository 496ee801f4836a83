// The dialogs used with the keyboard alone, as a user presses the keys:
// Setup's pages with Tab, Ctrl+Tab between them, the access keys and Enter
// after Apply; the reports' tabs and copying their rows.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <vector>

#include "reports/frm_report_win32.h"
#include "reports/frm_stats_win32.h"
#include "traffic/adapter_choice.h"
#include "ui/application_win32.h"
#include "ui/force_foreground_win32.h"
#include "win32/main_window_fixture_win32.h"
#include "win32/typing_win32.h"

namespace {

constexpr int kPages = 5;

DWORD StyleOf(HWND window) {
  return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
}

bool IsRadio(HWND window) {
  const DWORD kind = StyleOf(window) & BS_TYPEMASK;
  return WindowClass(window) == "Button" && (kind == BS_AUTORADIOBUTTON || kind == BS_RADIOBUTTON);
}

// The control Tab stops at for a control: a radio button's group, by its
// first button; any other control itself.
HWND StopOf(HWND control) {
  if (!IsRadio(control)) return control;
  while (!(StyleOf(control) & WS_GROUP) && IsRadio(GetWindow(control, GW_HWNDPREV)))
    control = GetWindow(control, GW_HWNDPREV);
  return control;
}

// The access key of a text: the letter after a single "&".
char AccessKey(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '&') {
      if (text[i + 1] != '&') return static_cast<char>(std::toupper(text[i + 1]));
      ++i;
    }
  return 0;
}

class KeyboardTest : public TMainWindowTest {
 protected:
  HWND OpenSetup() {
    Open(std::string(kAdapter) + "[Quota]\r\nEnabled=1\r\n");
    Form->Command(cmSetup);
    Setup = Form->FrmSetup()->Handle();
    ForceForegroundWindow(Setup, false);
    TApplication::Instance().ProcessMessages();
    Tabs = FindChild(Setup, "SysTabControl32");
    return Setup;
  }
  // The page shown now.
  HWND Page() {
    for (HWND page : FindChildren(Setup, "TTabPage"))
      if (IsWindowVisible(page)) return page;
    return nullptr;
  }
  int TabIndex() { return static_cast<int>(SendMessageA(Tabs, TCM_GETCURSEL, 0, 0)); }
  HWND Button(const char* caption) { return FindChildWithText(Setup, caption); }

  HWND Setup = nullptr, Tabs = nullptr;
};

// From the tabs, Tab goes through every control of the page that takes
// input, then OK and Cancel (Apply is off), and back to the tabs; Ctrl+Tab
// shows the next page, Ctrl+Shift+Tab the one before, each with the focus on
// the page's first control.
TEST_F(KeyboardTest, TabReachesEveryControlOfEachPageAndCtrlTabWalksThePages) {
  OpenSetup();
  ASSERT_EQ(GetFocus(), Tabs);
  const char* names[kPages] = {"network", "graph1", "graph2", "options", "quota"};
  for (int page = 0; page < kPages; ++page) {
    ASSERT_EQ(TabIndex(), page);
    std::set<HWND> expected;
    for (HWND child = GetWindow(Page(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if ((StyleOf(child) & WS_TABSTOP) && IsWindowVisible(child) && IsWindowEnabled(child))
        expected.insert(StopOf(child));
    std::vector<HWND> reached;
    for (int i = 0; i < 60; ++i) {
      Press(VK_TAB);
      if (GetFocus() == Tabs) break;
      reached.push_back(GetFocus());
      if (i == 0) Shoot(Setup, std::string("setup_keys_") + names[page]);
    }
    ASSERT_GE(reached.size(), 2u) << names[page];
    std::set<HWND> onPage;
    for (size_t i = 0; i + 2 < reached.size(); ++i) onPage.insert(StopOf(reached[i]));
    EXPECT_EQ(onPage, expected) << names[page];
    EXPECT_EQ(reached[reached.size() - 2], Button("OK")) << names[page];
    EXPECT_EQ(reached.back(), Button("Cancel")) << names[page];
    Press(VK_TAB, {VK_CONTROL});
    EXPECT_TRUE(IsChild(Page(), GetFocus())) << names[(page + 1) % kPages];
    Press(VK_TAB, {VK_SHIFT});
    ASSERT_EQ(GetFocus(), Tabs);
  }
  EXPECT_EQ(TabIndex(), 0);  // round again
  Press(VK_TAB, {VK_CONTROL, VK_SHIFT});
  EXPECT_EQ(TabIndex(), kPages - 1);
  EXPECT_TRUE(IsChild(Page(), GetFocus()));
}

// Every button and every caption of a control has an access key, unique on
// its page together with Apply's; the key takes the focus to its control.
TEST_F(KeyboardTest, AccessKeysAreUniqueOnEachPageAndReachTheirControls) {
  OpenSetup();
  for (int page = 0; page < kPages; ++page) {
    std::map<char, std::string> keys{{AccessKey(WindowText(Button("Apply"))), "Apply"}};
    for (HWND child = GetWindow(Page(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const std::string text = WindowText(child);
      const HWND next = GetWindow(child, GW_HWNDNEXT);
      const bool button = WindowClass(child) == "Button" && !text.empty() && text != "R" &&
                          (StyleOf(child) & BS_TYPEMASK) != BS_GROUPBOX;
      // A caption whose control has no text of its own to carry a key.
      const bool frame = WindowClass(child) == "Button" && !button;
      const bool caption = (WindowClass(child) == "Static" || frame) && !text.empty() && next &&
                           (StyleOf(next) & WS_TABSTOP) &&
                           WindowText(next).find('&') == std::string::npos &&
                           WindowClass(next) != "Button";
      if (!button && !caption) continue;
      const char key = AccessKey(text);
      EXPECT_NE(key, 0) << text;
      EXPECT_TRUE(keys.emplace(key, text).second)
          << text << " and " << keys[key] << " share " << key;
    }
    Press(VK_TAB, {VK_CONTROL});
  }
  // Quota: Alt+L to the limit's box, Alt+W to the warning's.
  for (int page = 0; page < 4; ++page) Press(VK_TAB, {VK_CONTROL});
  ASSERT_EQ(TabIndex(), 4);
  const auto captionOfFocus = [] { return WindowText(GetWindow(GetFocus(), GW_HWNDPREV)); };
  Press('L', {VK_MENU});
  EXPECT_EQ(captionOfFocus(), "&Limit:");
  Press('W', {VK_MENU});
  EXPECT_EQ(captionOfFocus(), "&Warn at:");
}

// The button Enter presses has the default frame: OK, while Tab goes over
// the tabs, radio buttons and lists; a push button while it has the focus.
TEST_F(KeyboardTest, TheDefaultFrameFollowsTheButtonEnterPresses) {
  OpenSetup();
  const auto framed = [this] {
    std::vector<std::string> buttons;
    for (const char* caption : {"OK", "Cancel", "Apply"})
      if ((StyleOf(Button(caption)) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) buttons.push_back(caption);
    return buttons;
  };
  const std::vector<std::string> ok{"OK"}, cancel{"Cancel"};
  for (int i = 0; i < 40 && GetFocus() != Button("Cancel"); ++i) {
    Press(VK_TAB);
    if (GetFocus() != Button("Cancel")) {
      EXPECT_EQ(framed(), ok) << WindowClass(GetFocus());
    }
  }
  ASSERT_EQ(GetFocus(), Button("Cancel"));
  EXPECT_EQ(framed(), cancel);
  Press(VK_TAB);  // the tabs
  EXPECT_EQ(framed(), ok);
  Press(VK_TAB);  // the first radio button
  EXPECT_EQ(framed(), ok);
  Press(VK_TAB, {VK_SHIFT});
  Press(VK_TAB, {VK_SHIFT});
  EXPECT_EQ(framed(), cancel);
  Press(VK_RETURN);  // Cancel
  EXPECT_EQ(Form->FrmSetup(), nullptr);
}

// Apply by its key leaves the focus on OK, so Enter presses OK.
TEST_F(KeyboardTest, EnterAfterApplyPressesOk) {
  OpenSetup();
  for (int page = 0; page < 3; ++page) Press(VK_TAB, {VK_CONTROL});
  Press('M', {VK_MENU});  // "Show &Main Menu"
  ASSERT_TRUE(IsWindowEnabled(Button("Apply")));
  Press('A', {VK_MENU});
  EXPECT_FALSE(IsWindowEnabled(Button("Apply")));
  EXPECT_EQ(GetFocus(), Button("OK"));
  Press(VK_RETURN);
  EXPECT_EQ(Form->FrmSetup(), nullptr);
  EXPECT_NE(Dir.Read("settings.ini").find("MainMenu=0"), std::string::npos);
}

// The Network page by keys alone: Alt+L counts all adapters; Alt+T, then
// Space on another row, makes a set of two, in the order ticked; Space again
// unticks; Enter is OK.
TEST_F(KeyboardTest, NetworkPageChoosesAllAdaptersAndASetByKeys) {
  Link.IfRows.push_back(TFakeLinkSource::Row(3, "Wi-Fi", {0, 2}));
  Link.IfRows.push_back(TFakeLinkSource::Row(4, "Bluetooth", {0, 3}));
  Link.IfRows.push_back(TFakeLinkSource::Row(5, "VPN", {0, 4}));
  Link.IfTable2 = true;
  Link.Flags[5].HardwareInterface = false;
  OpenSetup();
  const auto chosen = [this] {
    TIniFile32 settings(Dir.Path("settings.ini"), false);
    return ReadAdapterChoice(settings);
  };
  Press('L', {VK_MENU});
  Press(VK_TAB);
  Press(VK_END);  // the VPN adapter, which all adapters leave out, and why
  Shoot(Setup, "setup_network_all");
  Press('A', {VK_MENU});
  EXPECT_EQ(chosen(), (TAdapterChoice{true, {"Test Adapter @ 00-01-02-03-04-05"}}));
  EXPECT_TRUE(Form->Measurement().State.Choice.All);

  Press('T', {VK_MENU});
  Press(VK_TAB);
  HWND list = FindChild(Page(), "ListBox");
  ASSERT_EQ(GetFocus(), list);
  Press(VK_HOME);
  Press(VK_DOWN);
  Press(VK_SPACE);
  Press(VK_DOWN);
  Press(VK_SPACE);
  Press(VK_SPACE);
  Press(VK_UP);
  Shoot(Setup, "setup_network_set");
  Press(VK_RETURN);
  EXPECT_EQ(Form->FrmSetup(), nullptr);
  EXPECT_EQ(chosen(),
            (TAdapterChoice{false, {"Test Adapter @ 00-01-02-03-04-05", "Wi-Fi @ 00-02"}}));
  EXPECT_EQ(Form->Measurement().State.Choice, chosen());
}

// Ctrl+Tab walks the tabs of both report windows; Ctrl+C copies every
// selected row of a basic report.
TEST_F(KeyboardTest, ReportsSwitchTabsAndCopyRowsByKey) {
  MakeDirectory(Dir.Path("data"));
  Dir.Write("data\\38718.dat",
            "[38718]\r\nRecv=1572864\r\nXmit=12288\r\n\r\n"
            "[38719]\r\nRecv=2048\r\nXmit=1024\r\n");
  Open(kAdapter);
  Form->Command(cmBasicReports);
  TFrmReport& report = *Form->FrmReport();
  ForceForegroundWindow(report.Handle(), false);
  TApplication::Instance().ProcessMessages();
  Press(VK_TAB, {VK_CONTROL});
  EXPECT_EQ(report.ActiveTab(), 1);
  Press(VK_TAB, {VK_CONTROL, VK_SHIFT});
  Press(VK_TAB, {VK_CONTROL, VK_SHIFT});
  EXPECT_EQ(report.ActiveTab(), 4);  // the last: hourly
  Press(VK_TAB, {VK_CONTROL});
  ASSERT_EQ(report.ActiveTab(), 0);
  TPTListView& daily = report.List(0);
  FocusControl(daily.Handle());
  daily.SetSelected(0);
  Press(VK_DOWN, {VK_SHIFT});  // the first two days
  Press('C', {VK_CONTROL});
  EXPECT_EQ(ClipboardText(),
            "1/1/2006 - DL: 1.50 MB UL: 12 KB TOTAL: 1.51 MB\r\n"
            "1/2/2006 - DL: 2 KB UL: 1 KB TOTAL: 3 KB");

  Form->Command(cmAdvancedStats);
  HWND stats = Form->FrmStats()->Handle();
  ForceForegroundWindow(stats, false);
  TApplication::Instance().ProcessMessages();
  HWND tabs = FindChild(stats, "SysTabControl32");
  Press(VK_TAB, {VK_CONTROL});
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
  Press(VK_TAB, {VK_CONTROL, VK_SHIFT});
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
}

}  // namespace
