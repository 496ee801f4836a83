// The main window created in this process in a scratch folder, measuring a
// fake link.
#include "app/frm_main_win32.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "driver/window_driver_win32.h"
#include "platform/format_settings.h"
#include "ui/application_win32.h"
#include "ui/force_foreground_win32.h"
#include "win32/main_window_fixture_win32.h"

namespace {

class FrmMainTest : public TMainWindowTest {};

TEST_F(FrmMainTest, CreationSetsCaptionBoundsAndDataFolder) {
  TFrmMain& form = Open();
  EXPECT_EQ(form.Caption(), "Tallyline v1.43");
  RECT r;
  GetWindowRect(form.Handle(), &r);
  EXPECT_EQ(r.left, 492);
  EXPECT_EQ(r.top, 369);
  EXPECT_EQ(r.right - r.left, 584);
  EXPECT_EQ(r.bottom - r.top, 282);
  EXPECT_TRUE(std::filesystem::is_directory(Dir.Path("data")));
  EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), TApplication::Instance().Handle());
}

TEST_F(FrmMainTest, EmptySettingsGiveTheDefaults) {
  TFrmMain& form = Open();
  EXPECT_FALSE(form.Measurement().State.DialupMode);
  const TVexaMeter& graph = form.VexaMeter1();
  EXPECT_EQ(graph.MaxValueType(), tmvAuto);
  EXPECT_EQ(graph.MinMaxValue(), 1024);
  EXPECT_EQ(graph.HistoryMax(), 6 * 3600);
  EXPECT_EQ(graph.Bar1Color(), 0xFF0000u);
  EXPECT_EQ(graph.Bar2Color(), 0x0000FFu);
  EXPECT_EQ(graph.GraphBackgroundColor(), 0xFFFFFFu);
  EXPECT_EQ(GetMenu(form.Handle()), form.MainMenu());
  EXPECT_TRUE(form.sBar().Visible());
  EXPECT_FALSE(form.SWbar().Visible());
  EXPECT_EQ(form.Measurement().State.CUI, 1);
  EXPECT_EQ(form.VexaTray1().ImageIndex(), 1);
}

TEST_F(FrmMainTest, CustomMaximumIsKilobytesPerSecond) {
  TFrmMain& form = Open("[Settings]\r\nMaxValueType=16\r\nMaxValue=100\r\nMainMenu=0\r\n");
  EXPECT_EQ(form.VexaMeter1().MaxValueType(), tmvFixed);
  EXPECT_EQ(form.VexaMeter1().MaxValue(), 102400);
  EXPECT_EQ(GetMenu(form.Handle()), nullptr);
}

TEST_F(FrmMainTest, BorderlessTwiceRestoresCaptionMenuAndTaskbarButton) {
  TFrmMain& form = Open();
  ShowWindow(form.Handle(), SW_SHOW);
  SendMessageA(form.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);  // remembers the style
  PumpMessages();
  const LONG_PTR style = GetWindowLongPtrA(form.Handle(), GWL_STYLE);
  HWND application = TApplication::Instance().Handle();

  form.ToggleBorderless();
  EXPECT_TRUE(form.Borderless());
  EXPECT_EQ(GetWindowLongPtrA(form.Handle(), GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(GetMenu(form.Handle()), nullptr);
  EXPECT_FALSE(IsWindowVisible(application));
  EXPECT_TRUE(GetWindowLongPtrA(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  form.ToggleBorderless();
  EXPECT_FALSE(form.Borderless());
  EXPECT_EQ(GetWindowLongPtrA(form.Handle(), GWL_STYLE) & WS_CAPTION, style & WS_CAPTION);
  EXPECT_EQ(GetMenu(form.Handle()), form.MainMenu());
  EXPECT_TRUE(IsWindowVisible(application));
  EXPECT_FALSE(GetWindowLongPtrA(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(FrmMainTest, APlacementOnNoScreenOrWithoutSizeKeepsTheDesignBounds) {
  for (const char* window :
       {"1=-30000\r\n2=-30000\r\n3=584\r\n4=282", "1=10\r\n2=10\r\n3=0\r\n4=282"}) {
    TFrmMain& form = Open(std::string("[Window]\r\n") + window + "\r\n");
    RECT r;
    GetWindowRect(form.Handle(), &r);
    EXPECT_EQ(r.left, 492) << window;
    EXPECT_EQ(r.right - r.left, 584) << window;
    Close();
  }
}

TEST_F(FrmMainTest, BrowseModeCoversTheHistoryAtOnce) {
  TFrmMain& form = Open();
  for (int i = 0; i < 600; ++i) form.VexaMeter1().AddValues(i, i);
  form.Command(cmBrowseMode);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(FindChild(form.Handle(), "ScrollBar"), SB_CTL, &info);
  EXPECT_EQ(info.nMax, form.VexaMeter1().ScrollMax());
  EXPECT_EQ(info.nPos, info.nMax);
  EXPECT_GT(info.nMax, 0);
  form.Command(cmBrowseMode);
  EXPECT_EQ(form.VexaMeter1().BrowseOffset(), -1);
}

TEST_F(FrmMainTest, LastPanelHasABevelFrom560PixelsOn) {
  TFrmMain& form = Open();
  SetWindowPos(form.Handle(), nullptr, 0, 0, 560, 282, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(form.sBar().Panel(8).Bevel, TPanelBevel::Lowered);
  SetWindowPos(form.Handle(), nullptr, 0, 0, 559, 282, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(form.sBar().Panel(8).Bevel, TPanelBevel::None);
  EXPECT_EQ(form.SWbar().Panel(4).Width, 559);
}

TEST_F(FrmMainTest, StatusTextsAfterThreeTicks) {
  TFrmMain& form = Open(kAdapter);
  Tick(0, 0);
  Tick(0, 0);
  Tick(1572864, 1024);
  EXPECT_EQ(form.sBar().ShownText(2), "28.80 Kbps");
  EXPECT_EQ(form.sBar().ShownText(5), "D/L: 1.50 MB @ 1.50 MB/s");
  EXPECT_EQ(form.sBar().ShownText(7), "U/L: 1 KB @ 1.0 KB/s");
  Link.IfRows[0].dwSpeed = 10000000;
  Tick(1572864, 1024);
  EXPECT_EQ(form.sBar().ShownText(2), "10 Mbps");
  EXPECT_EQ(form.VexaMeter1().SampleCount(), 2);
}

TEST_F(FrmMainTest, StatusTextsInBitUnits) {
  TFrmMain& form = Open(std::string(kAdapter) + "[Settings]\r\nScale=1\r\n");
  Tick(0, 0);
  Tick(0, 0);
  Tick(1572864, 1024);
  EXPECT_EQ(form.sBar().ShownText(5), "D/L: 1.50 MB @ 12288.00 kbps");
  EXPECT_EQ(form.Rates().UnitSuffix, " kbps");
}

TEST_F(FrmMainTest, StopWatchWaitsForBytesBothWaysAndSurvivesRestarts) {
  Open(kAdapter);
  Form->Command(cmStopWatchStart);
  EXPECT_TRUE(Form->SWbar().Visible());
  Tick(0, 0);
  Tick(0, 0);
  Tick(4096, 0);
  EXPECT_EQ(Form->SWbar().ShownText(2), "");  // nothing sent yet
  Tick(8192, 2048);
  EXPECT_EQ(Form->SWbar().ShownText(1), "00:04");
  EXPECT_EQ(Form->SWbar().ShownText(2), "D/L: 8 KB @ 2.0 KB/s");

  // Stopped, it comes back with its values and does not count.
  Form->Command(cmStopWatchStop);
  Close();
  Open(Dir.Read("settings.ini"));
  EXPECT_FALSE(Form->Measurement().State.StopWatchRunning);
  EXPECT_EQ(Form->SWbar().ShownText(1), "00:04");
  Tick(9000, 3000);
  EXPECT_EQ(Form->Measurement().State.StopWatchTicks, 4);

  // Running, it goes on counting in the next run.
  Form->Command(cmStopWatchStart);
  Close();
  Open(Dir.Read("settings.ini"));
  EXPECT_TRUE(Form->Measurement().State.StopWatchRunning);
  Tick(9000, 3000);
  EXPECT_EQ(Form->Measurement().State.StopWatchTicks, 5);
}

TEST_F(FrmMainTest, ExitWritesPlacementStopWatchAndBorderless) {
  Open();
  Close();
  TIniFile32 settings(Dir.Path("settings.ini"), false);
  EXPECT_EQ(settings.ReadInteger("Window", "3", 0), 584);
  EXPECT_TRUE(settings.SectionExists("StopWatch"));
  EXPECT_EQ(settings.ReadString("Settings", "Borderless", ""), "0");
}

TEST_F(FrmMainTest, CloseCancelledKeepsTheWindowAndConfirmedEndsIt) {
  Open();
  EXPECT_EQ(CloseAnswering("Cancel"),
            "Are you sure you want to close Tallyline?\n"
            "This will prevent Tallyline from keeping stats!");
  EXPECT_TRUE(IsWindow(Form->Handle()));
  HWND window = Form->Handle();
  CloseAnswering("OK");
  EXPECT_FALSE(IsWindow(window));
}

// Exit from the tray while the question is up asks nothing more; the one
// answer closes the program once.
TEST_F(FrmMainTest, ExitWhileTheQuestionIsUpAsksOnce) {
  Open();
  HWND window = Form->Handle();
  size_t boxes = 0;
  std::thread user([&] {
    const TWindowQuery question{"Tallyline", "#32770", GetCurrentProcessId()};
    HWND box = WaitForWindow(question, 10000);
    if (!box) return;
    PostMessageA(window, WM_COMMAND, cmExit, 0);
    Sleep(500);
    boxes = FindTopWindows(question).size();
    for (HWND each : FindTopWindows(question)) PressButton(each, "OK");
  });
  SendMessageA(window, WM_CLOSE, 0, 0);
  user.join();
  PumpMessages();
  EXPECT_EQ(boxes, 1u);
  EXPECT_FALSE(IsWindow(window));
}

// The installer of this folder asks the copy to end: it ends as Exit's OK
// ends it, without the question, with what it counted written. A request
// for another folder is not for this copy.
TEST_F(FrmMainTest, AnExitRequestForItsFolderEndsItWithTheTotalsWritten) {
  Open(kAdapter);
  Tick(0, 0);
  Tick(0, 0);
  Tick(5000, 700);
  HWND window = Form->Handle();
  const auto request = [&](std::string folder) {
    const COPYDATASTRUCT data{TFrmMain::kExitRequest, static_cast<DWORD>(folder.size() + 1),
                              folder.data()};
    return SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  };
  EXPECT_EQ(request(Dir.Path("other")), FALSE);
  PumpMessages();
  EXPECT_TRUE(IsWindow(window));
  const std::string folder = Dir.Folder().substr(0, Dir.Folder().size() - 1);
  EXPECT_EQ(request(folder), TRUE);
  PumpMessages();
  EXPECT_FALSE(IsWindow(window));
  TIniFile32 month(MonthFileName(Dir.Folder(), Link.Clock), false);
  EXPECT_EQ(month.ReadInt64(std::to_string(static_cast<int>(Link.Clock)), "Recv", 0), 5000);
}

// The graph's hint goes when the graph's menu opens over it, and when
// another window comes in front.
TEST_F(FrmMainTest, TheHintGivesWayToTheMenuAndToAnotherWindow) {
  Open(kAdapter);
  for (int second = 0; second < 40; ++second) Tick(second * 5000, second * 100);
  ShowWindow(Form->Handle(), SW_SHOWNORMAL);
  ForceForegroundWindow(Form->Handle(), false);
  TVexaMeter& meter = Form->VexaMeter1();
  const auto hover = [&](int fromRight) {
    const TRect& plot = meter.PlotRect();
    POINT at{plot.Right - fromRight, (plot.Top + plot.Bottom) / 2};
    POINT screen = at;
    ClientToScreen(meter.Handle(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageA(meter.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    PumpMessages(800);
    return screen;
  };
  const auto hint = [] {
    for (HWND window : FindTopWindows({"", "THintWindow", GetCurrentProcessId()}))
      if (IsWindowVisible(window)) return true;
    return false;
  };
  const POINT at = hover(10);
  ASSERT_TRUE(hint());
  bool hintWithMenu = true;
  std::thread user([&] {
    if (!WaitForWindow({"", "#32768", GetCurrentProcessId()}, 5000)) return;
    hintWithMenu = hint();
    SendMessageA(Form->Handle(), WM_CANCELMODE, 0, 0);
  });
  SendMessageA(Form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(meter.Handle()),
               MAKELPARAM(at.x, at.y));
  user.join();
  EXPECT_FALSE(hintWithMenu);

  ForceForegroundWindow(Form->Handle(), false);
  hover(30);
  ASSERT_TRUE(hint());
  Form->Command(cmBasicReports);
  PumpMessages(200);
  EXPECT_FALSE(hint());
}

TEST_F(FrmMainTest, SettingChangeReadsTheLocaleAgain) {
  TFrmMain& form = Open();
  char saved[16] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved, sizeof saved);
  ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, "'"));
  SendMessageA(form.Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("intl"));
  const char changed = FormatSettings().ThousandSeparator;
  SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved);
  SendMessageA(form.Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("intl"));
  EXPECT_EQ(changed, '\'');
  EXPECT_EQ(FormatSettings().ThousandSeparator, saved[0]);
}

}  // namespace
