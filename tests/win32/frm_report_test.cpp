// The basic reports opened from the main window's menu over two years of
// month files: tabs, sorting, and an export through the real save dialog;
// the billing periods while the quota is watched; and used by the keyboard
// alone: the lists' menu, and the focus after the dialogs it opens.
#include "reports/frm_report_win32.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/product.h"
#include "platform/files.h"
#include "ui/application_win32.h"
#include "ui/common_dialogs_win32.h"
#include "ui/force_foreground_win32.h"
#include "win32/main_window_fixture_win32.h"
#include "win32/typing_win32.h"

namespace {

class FrmReportTest : public TMainWindowTest {
 protected:
  // Every day of 2025 and 2026, one month file per month.
  void WriteTwoYears() {
    MakeDirectory(Dir.Path("data"));
    for (int month = 0; month < 24; ++month) {
      const int year = 2025 + month / 12, first = EncodeDaySerial(year, month % 12 + 1, 1);
      std::string text;
      for (int day = first; day < first + DaysInMonth(year, month % 12 + 1); ++day)
        text += "[" + std::to_string(day) + "]\r\nHours=" + std::to_string(day % 5000) +
                "\r\nRecv=" + std::to_string(day % 977 * 1048576LL) +
                "\r\nXmit=" + std::to_string(day % 389 * 65536LL) + "\r\n\r\n";
      Dir.Write("data\\" + std::to_string(first) + ".dat", text);
    }
  }
  HWND ReportWindow() { return Form->FrmReport()->Handle(); }

  // The first day of January to April 2006, their downloads in another
  // order: 3, 1, 4 and 2 KB.
  void WriteFourMonths() {
    MakeDirectory(Dir.Path("data"));
    const struct {
      int Month, Recv, Xmit;
    } days[] = {{1, 3072, 1024}, {2, 1024, 0}, {3, 4096, 0}, {4, 2048, 0}};
    for (const auto& day : days) {
      const std::string serial = std::to_string(EncodeDaySerial(2006, day.Month, 1));
      Dir.Write("data\\" + serial + ".dat", "[" + serial + "]\r\nRecv=" + std::to_string(day.Recv) +
                                                "\r\nXmit=" + std::to_string(day.Xmit) + "\r\n");
    }
  }

  // The window from the main window's menu, in the foreground as a user
  // has it, with the focus where it opens: on the tabs. Tab goes into the
  // daily list.
  TFrmReport& OpenReport() {
    Open(kAdapter);
    Form->Command(cmBasicReports);
    TFrmReport& report = *Form->FrmReport();
    ForceForegroundWindow(report.Handle(), false);
    TApplication::Instance().ProcessMessages();
    return report;
  }

  // The first captions of a list, in the order shown.
  static std::vector<std::string> Captions(const TPTListView& list, int count) {
    std::vector<std::string> captions;
    for (int i = 0; i < count && i < list.Count(); ++i) captions.push_back(list.Caption(i));
    return captions;
  }

  // What tallyline-cli prints for the folder.
  std::string Cli(const std::string& arguments) {
    const std::string folder = Dir.Folder().substr(0, Dir.Folder().size() - 1);
    const std::string command = "\"\"" + ExeFolder() + "tallyline-cli.exe\" " + arguments +
                                " --folder \"" + folder + "\" 2>nul\"";
    FILE* pipe = _popen(command.c_str(), "rb");
    std::string out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    _pclose(pipe);
    return out;
  }
};

TEST_F(FrmReportTest, OpensOnceFromTheMenuWithEveryPeriod) {
  WriteTwoYears();
  Open(kAdapter);
  Form->Command(cmBasicReports);
  ASSERT_NE(Form->FrmReport(), nullptr);
  const TFrmReport* first = Form->FrmReport();
  Form->Command(cmBasicReports);
  EXPECT_EQ(Form->FrmReport(), first);
  TFrmReport& report = *Form->FrmReport();
  EXPECT_EQ(WindowText(ReportWindow()), "Basic Reports");
  EXPECT_EQ(report.List(rtDaily).Count(), 730);
  EXPECT_EQ(report.List(rtMonthly).Count(), 24);
  EXPECT_EQ(report.List(rtYearly).Count(), 2);
  const char* names[] = {"report_daily", "report_weekly", "report_monthly", "report_yearly"};
  for (int tab = rtDaily; tab <= rtYearly; ++tab) {
    ShowTab(ReportWindow(), tab);
    Shoot(ReportWindow(), names[tab]);
    // Every column in view, beside the scroll bar of a long list.
    TPTListView& list = report.List(static_cast<TReportTab>(tab));
    RECT client;
    GetClientRect(list.Handle(), &client);
    int width = 0;
    for (int column = 0; column < 5; ++column) width += list.ColumnWidth(column);
    EXPECT_LE(width, client.right) << names[tab];
    // And every time whole, as the screen shows it.
    for (int row = 0; row < std::min(list.Count(), 3); ++row)
      EXPECT_EQ(CellTextCut(list.Handle(), row, 4), 0) << names[tab] << " " << row;
  }
  SendMessageA(ReportWindow(), WM_CLOSE, 0, 0);
  PumpMessages(100);
  EXPECT_EQ(Form->FrmReport(), nullptr);
}

TEST_F(FrmReportTest, SortedByDownloadAndExportedAsTheCommandLinePrintsIt) {
  WriteTwoYears();
  Open(kAdapter);
  Form->Command(cmBasicReports);
  TFrmReport& report = *Form->FrmReport();
  ShowTab(ReportWindow(), rtMonthly);
  TPTListView& months = report.List(rtMonthly);
  HWND header = FindChild(months.Handle(), "SysHeader32");
  NMLISTVIEW click{};
  click.hdr = {months.Handle(), static_cast<UINT_PTR>(GetDlgCtrlID(months.Handle())),
               static_cast<UINT>(LVN_COLUMNCLICK)};
  click.iSubItem = 1;
  SendMessageA(GetParent(months.Handle()), WM_NOTIFY, click.hdr.idFrom,
               reinterpret_cast<LPARAM>(&click));
  PumpMessages(100);
  const auto download = [&](int i) {
    return static_cast<const TReportRow*>(months.Data(i))->Download;
  };
  EXPECT_GE(download(0), download(1));
  EXPECT_GE(download(1), download(23));
  HDITEMA item{};
  item.mask = HDI_FORMAT;
  SendMessageA(header, HDM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_TRUE(item.fmt & HDF_SORTUP);
  Shoot(ReportWindow(), "report_monthly_by_dl");

  // Back to the order of the months, then through the save dialog as a user.
  click.iSubItem = 0;
  SendMessageA(GetParent(months.Handle()), WM_NOTIFY, click.hdr.idFrom,
               reinterpret_cast<LPARAM>(&click));
  SendMessageA(GetParent(months.Handle()), WM_NOTIFY, click.hdr.idFrom,
               reinterpret_cast<LPARAM>(&click));
  const std::string path = Dir.Path("months.csv");
  std::thread user([&] {
    HWND dialog = WaitForWindow({"Save As", "#32770", GetCurrentProcessId()}, 10000);
    if (!dialog) return;
    SetWindowTextA(FindChild(dialog, "Edit"), path.c_str());
    PressButton(dialog, "Save");
  });
  report.ExporttoCSV1Click();
  user.join();
  EXPECT_EQ(Dir.Read("months.csv"), Cli("report monthly --csv"));
  EXPECT_EQ(Dir.Read("months.csv").substr(0, 36), "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n");
}

// With the limit and the share of it each period used, in columns as wide
// as their texts, which show whole.
TEST_F(FrmReportTest, BillingPeriodsOnlyWhileTheQuotaIsWatched) {
  WriteTwoYears();
  HWND owner = TApplication::Instance().Handle();
  TQuotaSettings quota;
  quota.StartDay = 15;
  quota.Limit = 20LL << 30;
  EXPECT_EQ(TFrmReport(owner, Dir.Folder(), quota, {}).TabCount(), 5);
  quota.Enabled = true;
  TFrmReport report(owner, Dir.Folder(), quota, {});
  ASSERT_EQ(report.TabCount(), 6);
  // From the period of 1 January 2025 to that of 31 December 2026.
  TPTListView& periods = report.List(TFrmReport::kBillingPeriodsTab);
  EXPECT_EQ(periods.Count(), 25);
  EXPECT_EQ(static_cast<const TReportRow*>(periods.Data(0))->RowDate,
            EncodeDaySerial(2024, 12, 15));
  ShowTab(report.Handle(), TFrmReport::kBillingPeriodsTab);
  const auto cell = [&](int row, int column) {
    char text[64] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(periods.Handle(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return std::string(text);
  };
  // 1 to 14 January 2025: 10,115 MiB down and 132.56 MiB up of 20 GiB.
  EXPECT_EQ(cell(0, 5), "20.00 GB ");
  EXPECT_EQ(cell(0, 6), "50.0% ");
  // A column out of view would show none of its text. The texts are
  // measured again in the font of another DPI.
  const auto expectWhole = [&](int dpi) {
    for (int column = 0; column < 7; ++column)
      for (int row = 0; row < 3; ++row)
        EXPECT_EQ(CellTextCut(periods.Handle(), row, column), 0)
            << dpi << ": " << row << " " << column;
  };
  expectWhole(96);
  Shoot(report.Handle(), "report_billing");
  RECT frame;
  GetWindowRect(report.Handle(), &frame);
  frame.right = frame.left + (frame.right - frame.left) * 3 / 2;
  frame.bottom = frame.top + (frame.bottom - frame.top) * 3 / 2;
  SendMessageA(report.Handle(), kWmDpiChanged, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&frame));
  PumpMessages(100);
  expectWhole(144);
}

// Export and Save chart by keys, through the real save dialog: it suggests
// a name after the tab and the period of the selected row, opens in the
// documents at first and in the folder saved to after that; once it is
// gone, the keys work in the list again.
TEST_F(FrmReportTest, TheSaveDialogsSuggestANameAndTheFocusComesBack) {
  WriteFourMonths();
  ForgetSaveDialogFolder();
  TFrmReport& report = OpenReport();
  TPTListView& daily = report.List(rtDaily);
  Press(VK_TAB);
  ASSERT_EQ(GetFocus(), daily.Handle());
  // The focus shows on the first row, which is not selected, and the arrows
  // go on from there.
  EXPECT_EQ(daily.FocusedRow(), 0);
  EXPECT_EQ(daily.Selected(), -1);
  Shoot(report.Handle(), "report_focus");
  Press(VK_DOWN);
  EXPECT_EQ(daily.Selected(), 1);

  char documents[MAX_PATH] = "";
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents), S_OK);
  TSaveDialogVisit saving;
  saving.OnShown = [](HWND dialog) { Shoot(dialog, "report_save_dialog"); };
  std::thread user([&] { saving.Answer(Dir.Path("rows.csv")); });
  Type({{VK_APPS}, {'E'}});
  user.join();
  ASSERT_TRUE(saving.Came);
  EXPECT_EQ(saving.Name, "tallyline-daily-2006-02.csv");
  EXPECT_EQ(saving.Folder, documents);
  EXPECT_EQ(Dir.Read("rows.csv"),
            "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n01-01-2006,3072,1024,4096,0\r\n"
            "02-01-2006,1024,0,1024,0\r\n03-01-2006,4096,0,4096,0\r\n"
            "04-01-2006,2048,0,2048,0\r\n");
  EXPECT_EQ(GetFocus(), daily.Handle());
  Press(VK_DOWN);
  Press('C', {VK_CONTROL});
  EXPECT_EQ(ClipboardText(), "3/1/2006 - DL: 4 KB UL: 0 bytes TOTAL: 4 KB");

  TSaveDialogVisit cancelling;
  cancelling.OnShown = [](HWND dialog) { Shoot(dialog, "report_save_chart_dialog"); };
  user = std::thread([&] { cancelling.Answer(""); });
  Type({{VK_APPS}, {'P'}});
  user.join();
  ASSERT_TRUE(cancelling.Came);
  EXPECT_EQ(cancelling.Name, "tallyline-daily-2006-03.png");
  EXPECT_EQ(cancelling.Folder, Dir.Folder().substr(0, Dir.Folder().size() - 1));
  EXPECT_EQ(GetFocus(), daily.Handle());
  Press(VK_UP);
  Press('C', {VK_CONTROL});
  EXPECT_EQ(ClipboardText(), "2/1/2006 - DL: 1 KB UL: 0 bytes TOTAL: 1 KB");
}

// The boxes that tell a chart or an export could not be written leave the
// focus on the list too.
TEST_F(FrmReportTest, TheFocusComesBackAfterTheBoxesThatTellOfAFailure) {
  WriteFourMonths();
  TFrmReport& report = OpenReport();
  TPTListView& daily = report.List(rtDaily);
  Press(VK_TAB);
  Press(VK_HOME);
  report.AskChartPath = [this] { return Dir.Path("missing\\chart.png"); };
  report.AskExportPath = [this] { return Dir.Path("missing\\rows.csv"); };
  const auto answer = [](const char* caption, std::string& text) {
    return std::thread([caption, &text] {
      HWND box = WaitForWindow({caption, "#32770", GetCurrentProcessId()}, 10000);
      if (!box) return;
      text = DialogText(box);
      Type({{VK_RETURN}}, false);
      WaitUntilGone(box, 10000);
    });
  };
  std::string chart, rows;
  std::thread user = answer("Basic Reports", chart);
  Type({{VK_APPS}, {'P'}});
  user.join();
  EXPECT_EQ(chart, Dir.Path("missing\\chart.png") + " cannot be written.");
  EXPECT_EQ(GetFocus(), daily.Handle());
  user = answer(kAppTitle, rows);
  Type({{VK_APPS}, {'E'}});
  user.join();
  EXPECT_NE(rows.find("Cannot create file"), std::string::npos) << rows;
  EXPECT_EQ(GetFocus(), daily.Handle());
  Press(VK_DOWN);
  Press('C', {VK_CONTROL});
  EXPECT_EQ(ClipboardText(), "2/1/2006 - DL: 1 KB UL: 0 bytes TOTAL: 1 KB");
}

// The menu of Shift+F10 and of the menu key, its items, and "Sort by" a
// column by keys: the rows follow it, its item is checked, and choosing it
// again reverses them. Ctrl+A and Ctrl+C then copy them all in that order.
TEST_F(FrmReportTest, SortByFromTheMenuKeyChecksTheColumnAndAgainReverses) {
  WriteFourMonths();
  TFrmReport& report = OpenReport();
  TPTListView& daily = report.List(rtDaily);
  Press(VK_TAB);
  Type({{VK_F10, {VK_SHIFT}}, {'B'}, {'L'}});  // "D&L"
  EXPECT_EQ(Captions(daily, 4),
            (std::vector<std::string>{"3/1/2006", "1/1/2006", "4/1/2006", "2/1/2006"}));
  EXPECT_EQ(daily.SortColumn, 1);
  HWND header = FindChild(daily.Handle(), "SysHeader32");
  HDITEMA item{};
  item.mask = HDI_FORMAT;
  SendMessageA(header, HDM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_TRUE(item.fmt & HDF_SORTUP);

  std::vector<std::string> items, columns;
  std::vector<bool> checked;
  std::thread user([&] {
    std::pair<HMENU, HMENU> menus;
    for (int i = 0; i < 500 && !(menus = OpenMenuAndSubmenu()).first; ++i) Sleep(10);
    if (!menus.first) return;
    items = MenuTexts(menus.first);
    columns = MenuTexts(menus.second);
    for (int i = 0; i < GetMenuItemCount(menus.second); ++i)
      checked.push_back(GetMenuState(menus.second, i, MF_BYPOSITION) & MF_CHECKED);
    Shoot(ReportWindow(), "report_menu");
    Type({{'L'}}, false);
  });
  Type({{VK_APPS}, {'B'}});
  user.join();
  EXPECT_EQ(items, (std::vector<std::string>{"&Copy to Clipboard\tCtrl+C", "&Export Report..", "",
                                             "Copy c&hart", "Save chart as &PNG...", "",
                                             "Select &All\tCtrl+A", "Sort &by"}));
  EXPECT_EQ(columns, (std::vector<std::string>{"&Date", "D&L", "&UL", "DL && UL", "&Time"}));
  EXPECT_EQ(checked, (std::vector<bool>{false, true, false, false, false}));
  EXPECT_EQ(Captions(daily, 4),
            (std::vector<std::string>{"2/1/2006", "4/1/2006", "1/1/2006", "3/1/2006"}));
  SendMessageA(header, HDM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_TRUE(item.fmt & HDF_SORTDOWN);

  // Ctrl+A, then Ctrl+C: every row, a line each, in the order shown.
  Press('A', {VK_CONTROL});
  Press('C', {VK_CONTROL});
  EXPECT_EQ(ClipboardText(),
            "2/1/2006 - DL: 1 KB UL: 0 bytes TOTAL: 1 KB\r\n"
            "4/1/2006 - DL: 2 KB UL: 0 bytes TOTAL: 2 KB\r\n"
            "1/1/2006 - DL: 3 KB UL: 1 KB TOTAL: 4 KB\r\n"
            "3/1/2006 - DL: 4 KB UL: 0 bytes TOTAL: 4 KB");
}

// Each page's list is its first stop, so Ctrl+Tab brings the focus into the
// next page's list: Ctrl+C there copies that page's selected row.
TEST_F(FrmReportTest, CtrlCAfterCtrlTabCopiesTheNewPagesRow) {
  WriteFourMonths();
  TFrmReport& report = OpenReport();
  for (int tab = 0; tab < report.TabCount(); ++tab)
    EXPECT_EQ(GetNextDlgTabItem(GetParent(report.List(tab).Handle()), nullptr, FALSE),
              report.List(tab).Handle());
  report.List(rtWeekly).SetSelected(0);
  Press(VK_TAB);
  Press(VK_HOME);
  Press(VK_TAB, {VK_CONTROL});
  ASSERT_EQ(report.ActiveTab(), rtWeekly);
  EXPECT_EQ(GetFocus(), report.List(rtWeekly).Handle());
  EmptyTheClipboard();
  Press('C', {VK_CONTROL});
  EXPECT_EQ(ClipboardText(), "2005 / 52 - DL: 3 KB UL: 1 KB TOTAL: 4 KB");
}

// The colour of a point of a window as the screen shows it.
COLORREF ShownColor(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF color = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return color;
}

// A 24-bit BMP file's size and pixels (0x00BBGGRR), its rows bottom up.
struct TBmp {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;
};
TBmp ReadBmp(const std::string& bytes) {
  TBmp bmp;
  if (bytes.size() < 54) return bmp;
  const auto number = [&](size_t at) {
    int32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
  };
  bmp.Width = number(18);
  bmp.Height = std::abs(number(22));
  const size_t stride = (bmp.Width * 3 + 3) / 4 * 4, start = number(10);
  for (int y = 0; y < bmp.Height; ++y)
    for (int x = 0; x < bmp.Width; ++x) {
      const size_t at = start + y * stride + x * 3;
      if (at + 2 < bytes.size())
        bmp.Pixels.push_back(static_cast<uint8_t>(bytes[at]) << 16 |
                             static_cast<uint8_t>(bytes[at + 1]) << 8 |
                             static_cast<uint8_t>(bytes[at + 2]));
    }
  return bmp;
}

// The monthly chart holds the twelve months of the year of the row chosen;
// a click on a month's bars chooses its row. Saved, the chart has a title
// line above what shows, and no highlight.
TEST_F(FrmReportTest, TheChartShowsTheChosenRowsPeriodAndSavesWithoutTheHighlight) {
  WriteFourMonths();
  TFrmReport& report = OpenReport();
  Press(VK_TAB);
  Type({{VK_TAB, {VK_CONTROL}}, {VK_TAB, {VK_CONTROL}}});  // to the monthly list
  ASSERT_EQ(report.ActiveTab(), rtMonthly);
  TPTListView& monthly = report.List(rtMonthly);
  TReportChart& chart = report.Chart(rtMonthly);
  EXPECT_EQ(chart.Shown().Title, "Monthly, 1/1/2006 \x96 12/31/2006");
  ASSERT_EQ(chart.Shown().Slots.size(), 12u);
  EXPECT_EQ(chart.Shown().Slots[4].Row, nullptr);

  // A click on March's bar, as the mouse gives it.
  const TChartLayout& layout = chart.Layout();
  ClickAt(chart.Handle(), {(layout.SlotLeft(2) + layout.SlotLeft(3)) / 2, layout.Plot.Bottom - 2});
  EXPECT_EQ(monthly.Selected(), 2);
  EXPECT_EQ(GetFocus(), monthly.Handle());

  // The highlight shows in March's slot, and not in the picture saved.
  const COLORREF highlight =
      ShownColor(chart.Handle(), layout.SlotLeft(2) + 1, layout.Plot.Top + 1);
  EXPECT_NE(highlight, ShownColor(chart.Handle(), layout.SlotLeft(4) + 1, layout.Plot.Top + 1));
  report.AskChartPath = [this] { return Dir.Path("chart.bmp"); };
  Type({{VK_APPS}, {'P'}});
  PumpMessages(100);
  const TBmp saved = ReadBmp(Dir.Read("chart.bmp"));
  RECT shown;
  GetClientRect(chart.Handle(), &shown);
  EXPECT_EQ(saved.Width, shown.right);
  EXPECT_GT(saved.Height, shown.bottom + 10);
  EXPECT_LT(saved.Height, shown.bottom + 30);
  ASSERT_EQ(saved.Pixels.size(), static_cast<size_t>(saved.Width) * saved.Height);
  EXPECT_EQ(std::count(saved.Pixels.begin(), saved.Pixels.end(), highlight), 0);
  // The title's ink in the top line's left half (the rows are bottom up).
  int ink = 0;
  for (int y = saved.Height - 16; y < saved.Height; ++y)
    for (int x = 0; x < saved.Width / 2; ++x) ink += saved.Pixels[y * saved.Width + x] != 0xFFFFFF;
  EXPECT_GT(ink, 50);
  Shoot(ReportWindow(), "report_chart_clicked");
}

}  // namespace
