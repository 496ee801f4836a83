#include "reports/frm_report_win32.h"

#include <algorithm>

#include "formatting/date_format.h"
#include "reports/report_list_win32.h"
#include "storage/file_helpers.h"
#include "storage/text_utils.h"
#include "ui/color_button_win32.h"
#include "ui/common_dialogs_win32.h"
#include "ui/image_file_win32.h"

namespace {

// Wide enough for the two dates of a billing period in the first column.
constexpr int kClientWidth = 560;
constexpr int kClientHeight = 480;
constexpr int kChartHeight = 160;
constexpr int kMargin = 4;
constexpr int kRowHeight = 20;
constexpr int kColumnWidth = 90;
constexpr const char* kCaption = "Basic Reports";
// Posted once the window shows: what the loading left out.
constexpr UINT WMTELLSKIPPED = WM_APP + 1;

// Every list's data is a TReportRow; the billing periods' are the rows of
// TBillingPeriodRow.
const TReportRow& RowOf(const void* data) {
  return *static_cast<const TReportRow*>(data);
}

const TBillingPeriodRow& BillingRowOf(const void* data) {
  return static_cast<const TBillingPeriodRow&>(RowOf(data));
}

int CompareRows(const void* a, const void* b, int32_t parameter) {
  return CompareReportRows(RowOf(a), RowOf(b), parameter);
}

int CompareBillingRows(const void* a, const void* b, int32_t parameter) {
  return CompareBillingPeriodRows(BillingRowOf(a), BillingRowOf(b), parameter);
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

}  // namespace

TFrmReport::TFrmReport(HWND owner, const std::string& folder, const TQuotaSettings& quota,
                       const TChartLook& look)
    : FFolder(folder), FReport(LoadReport(folder)), FQuota(quota), FLook(look) {
  AskExportPath = [this] {
    return AskSavePath(Handle(), "CSV Report (*.csv)\0*.csv\0", "csv", SuggestedName("csv"));
  };
  AskChartPath = [this] {
    const bool png = CanWritePng();
    const char* extension = png ? "png" : "bmp";
    return AskSavePath(Handle(), png ? "PNG picture (*.png)\0*.png\0" : "Bitmap (*.bmp)\0*.bmp\0",
                       extension, SuggestedName(extension));
  };
  TDialogArgs args;
  args.ClassName = "TFrmReport";
  args.Caption = kCaption;
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
    FBillingPeriods = BillingPeriodRows(FReport.Rows[rtDaily], quota, FReport.Notes);
    names.push_back("Billing periods");
  }
  PC = std::make_unique<TTabControl>(tabs, names);
  for (int tab = rtDaily; tab <= rtYearly; ++tab)
    CreateReportList(kFirstColumns[tab], FReport.Rows[tab]);
  CreateReportList("Hour", FHourly);
  if (quota.Enabled) CreateBillingList();
  // The day chosen in the daily list is the day whose hours show.
  FCharts[rtDaily]->OnListChange = [this] {
    const int selected = FLists[rtDaily]->Selected();
    if (selected >= 0)
      ShowHoursOf(static_cast<const TReportRow*>(FLists[rtDaily]->Data(selected))->Day);
  };
  if (!FReport.Rows[rtDaily].empty()) ShowHoursOf(FReport.Rows[rtDaily].back().Day);
  FormResize();
  WidenForBillingColumns();
  ShowDialog();
  if (!FReport.Notes.Texts().empty()) PostMessageA(Handle(), WMTELLSKIPPED, 0, 0);
}

// The list of the next tab's page under its chart, sorted by compare: the
// page's first control, so that Tab and a new page start in it.
TPTListView& TFrmReport::CreateList(std::vector<TListColumn> columns,
                                    TPTListView::TCompare compare) {
  const HWND page = PC->Page(static_cast<int>(FLists.size()));
  TControlArgs args{page, "", "", WS_VISIBLE | WS_TABSTOP};
  args.Font = Font();
  auto list = std::make_unique<TPTListView>(args, columns, Scaled(kRowHeight));
  TPTListView& view = *list;
  view.OnPTCustomDraw = [](const void*, int position) { return ReportRowColor(position); };
  view.OnColumnClick = [this, &view, compare](int column) {
    LV_ColumnClick(view, compare, column);
  };
  view.OnContextMenu = [this, &view](int x, int y) { ShowPopupMenu(view, x, y); };
  view.OnCopy = [this] { mnuCopyClick(); };
  FCharts.push_back(std::make_unique<TReportChart>(page, view, FLook, Font()));
  FCharts.back()->Contents = [this, tab = static_cast<int>(FLists.size())] { return ChartOf(tab); };
  FLists.push_back(std::move(list));
  return view;
}

// Five columns of 90 pixels, with only the captions now; the other cells
// when a row first shows.
void TFrmReport::CreateReportList(const char* firstColumn, const std::vector<TReportRow>& rows) {
  const int width = Scaled(kColumnWidth);
  std::vector<TListColumn> columns{{firstColumn, width}};
  for (const char* caption : kReportColumns) columns.push_back({caption, width, true});
  TPTListView& view = CreateList(columns, CompareRows);
  view.OnGetText = [](const void* data, int column) { return ReportCell(RowOf(data), column); };
  view.BeginUpdate();
  for (const TReportRow& row : rows) view.AddItem(row.Caption, &row);
  view.EndUpdate();
}

// The report's columns and the quota's, each as wide as its texts.
void TFrmReport::CreateBillingList() {
  std::vector<TListColumn> columns{{"Period"}};
  for (const char* caption : kReportColumns) columns.push_back({caption, 0, true});
  for (const char* caption : kBillingPeriodColumns) columns.push_back({caption, 0, true});
  TPTListView& view = CreateList(columns, CompareBillingRows);
  view.OnGetText = [](const void* data, int column) {
    return BillingPeriodCell(BillingRowOf(data), column);
  };
  view.BeginUpdate();
  for (const TBillingPeriodRow& row : FBillingPeriods)
    view.AddItem(row.Caption, static_cast<const TReportRow*>(&row));
  view.EndUpdate();
  FitBillingColumns();
}

// The period of the selected row, or of the newest, as its tab shows it:
// a month of days, a year of weeks or months, all years, a day's hours;
// every billing period.
TChart TFrmReport::ChartOf(int tab) const {
  const TPTListView& list = *FLists[tab];
  if (tab == kBillingPeriodsTab) {
    std::vector<const TReportRow*> rows;
    for (const TBillingPeriodRow& row : FBillingPeriods) rows.push_back(&row);
    return rows.empty()
               ? TChart{}
               : BillingChartOf(rows, BillingPeriodOf(static_cast<int32_t>(rows.back()->RowDate),
                                                      FQuota.StartDay)
                                          .End);
  }
  if (tab == kHourlyTab) {
    const int day = FHourlyDay ? FHourlyDay : NewestDay(FReport.Rows[rtDaily]);
    return ReportChartOf(tab, FHourly, {day, day});
  }
  const std::vector<TReportRow>& rows = FReport.Rows[tab];
  const int selected = list.Selected();
  const int day =
      selected >= 0 ? static_cast<int>(RowOf(list.Data(selected)).RowDate) : NewestDay(rows);
  return ReportChartOf(tab, rows, ChartRangeAround(tab, day, rows));
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

// The charts' labels and margins follow the new DPI too, and the billing
// periods' columns the texts in the new font.
void TFrmReport::DpiChanged(int) {
  FLook.Dpi = Dpi();
  for (const auto& chart : FCharts) chart->SetLook(FLook, Font());
  FitBillingColumns();
}

// The first column takes what the others leave of the list's inside, and 4
// pixels (at 96 DPI) to spare, less a scroll bar's width while the rows do
// not fit and the bar has yet to appear; never less than its texts need on
// the billing periods' list, never less than 90 pixels on the others.
void TFrmReport::FitColumns(TPTListView& list) {
  RECT client;
  GetClientRect(list.Handle(), &client);
  int width = client.right - Scaled(4);
  for (int column = 1; column < list.ColumnCount(); ++column) width -= list.ColumnWidth(column);
  const bool scrollBarShown = GetWindowLongPtrA(list.Handle(), GWL_STYLE) & WS_VSCROLL;
  if (!scrollBarShown && list.Count() > list.VisibleRows())
    width -= SystemMetricForDpi(SM_CXVSCROLL, Dpi());
  const bool billing =
      FLists.size() > kBillingPeriodsTab && &list == FLists[kBillingPeriodsTab].get();
  list.SetColumnWidth(0, std::max(width, billing ? list.TextWidth(0) : Scaled(kColumnWidth)));
}

void TFrmReport::FitBillingColumns() {
  if (FLists.size() <= kBillingPeriodsTab) return;
  TPTListView& list = *FLists[kBillingPeriodsTab];
  for (int column = 1; column < list.ColumnCount(); ++column)
    list.SetColumnWidth(column, list.TextWidth(column));
  FitColumns(list);
}

// Wider than it opens when the billing periods' columns need it, so that
// they show whole beside a scroll bar; it stays centred.
void TFrmReport::WidenForBillingColumns() {
  if (FLists.size() <= kBillingPeriodsTab) return;
  const TPTListView& list = *FLists[kBillingPeriodsTab];
  int needed = Scaled(4) + SystemMetricForDpi(SM_CXVSCROLL, Dpi());
  for (int column = 0; column < list.ColumnCount(); ++column) needed += list.TextWidth(column);
  const RECT shown = BoundsInParent(list.Handle());
  const int more = needed - (shown.right - shown.left);
  if (more <= 0) return;
  RECT frame;
  GetWindowRect(Handle(), &frame);
  SetWindowPos(Handle(), nullptr, frame.left - more / 2, frame.top, frame.right - frame.left + more,
               frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFrmReport::LV_ColumnClick(TPTListView& list, TPTListView::TCompare compare, int column) {
  list.Sort(compare, ClickSortColumn(list.SortColumn, list.SortDirection, column));
  list.ShowSortArrow();
}

void TFrmReport::ShowPopupMenu(TPTListView& list, int x, int y) {
  ShowReportListMenu(Handle(), list,
                     {[this] { mnuCopyClick(); }, [this] { ExporttoCSV1Click(); },
                      [this] { CopyChartClick(); }, [this] { SaveChartClick(); }},
                     x, y);
}

// After the active tab and the period of its selected row, or else of its
// newest; the hours after the day they show.
std::string TFrmReport::SuggestedName(const char* extension) const {
  const int tab = ActiveTab();
  const TPTListView& list = *FLists[tab];
  const int selected = list.Selected();
  const TReportRow* row = selected >= 0 ? &RowOf(list.Data(selected)) : nullptr;
  for (int i = 0; selected < 0 && i < list.Count(); ++i)
    if (!row || RowOf(list.Data(i)).Index > row->Index) row = &RowOf(list.Data(i));
  TReportRow day;
  day.Day = FHourlyDay;
  if (tab == kHourlyTab) row = FHourlyDay ? &day : nullptr;
  return ReportFileName(tab, row, extension);
}

// The selected rows of the active tab, a line each; nothing without one.
void TFrmReport::mnuCopyClick() {
  TPTListView& list = *FLists[ActiveTab()];
  std::string text;
  for (const int index : list.SelectedRows()) {
    text +=
        (text.empty() ? "" : "\r\n") + ReportCopyText(list.Caption(index), RowOf(list.Data(index)));
  }
  if (!text.empty()) CopyTextToClipboard(Handle(), text);
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
  CopyPixelsToClipboard(Handle(), FCharts[ActiveTab()]->Picture());
}

// A PNG where the system can write one, else a bitmap file.
void TFrmReport::SaveChartClick() {
  const std::string path = AskChartPath();
  if (path.empty()) return;
  const TPixels pixels = FCharts[ActiveTab()]->Picture();
  const bool png =
      path.size() > 4 && CompareTextIgnoringCase(path.substr(path.size() - 4), ".png") == 0;
  if (!(png ? WritePng(path, pixels) : WriteBmp(path, pixels)))
    MessageBoxA(Handle(), (path + " cannot be written.").c_str(), kCaption, MB_OK | MB_ICONWARNING);
}

void TFrmReport::TellWhatWasLeftOut() {
  std::string text;
  for (const std::string& line : FReport.Notes.Texts()) text += line + "\n";
  MessageBoxA(Handle(), text.c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
}
