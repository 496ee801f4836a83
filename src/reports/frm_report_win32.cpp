#include "reports/frm_report_win32.h"

#include <algorithm>
#include <cstring>

#include "formatting/date_format.h"
#include "storage/file_helpers.h"
#include "storage/text_utils.h"
#include "ui/color_button_win32.h"
#include "ui/common_dialogs_win32.h"
#include "ui/image_file_win32.h"

namespace {

// Wide enough for the two dates of a billing period in the first column.
constexpr int kClientWidth = 560;
constexpr int kClientHeight = 480;
constexpr int kChartHeight = 130;
constexpr int kMargin = 4;
constexpr int kRowHeight = 20;
constexpr int kColumnWidth = 90;
// Apart from the dialog's own IDOK and IDCANCEL.
constexpr UINT cmCopy = 101;
constexpr UINT cmExport = 102;
constexpr UINT cmCopyChart = 103;
constexpr UINT cmSaveChart = 104;
// Posted once the window shows: what the loading left out.
constexpr UINT WMTELLSKIPPED = WM_APP + 1;

int CompareRows(const void* a, const void* b, int32_t parameter) {
  return CompareReportRows(*static_cast<const TReportRow*>(a), *static_cast<const TReportRow*>(b),
                           parameter);
}

// The lists' highlight, paled over the chart's background: the selected
// row's place shows in the same hue, and its bars stay clear on it.
TColor PaleHighlight(TColor background) {
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), under = ResolvedColor(background);
  const auto mix = [](int a, int b) { return static_cast<BYTE>((a + 2 * b) / 3); };
  return RGB(mix(GetRValue(highlight), GetRValue(under)),
             mix(GetGValue(highlight), GetGValue(under)),
             mix(GetBValue(highlight), GetBValue(under)));
}

void CopyToClipboard(HWND owner, const std::string& text) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

}  // namespace

TFrmReport::TFrmReport(HWND owner, const std::string& folder, const TQuotaSettings& quota,
                       const TChartLook& look)
    : FFolder(folder), FReport(LoadReport(folder)), FLook(look), PopupMenu1(CreatePopupMenu()) {
  AskExportPath = [this] { return SaveDialog("CSV Report (*.csv)\0*.csv\0", "csv"); };
  AskChartPath = [this] {
    return CanWritePng() ? SaveDialog("PNG picture (*.png)\0*.png\0", "png")
                         : SaveDialog("Bitmap (*.bmp)\0*.bmp\0", "bmp");
  };
  AppendMenuA(PopupMenu1.Get(), MF_STRING, cmCopy, "Copy to Clipboard");
  AppendMenuA(PopupMenu1.Get(), MF_STRING, cmExport, "Export Report..");
  AppendMenuA(PopupMenu1.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(PopupMenu1.Get(), MF_STRING, cmCopyChart, "Copy chart");
  AppendMenuA(PopupMenu1.Get(), MF_STRING, cmSaveChart, "Save chart...");
  TDialogArgs args;
  args.ClassName = "TFrmReport";
  args.Caption = "Basic Reports";
  args.ClientWidth = kClientWidth;
  args.ClientHeight = kClientHeight;
  args.Owner = owner;
  args.Resizable = true;
  CreateDialogForm(args);
  FLook.Dpi = Dpi();
  // The system's highlight is paled; a colour of the look's own stands.
  if (FLook.Selection == TChartLook{}.Selection) FLook.Selection = PaleHighlight(FLook.Background);
  TControlArgs tabs{Handle(), "", "", WS_VISIBLE};
  tabs.Font = Font();
  std::vector<std::string> names(kReportTabNames.begin(), kReportTabNames.end());
  names.push_back("Hourly");
  // A billing period rarely matches a calendar month: its rows get a tab of
  // their own rather than mixing with the months'.
  if (quota.Enabled) {
    FBillingPeriods = BillingPeriodRows(FReport.Rows[rtDaily], quota.StartDay, FReport.Notes);
    names.push_back("Billing periods");
  }
  PC = std::make_unique<TTabControl>(tabs, names);
  for (int tab = rtDaily; tab <= rtYearly; ++tab) CreateList(kFirstColumns[tab], FReport.Rows[tab]);
  CreateList("Hour", FHourly);
  if (quota.Enabled) CreateList("Period", FBillingPeriods);
  // The day chosen in the daily list is the day whose hours show.
  FCharts[rtDaily]->OnListChange = [this] {
    const int selected = FLists[rtDaily]->Selected();
    if (selected >= 0)
      ShowHoursOf(static_cast<const TReportRow*>(FLists[rtDaily]->Data(selected))->Day);
  };
  if (!FReport.Rows[rtDaily].empty()) ShowHoursOf(FReport.Rows[rtDaily].back().Day);
  FormResize();
  ShowDialog();
  if (!FReport.Notes.Texts().empty()) PostMessageA(Handle(), WMTELLSKIPPED, 0, 0);
}

// The list of the next tab's page under its chart, with only the captions
// now; the other cells when a row first shows.
void TFrmReport::CreateList(const char* firstColumn, const std::vector<TReportRow>& rows) {
  const int width = Scaled(kColumnWidth);
  std::vector<TListColumn> columns{{firstColumn, width}};
  for (const char* caption : kReportColumns) columns.push_back({caption, width, true});
  const HWND page = PC->Page(static_cast<int>(FLists.size()));
  TControlArgs args{page, "", "", WS_VISIBLE | WS_TABSTOP};
  args.Font = Font();
  auto list = std::make_unique<TPTListView>(args, columns, Scaled(kRowHeight));
  TPTListView& view = *list;
  view.OnGetText = [](const void* data, int column) {
    return ReportCell(*static_cast<const TReportRow*>(data), column);
  };
  view.OnPTCustomDraw = [](const void*, int position) { return ReportRowColor(position); };
  view.OnColumnClick = [this, &view](int column) { LV_ColumnClick(view, column); };
  view.OnContextMenu = [this](int x, int y) { ShowPopupMenu(x, y); };
  view.OnCopy = [this] { mnuCopyClick(); };
  view.BeginUpdate();
  for (const TReportRow& row : rows) view.AddItem(row.Caption, &row);
  view.EndUpdate();
  FCharts.push_back(std::make_unique<TReportChart>(page, view, FLook, Font()));
  FLists.push_back(std::move(list));
}

// The hourly list takes the day's hours; the rows it showed go only after
// it no longer shows them.
void TFrmReport::ShowHoursOf(int day) {
  if (day == FHourlyDay) return;
  FHourlyDay = day;
  TPTListView& list = *FLists[kHourlyTab];
  list.Clear();
  FHourly = HourlyRows(FFolder, day, FReport.Notes);
  list.BeginUpdate();
  for (const TReportRow& row : FHourly) list.AddItem(row.Caption, &row);
  list.EndUpdate();
  list.SetColumnCaption(0, FormatDateTimePicture(day, FormatSettings().ShortDateFormat));
  FCharts[kHourlyTab]->Render();
}

LRESULT TFrmReport::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE: FormResize(); return 0;
    case WM_COMMAND:
      if (PopupMenu1Command(LOWORD(wParam))) return 0;
      break;
    case WMTELLSKIPPED: TellWhatWasLeftOut(); return 0;
  }
  return TDialog::WndProc(msg, wParam, lParam);
}

// The tabs fill the window, each list its tab's page.
void TFrmReport::FormResize() {
  if (!PC) return;
  RECT client;
  GetClientRect(Handle(), &client);
  const int margin = Scaled(kMargin);
  PC->SetBounds(margin, margin, client.right - 2 * margin, client.bottom - 2 * margin);
  RECT page;
  GetClientRect(PC->Page(0), &page);
  const int chart = std::min(Scaled(kChartHeight), static_cast<int>(page.bottom) / 2);
  for (size_t tab = 0; tab < FLists.size(); ++tab) {
    FCharts[tab]->SetBounds(0, 0, page.right, chart - margin);
    FLists[tab]->SetBounds(0, chart, page.right, page.bottom - chart);
    FitColumns(*FLists[tab]);
  }
}

// The charts' labels and margins follow the new DPI too.
void TFrmReport::DpiChanged(int) {
  FLook.Dpi = Dpi();
  for (const auto& chart : FCharts) chart->SetLook(FLook, Font());
}

// The first column takes what the other four leave of the list's inside,
// and 4 pixels (at 96 DPI) to spare, less a scroll bar's width while the rows do not fit
// and the bar has yet to appear.
void TFrmReport::FitColumns(TPTListView& list) {
  RECT client;
  GetClientRect(list.Handle(), &client);
  int width = client.right - Scaled(4 * kColumnWidth + 4);
  const bool scrollBarShown = GetWindowLongPtrA(list.Handle(), GWL_STYLE) & WS_VSCROLL;
  if (!scrollBarShown && list.Count() > list.VisibleRows())
    width -= SystemMetricForDpi(SM_CXVSCROLL, Dpi());
  list.SetColumnWidth(0, std::max(width, Scaled(kColumnWidth)));
}

void TFrmReport::LV_ColumnClick(TPTListView& list, int column) {
  list.Sort(CompareRows, ClickSortColumn(list.SortColumn, list.SortDirection, column));
  list.ShowSortArrow();
}

bool TFrmReport::PopupMenu1Command(UINT command) {
  switch (command) {
    case cmCopy: mnuCopyClick(); return true;
    case cmExport: ExporttoCSV1Click(); return true;
    case cmCopyChart: CopyChartClick(); return true;
    case cmSaveChart: SaveChartClick(); return true;
  }
  return false;
}

void TFrmReport::ShowPopupMenu(int x, int y) {
  TrackPopupMenu(PopupMenu1.Get(), TPM_RIGHTBUTTON, x, y, 0, Handle(), nullptr);
}

// The selected rows of the active tab, a line each; nothing without one.
void TFrmReport::mnuCopyClick() {
  TPTListView& list = *FLists[ActiveTab()];
  std::string text;
  for (const int index : list.SelectedRows()) {
    const auto& row = *static_cast<const TReportRow*>(list.Data(index));
    text += (text.empty() ? "" : "\r\n") + ReportCopyText(list.Caption(index), row);
  }
  if (!text.empty()) CopyToClipboard(Handle(), text);
}

// The active tab's rows in the order shown.
void TFrmReport::ExporttoCSV1Click() {
  const std::string path = AskExportPath();
  if (path.empty()) return;
  const TPTListView& list = *FLists[ActiveTab()];
  std::vector<const TReportRow*> rows;
  for (int i = 0; i < list.Count(); ++i)
    rows.push_back(static_cast<const TReportRow*>(list.Data(i)));
  WriteTextFile(path, ReportCsv(rows, ActiveTab() == kHourlyTab));
}

void TFrmReport::CopyChartClick() {
  CopyPixelsToClipboard(Handle(), FCharts[ActiveTab()]->Pixels());
}

// A PNG where the system can write one, else a bitmap file.
void TFrmReport::SaveChartClick() {
  const std::string path = AskChartPath();
  if (path.empty()) return;
  const TPixels pixels = FCharts[ActiveTab()]->Pixels();
  const bool png =
      path.size() > 4 && CompareTextIgnoringCase(path.substr(path.size() - 4), ".png") == 0;
  if (!(png ? WritePng(path, pixels) : WriteBmp(path, pixels)))
    MessageBoxA(Handle(), (path + " cannot be written.").c_str(), "Basic Reports",
                MB_OK | MB_ICONWARNING);
}

std::string TFrmReport::SaveDialog(const char* filter, const char* extension) {
  char path[MAX_PATH] = "";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = filter;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrDefExt = extension;
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  return SaveFileDialog(dialog) ? path : "";
}

void TFrmReport::TellWhatWasLeftOut() {
  std::string text;
  for (const std::string& line : FReport.Notes.Texts()) text += line + "\n";
  MessageBoxA(Handle(), text.c_str(), "Basic Reports", MB_OK | MB_ICONINFORMATION);
}
