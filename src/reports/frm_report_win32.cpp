#include "reports/frm_report_win32.h"

#include <commdlg.h>

#include <cstring>

#include "storage/file_helpers.h"

namespace {

// Wide enough for the two dates of a billing period in the first column.
constexpr int kClientWidth = 560;
constexpr int kClientHeight = 360;
constexpr int kMargin = 4;
constexpr int kRowHeight = 20;
constexpr int kColumnWidth = 90;
// Apart from the dialog's own IDOK and IDCANCEL.
constexpr UINT cmCopy = 101;
constexpr UINT cmExport = 102;
// Posted once the window shows: what the loading left out.
constexpr UINT WMTELLSKIPPED = WM_APP + 1;

int CompareRows(const void* a, const void* b, int32_t parameter) {
  return CompareReportRows(*static_cast<const TReportRow*>(a), *static_cast<const TReportRow*>(b),
                           parameter);
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

TFrmReport::TFrmReport(HWND owner, const std::string& folder, const TQuotaSettings& quota)
    : FReport(LoadReport(folder)), PopupMenu1(CreatePopupMenu()) {
  AskExportPath = [this] { return SaveDialog1(); };
  AppendMenuA(PopupMenu1.Get(), MF_STRING, cmCopy, "Copy to Clipboard");
  AppendMenuA(PopupMenu1.Get(), MF_STRING, cmExport, "Export Report..");
  TDialogArgs args;
  args.ClassName = "TFrmReport";
  args.Caption = "Basic Reports";
  args.ClientWidth = kClientWidth;
  args.ClientHeight = kClientHeight;
  args.Owner = owner;
  args.Resizable = true;
  CreateDialogForm(args);
  TControlArgs tabs{Handle(), "", "", WS_VISIBLE};
  tabs.Font = Font();
  std::vector<std::string> names(kReportTabNames.begin(), kReportTabNames.end());
  // A billing period rarely matches a calendar month: its rows get a tab of
  // their own rather than mixing with the months'.
  if (quota.Enabled) {
    FBillingPeriods = BillingPeriodRows(FReport.Rows[rtDaily], quota.StartDay, FReport.Notes);
    names.push_back("Billing periods");
  }
  PC = std::make_unique<TTabControl>(tabs, names);
  for (int tab = rtDaily; tab <= rtYearly; ++tab) CreateList(kFirstColumns[tab], FReport.Rows[tab]);
  if (quota.Enabled) CreateList("Period", FBillingPeriods);
  FormResize();
  ShowDialog();
  if (!FReport.Notes.Texts().empty()) PostMessageA(Handle(), WMTELLSKIPPED, 0, 0);
}

// The list of the next tab's page, with only the captions now; the other
// cells when a row first shows.
void TFrmReport::CreateList(const char* firstColumn, const std::vector<TReportRow>& rows) {
  const int width = Scaled(kColumnWidth);
  std::vector<TListColumn> columns{{firstColumn, width}};
  for (const char* caption : kReportColumns) columns.push_back({caption, width, true});
  TControlArgs args{PC->Page(static_cast<int>(FLists.size())), "", "", WS_VISIBLE | WS_TABSTOP};
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
  FLists.push_back(std::move(list));
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
  for (const auto& list : FLists) {
    list->SetBounds(0, 0, page.right, page.bottom);
    FitColumns(*list);
  }
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
  if (command == cmCopy) mnuCopyClick();
  if (command == cmExport) ExporttoCSV1Click();
  return command == cmCopy || command == cmExport;
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
  WriteTextFile(path, ReportCsv(rows));
}

std::string TFrmReport::SaveDialog1() {
  char path[MAX_PATH] = "";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = "CSV Report (*.csv)\0*.csv\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrDefExt = "csv";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  return GetSaveFileNameA(&dialog) ? path : "";
}

void TFrmReport::TellWhatWasLeftOut() {
  std::string text;
  for (const std::string& line : FReport.Notes.Texts()) text += line + "\n";
  MessageBoxA(Handle(), text.c_str(), "Basic Reports", MB_OK | MB_ICONINFORMATION);
}
