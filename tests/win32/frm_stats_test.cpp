// The advanced statistics opened from the main window's menu over a year of
// month files and a log of a few hundred connections; the log's menu used by
// the keyboard alone.
#include "reports/frm_stats_win32.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "traffic/usage_book.h"
#include "ui/force_foreground_win32.h"
#include "win32/main_window_fixture_win32.h"
#include "win32/typing_win32.h"

namespace {

int Serial(int year, int month, int day) {
  return EncodeDaySerial(year, month, day);
}

class FrmStatsTest : public TMainWindowTest {
 protected:
  // Every day of 2025 with two entries, and 300 connections; the third log
  // line is damaged.
  void WriteYear() {
    MakeDirectory(Dir.Path("data"));
    for (int month = 1; month <= 12; ++month) {
      std::string text;
      for (int day = 1; day <= DaysInMonth(2025, month); ++day) {
        text += "[" + std::to_string(Serial(2025, month, day)) + "]\r\nHours=120\r\nCalls=2\r\n" +
                "Recv=2048\r\nXmit=1024\r\n";
        for (const char* entry : {"Home ISP", "Work VPN"})
          text += std::string(entry) + "=60\r\n" + entry + "-Calls=1\r\n" + entry +
                  "-Recv=1024\r\n" + entry + "-Xmit=512\r\n";
        text += "\r\n";
      }
      Dir.Write("data\\" + std::to_string(Serial(2025, month, 1)) + ".dat", text);
    }
    std::string log;
    for (int i = 0; i < 300; ++i) {
      const TDateTime start = Serial(2025, 1, 1) + i * 1.2 + 0.3;
      log += ConnectionLogLine(start, start + (i % 50 + 1) / 1440.0, 1,
                               i % 2 ? "Home ISP" : "Work VPN", i * 1000, i * 10, '.') +
             "\r\n";
      if (i == 2) log += "45000.5,oops\r\n";
    }
    Dir.Write("Connection.log", log);
  }

  // Opens the window and answers its note on the damaged line, waiting
  // for it that long.
  TFrmStats& OpenStats(DWORD noteMs = 10000) {
    std::thread user([this, noteMs] {
      HWND box = WaitForWindow({"Advanced Reports", "#32770", GetCurrentProcessId()}, noteMs);
      if (!box) return;
      Note = DialogText(box);
      PressButton(box, "OK");
    });
    Form->Command(cmAdvancedStats);
    for (int i = 0; i < 40; ++i) PumpMessages(50);
    user.join();
    return *Form->FrmStats();
  }
  HWND StatsWindow() { return Form->FrmStats()->Handle(); }
  std::string Note;

  // A day picked in a date picker, as the user picks it.
  void Pick(int index, int serial) {
    HWND picker = FindChildren(StatsWindow(), "SysDateTimePick32").at(index);
    const TSystemTime date = DecodeDaySerial(serial);
    NMDATETIMECHANGE change{};
    change.nmhdr = {picker, static_cast<UINT_PTR>(GetDlgCtrlID(picker)),
                    static_cast<UINT>(DTN_DATETIMECHANGE)};
    change.st.wYear = static_cast<WORD>(date.Year);
    change.st.wMonth = static_cast<WORD>(date.Month);
    change.st.wDay = static_cast<WORD>(date.Day);
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&change.st));
    SendMessageA(GetParent(picker), WM_NOTIFY, change.nmhdr.idFrom,
                 reinterpret_cast<LPARAM>(&change));
  }
  void Click(const char* caption) {
    SendMessageA(FindChildWithText(StatsWindow(), caption), BM_CLICK, 0, 0);
  }
  void ChooseEntry(int index) {
    HWND box = FindChild(StatsWindow(), "ComboBox");
    SendMessageA(box, CB_SETCURSEL, index, 0);
    SendMessageA(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
  }
};

TEST_F(FrmStatsTest, MonthAndRangeFromTheMonthFilesForAnEntryAndForAll) {
  WriteYear();
  Open(kAdapter);
  TFrmStats& stats = OpenStats();
  EXPECT_EQ(WindowText(StatsWindow()), "Advanced Reports");
  Pick(0, Serial(2025, 2, 10));
  EXPECT_EQ(stats.Entries(), (std::vector<std::string>{"Home ISP", "Work VPN"}));
  EXPECT_EQ(stats.RowTexts(0), (std::vector<std::string>{"01:00", "1", "1 KB", "512 bytes"}));
  EXPECT_EQ(stats.RowTexts(3), (std::vector<std::string>{"56:00", "56", "56 KB", "28 KB"}));
  ChooseEntry(1);
  Shoot(StatsWindow(), "stats_month");

  Click("User defined range");
  Pick(1, Serial(2025, 1, 15));
  Pick(2, Serial(2025, 3, 10));
  EXPECT_EQ(WindowText(FindChildWithText(StatsWindow(), "Range")), "Range");
  EXPECT_EQ(stats.RowTexts(1)[1], std::to_string(17 + 28 + 10));
  Shoot(StatsWindow(), "stats_range");
  ShowTab(StatsWindow(), 1);
  Shoot(StatsWindow(), "stats_log");

  // A month without a file: zeros, and still no file.
  Click("Month");
  Pick(0, Serial(2026, 6, 1));
  EXPECT_EQ(stats.RowTexts(3), (std::vector<std::string>{"00:00", "0", "0 bytes", "0 bytes"}));
  EXPECT_FALSE(
      std::filesystem::exists(Dir.Path("data\\" + std::to_string(Serial(2026, 6, 1)) + ".dat")));
}

// A month file that cannot be read is named once while the window is open,
// however often its month is chosen again.
TEST_F(FrmStatsTest, AnUnreadableMonthFileIsToldOnce) {
  MakeDirectory(Dir.Path("data"));
  const std::string month = MonthFileName(Dir.Folder(), LocalNow());
  Dir.Write(month.substr(Dir.Folder().size()),
            std::string("ESTREAM\x01", 8) + std::string(40, 'Z'));
  Open(kAdapter);
  OpenStats();
  EXPECT_EQ(Note.substr(0, month.size() + 12), "Not read: " + month + ": ") << Note;
  Pick(0, Serial(2025, 1, 1));
  Pick(0, static_cast<int>(LocalNow()));
  PumpMessages(200);
  EXPECT_TRUE(FindTopWindows({"Advanced Reports", "#32770", GetCurrentProcessId()}).empty());
}

TEST_F(FrmStatsTest, LogOpensNewestFirstAndTheEntryComesBack) {
  WriteYear();
  Open(kAdapter);
  TFrmStats& stats = OpenStats();
  TPTListView& log = stats.LV3();
  ASSERT_EQ(log.Count(), 300);
  EXPECT_EQ(Note, "1 damaged lines of Connection.log were left out.");
  const auto start = [&](int i) {
    return static_cast<const TConnectionRecord*>(log.Data(i))->StartTime;
  };
  EXPECT_GT(start(0), start(1));
  Pick(0, Serial(2025, 2, 10));
  ChooseEntry(1);
  SendMessageA(StatsWindow(), WM_CLOSE, 0, 0);
  PumpMessages(100);
  ASSERT_EQ(Form->FrmStats(), nullptr);
  TFrmStats& again = OpenStats();
  Pick(0, Serial(2025, 2, 10));
  HWND box = FindChild(StatsWindow(), "ComboBox");
  EXPECT_EQ(WindowText(box), "Work VPN");
  EXPECT_EQ(again.LV3().Count(), 300);
}

// The log list's menu by keys: every row selected and copied, the rows
// exported in the order shown; the focus on the list after the save dialog.
TEST_F(FrmStatsTest, LogMenuSelectsCopiesAndExportsByKeys) {
  const auto line = [](int month, int day, int hour, double seconds, int reason, const char* entry,
                       double received, double sent) {
    const TDateTime start = EncodeDateTime({2026, month, day, hour, 0, 0, 0});
    return ConnectionLogLine(start, start + seconds / 86400, reason, entry, received, sent, '.') +
           "\r\n";
  };
  Dir.Write("Connection.log", line(12, 7, 10, 312, 1, "Home ISP", 1536, 512) +
                                  line(11, 30, 23, 7200, 2, "Work VPN", 2048000, 4096) +
                                  line(12, 1, 8, 30, 1, "Alpha", 100, 10));
  Open(kAdapter);
  TFrmStats& stats = OpenStats(500);
  ShowTab(StatsWindow(), 1);
  TPTListView& log = stats.LV3();
  ForceForegroundWindow(StatsWindow(), false);
  FocusControl(log.Handle());
  TApplication::Instance().ProcessMessages();
  EXPECT_EQ(log.FocusedRow(), 0);
  EXPECT_EQ(log.Selected(), -1);

  Type({{VK_APPS}, {'A'}});
  Press('C', {VK_CONTROL});
  EXPECT_EQ(
      ClipboardText(),
      "Home ISP - 12/7/2026 10:00:00 AM - Time Online: 00:05:12 Received: 1 KB Sent: 512 bytes\r\n"
      "Alpha - 12/1/2026 8:00:00 AM - Time Online: 00:00:30 Received: 100 bytes Sent: 10 bytes\r\n"
      "Work VPN - 11/30/2026 11:00:00 PM - Time Online: 02:00:00 Received: 1.95 MB Sent: 4 KB");

  TSaveDialogVisit saving;
  std::thread user([&] { saving.Answer(Dir.Path("log.csv")); });
  Type({{VK_APPS}, {'E'}});
  user.join();
  ASSERT_TRUE(saving.Came);
  EXPECT_EQ(saving.Name, "tallyline-log-2026-12.csv");
  EXPECT_EQ(Dir.Read("log.csv"),
            "ENTRY,START,END,SECONDS,RECEIVED,SENT,REASON\r\n"
            "\"Home ISP\",2026-12-07 10:00:00,2026-12-07 10:05:12,312,1536,512,1\r\n"
            "Alpha,2026-12-01 08:00:00,2026-12-01 08:00:30,30,100,10,1\r\n"
            "\"Work VPN\",2026-11-30 23:00:00,2026-12-01 01:00:00,7200,2048000,4096,2\r\n");
  EXPECT_EQ(GetFocus(), log.Handle());
  Press(VK_END);
  Press('C', {VK_CONTROL});
  EXPECT_EQ(
      ClipboardText(),
      "Work VPN - 11/30/2026 11:00:00 PM - Time Online: 02:00:00 Received: 1.95 MB Sent: 4 KB");
}

}  // namespace
