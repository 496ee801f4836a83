// The basic reports opened from the main window's menu over two years of
// month files: tabs, sorting, and an export through the real save dialog;
// the billing periods while the quota is watched.
#include "reports/frm_report_win32.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/files.h"
#include "ui/application_win32.h"
#include "win32/main_window_fixture_win32.h"

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

TEST_F(FrmReportTest, BillingPeriodsOnlyWhileTheQuotaIsWatched) {
  WriteTwoYears();
  HWND owner = TApplication::Instance().Handle();
  TQuotaSettings quota;
  quota.StartDay = 15;
  EXPECT_EQ(TFrmReport(owner, Dir.Folder(), quota, {}).TabCount(), 5);
  quota.Enabled = true;
  TFrmReport report(owner, Dir.Folder(), quota, {});
  ASSERT_EQ(report.TabCount(), 6);
  // From the period of 1 January 2025 to that of 31 December 2026.
  const TPTListView& periods = report.List(5);
  EXPECT_EQ(periods.Count(), 25);
  EXPECT_EQ(static_cast<const TReportRow*>(periods.Data(0))->RowDate,
            EncodeDaySerial(2024, 12, 15));
  ShowTab(report.Handle(), 5);
  Shoot(report.Handle(), "report_billing");
}

// The clipboard's text, or "(none)".
std::string ClipboardText() {
  std::string text = "(none)";
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

TEST_F(FrmReportTest, CopiesTheSelectedRowOnlyAndSaysWhatWasLeftOut) {
  MakeDirectory(Dir.Path("data"));
  Dir.Write("data\\38718.dat",
            "[38718]\r\nRecv=1572864\r\nXmit=12288\r\n\r\n[notes]\r\nRecv=1\r\n");
  Open(kAdapter);
  std::string notice;
  std::thread user([&] {
    HWND box = WaitForWindow({"Basic Reports", "#32770", GetCurrentProcessId()}, 10000);
    if (!box) return;
    notice = DialogText(box);
    PressButton(box, "OK");
  });
  Form->Command(cmBasicReports);
  for (int i = 0; i < 100 && notice.empty(); ++i) PumpMessages(50);
  user.join();
  EXPECT_NE(notice.find("1 sections"), std::string::npos) << notice;

  TFrmReport& report = *Form->FrmReport();
  ShowTab(ReportWindow(), rtMonthly);
  OpenClipboard(nullptr);
  EmptyClipboard();
  CloseClipboard();
  report.mnuCopyClick();
  EXPECT_EQ(ClipboardText(), "(none)");
  report.List(rtMonthly).SetSelected(0);
  report.mnuCopyClick();
  EXPECT_EQ(ClipboardText(), "2006 / Jan - DL: 1.50 MB UL: 12 KB TOTAL: 1.51 MB");
}

// The hours of the day chosen in the daily list, under their chart; a click
// on a row's bars selects the row, which the chart then highlights; the
// chart is copied as a bitmap and saved as a PNG.
TEST_F(FrmReportTest, ChartsFollowTheirListsAndTheHourlyTabTheChosenDay) {
  MakeDirectory(Dir.Path("data"));
  Dir.Write("data\\46357.dat",
            "[46362]\r\nRecv=100\r\nXmit=10\r\n\r\n"
            "[46363]\r\nHours=7200\r\nRecv=3000000\r\nXmit=300000\r\nHours.09=3600\r\n"
            "Recv.09=1000000\r\nXmit.09=100000\r\nHours.13=3600\r\nRecv.13=2000000\r\n"
            "Xmit.13=200000\r\n");
  HWND owner = TApplication::Instance().Handle();
  TChartLook look;
  look.Selection = 0x00FFFF;
  TFrmReport report(owner, Dir.Folder(), TQuotaSettings{}, look);
  PumpMessages(100);
  // The last day's hours, until another day is chosen.
  TPTListView& hours = report.List(TFrmReport::kHourlyTab);
  ASSERT_EQ(hours.Count(), 2);
  EXPECT_EQ(hours.Caption(1), "13:00");
  report.List(rtDaily).SetSelected(0);
  PumpMessages(100);
  EXPECT_EQ(hours.Count(), 0);  // 6 December has no hours
  report.List(rtDaily).SetSelected(1);
  PumpMessages(100);
  ASSERT_EQ(hours.Count(), 2);

  ShowTab(report.Handle(), TFrmReport::kHourlyTab);
  TReportChart& chart = report.Chart(TFrmReport::kHourlyTab);
  const TChartLayout& layout = chart.Layout();
  ASSERT_EQ(layout.Count, 2);
  const int secondRow = layout.Plot.Left + layout.SlotWidth + layout.SlotWidth / 2;
  SendMessageA(chart.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(secondRow, layout.Plot.Top + 1));
  PumpMessages(100);
  EXPECT_EQ(hours.Selected(), 1);
  EXPECT_EQ(chart.Pixels().Rgb(layout.Plot.Left + layout.SlotWidth + layout.SlotWidth - 1,
                              layout.Plot.Top + 1),
            0x00FFFFu);
  Shoot(report.Handle(), "report_hourly");

  report.CopyChartClick();
  ASSERT_TRUE(OpenClipboard(nullptr));
  const auto* dib = static_cast<const BITMAPINFOHEADER*>(GlobalLock(GetClipboardData(CF_DIB)));
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(dib->biWidth, chart.Pixels().Width);
  EXPECT_EQ(dib->biHeight, chart.Pixels().Height);
  GlobalUnlock(GetClipboardData(CF_DIB));
  CloseClipboard();
  report.AskChartPath = [this] { return Dir.Path("hours.png"); };
  report.SaveChartClick();
  EXPECT_EQ(Dir.Read("hours.png").substr(0, 8), "\x89PNG\r\n\x1A\n");
}

}  // namespace
