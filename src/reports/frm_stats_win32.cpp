#include "reports/frm_stats_win32.h"

#include "platform/date_time.h"
#include "reports/report_list_win32.h"
#include "reports/report_model.h"
#include "reports/save_names.h"
#include "storage/file_helpers.h"
#include "ui/common_dialogs_win32.h"

namespace {

constexpr int kClientWidth = 580;
constexpr int kClientHeight = 400;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kCellWidth = 108;
constexpr int kCellLeft = 90;
constexpr std::array<const char*, 4> kGridColumns = {"Time Online", "Connects", "Received", "Sent"};
constexpr const char* kCaption = "Advanced Reports";
// Posted once the window shows: the log lines left out.
constexpr UINT WMTELLNOTES = WM_APP + 1;

const TConnectionRecord& RecordOf(const void* data) {
  return *static_cast<const TConnectionRecord*>(data);
}

int CompareRecords(const void* a, const void* b, int32_t parameter) {
  return CompareLogRecords(RecordOf(a), RecordOf(b), parameter);
}

int Today() {
  return static_cast<int>(LocalNow());
}

}  // namespace

TFrmStats::TFrmStats(HWND owner, const std::string& folder, std::string& lastEntry)
    : FFolder(folder), FLastEntry(lastEntry), FLog(ReadConnectionLog(folder)) {
  AskExportPath = [this] {
    return AskSavePath(Handle(), "CSV Report (*.csv)\0*.csv\0", "csv", SuggestedName());
  };
  TDialogArgs args;
  args.ClassName = "TFrmStats";
  args.Caption = kCaption;
  args.ClientWidth = kClientWidth;
  args.ClientHeight = kClientHeight;
  args.Owner = owner;
  CreateDialogForm(args);
  const int buttonTop = kClientHeight - kButtonHeight - 8;
  PageControl1 =
      std::make_unique<TTabControl>(Args(Handle(), "", 8, 8, kClientWidth - 16, buttonTop - 16),
                                    std::vector<std::string>{"Details", "Dialup Connection Log"});
  CreateDetails(PageControl1->Page(0));
  CreateLog(PageControl1->Page(1));
  TControlArgs close = Args(Handle(), "Close", kClientWidth - kButtonWidth - 8, buttonTop,
                            kButtonWidth, kButtonHeight, WS_VISIBLE | BS_DEFPUSHBUTTON);
  close.Id = IDCANCEL;
  bClose = std::make_unique<TButton>(close);
  bClose->OnClick = [this] { Close(); };
  DefaultButton = IDCANCEL;
  Note(FLog.Notes);
  FormCreate();
  ShowDialog();
}

void TFrmStats::CreateDetails(HWND page) {
  const auto frame = [&](const char* caption, int top, int height) {
    FStatics.push_back(GroupBox(page, caption, 8, top, 540, height));
  };
  const auto label = [&](const char* caption, int x, int y, int width) {
    FStatics.push_back(std::make_unique<TLabel>(Args(page, caption, x, y, width, 16)));
  };
  frame("Display Stats by", 6, 86);
  r1 = std::make_unique<TRadioButton>(Args(page, "&Month", 20, 26, 130, 20, WS_VISIBLE | WS_GROUP));
  label("Month:", 156, 29, 40);
  DpMonth = std::make_unique<TDatePicker>(Args(page, "", 200, 26, 110, 22));
  r2 = std::make_unique<TRadioButton>(Args(page, "&User defined range", 20, 56, 130, 20));
  label("&Start:", 156, 59, 40);
  StartDate = std::make_unique<TDatePicker>(Args(page, "", 200, 56, 110, 22));
  label("&End:", 318, 59, 30);
  EndDate = std::make_unique<TDatePicker>(Args(page, "", 350, 56, 110, 22));
  frame("Individual Stats", 98, 112);
  label("&Internet Provider", 20, 120, 100);
  cIsp = std::make_unique<TComboBox>(
      Args(page, "", 124, 116, 220, 200, WS_VISIBLE | WS_GROUP | CBS_SORT),
      std::vector<std::string>{});
  CreateGrid(page, 140, FIndividual);
  frame("Combined Stats", 216, 92);
  CreateGrid(page, 236, FCombined);
  r1->OnClick = r2->OnClick = [this] { ModeClick(); };
  for (TDatePicker* picker : {DpMonth.get(), StartDate.get(), EndDate.get()})
    picker->OnChange = [this] { NewDateClick(); };
  cIsp->OnChange = [this] { cIspClick(); };
}

// Captions over four columns, and a "Day" row and a period row of cells.
void TFrmStats::CreateGrid(HWND page, int top, TGrid& grid) {
  for (size_t c = 0; c < kGridColumns.size(); ++c)
    FStatics.push_back(std::make_unique<TLabel>(
        Args(page, kGridColumns[c], kCellLeft + static_cast<int>(c) * (kCellWidth + 6), top,
             kCellWidth, 16, WS_VISIBLE | SS_CENTER)));
  FStatics.push_back(std::make_unique<TLabel>(Args(page, "Day", 20, top + 21, 60, 16)));
  grid.PeriodLabel = std::make_unique<TLabel>(Args(page, "Month", 20, top + 45, 60, 16));
  for (size_t i = 0; i < grid.Cells.size(); ++i) {
    const int column = static_cast<int>(i % 4), row = static_cast<int>(i / 4);
    grid.Cells[i] = std::make_unique<TEdit>(Args(page, "", kCellLeft + column * (kCellWidth + 6),
                                                 top + 18 + row * 24, kCellWidth, 21,
                                                 WS_VISIBLE | ES_READONLY | ES_RIGHT));
  }
}

void TFrmStats::CreateLog(HWND page) {
  RECT area;
  GetClientRect(page, &area);
  std::vector<TListColumn> columns;
  for (const TLogColumn& column : kLogColumns)
    columns.push_back({column.Caption, Scaled(column.Width), column.RightAligned});
  // The page is already at the dialog's DPI.
  FLV3 = std::make_unique<TPTListView>(
      ChildArgs(page, "", WS_VISIBLE, Font(), 0, 0, area.right, area.bottom), columns);
  FLV3->OnGetText = [](const void* data, int column) { return LogCell(RecordOf(data), column); };
  FLV3->OnPTCustomDraw = [](const void*, int position) {
    return position % 2 == 0 ? RGB(255, 255, 254) : RGB(239, 239, 239);
  };
  FLV3->OnColumnClick = [this](int column) { LV3ColumnClick(column); };
  FLV3->OnCopy = [this] { LV3CopyClick(); };
  FLV3->OnContextMenu = [this](int x, int y) {
    TReportListActions actions;
    actions.Copy = [this] { LV3CopyClick(); };
    actions.Export = [this] { LV3ExportClick(); };
    ShowReportListMenu(Handle(), *FLV3, actions, x, y);
  };
  SendMessageA(FLV3->Handle(), LVM_SETBKCOLOR, 0, RGB(255, 255, 254));
}

// Everything starts from today, in month mode, with the log newest first.
void TFrmStats::FormCreate() {
  for (TDatePicker* picker : {DpMonth.get(), StartDate.get(), EndDate.get()})
    picker->SetDate(Today());
  FLV3->BeginUpdate();
  for (const TConnectionRecord& record : FLog.Records) FLV3->AddItem(record.Entry, &record);
  FLV3->EndUpdate();
  LV3ColumnClick(1);
  r1->SetChecked(true);
  ModeClick();
}

// The pickers of the other mode are off; the period rows say which it is.
void TFrmStats::ModeClick() {
  const bool range = r2->Checked();
  DpMonth->SetEnabled(!range);
  StartDate->SetEnabled(range);
  EndDate->SetEnabled(range);
  for (TGrid* grid : {&FIndividual, &FCombined})
    grid->PeriodLabel->SetText(range ? "Range" : "Month");
  NewDateClick();
}

// The entries of the months the choice touches, the last one chosen selected
// again when it is among them.
void TFrmStats::NewDateClick() {
  TStatsReader reader(FFolder);
  FEntries = reader.Entries(Choice());
  Note(reader.Notes());
  cIsp->SetItems(FEntries);
  cIsp->SetItemIndex(EntryToSelect(FEntries, FLastEntry));
  ShowTotals();
}

void TFrmStats::cIspClick() {
  if (cIsp->ItemIndex() < 0) return;
  FLastEntry = cIsp->Text();
  ShowTotals();
}

void TFrmStats::ShowTotals() {
  const std::string entry = cIsp->ItemIndex() >= 0 ? cIsp->Text() : std::string();
  TStatsReader reader(FFolder);
  const TStatsTotals totals = reader.Totals(Choice(), entry);
  Note(reader.Notes());
  const auto show = [](TGrid& grid, int row, const TStatsFigures& figures) {
    const std::vector<std::string> texts = StatsRowTexts(figures);
    for (int i = 0; i < 4; ++i) grid.Cells[row * 4 + i]->SetText(texts[i]);
  };
  // Without an entry the individual day keeps what it showed.
  if (totals.EntryDay) show(FIndividual, 0, *totals.EntryDay);
  show(FIndividual, 1, totals.EntryPeriod);
  show(FCombined, 0, totals.AllDay);
  show(FCombined, 1, totals.AllPeriod);
}

TStatsChoice TFrmStats::Choice() const {
  return {r2->Checked(), DpMonth->Date(), StartDate->Date(), EndDate->Date()};
}

void TFrmStats::LV3ColumnClick(int column) {
  FLV3->Sort(CompareRecords, ClickSortColumn(FLV3->SortColumn, FLV3->SortDirection, column));
  FLV3->ShowSortArrow();
}

void TFrmStats::LV3CopyClick() {
  std::string text;
  for (const int row : FLV3->SelectedRows())
    text +=
        (text.empty() ? "" : "\r\n") + LogCopyText(FLV3->Caption(row), RecordOf(FLV3->Data(row)));
  if (!text.empty()) CopyTextToClipboard(Handle(), text);
}

void TFrmStats::LV3ExportClick() {
  const std::string path = AskExportPath();
  if (path.empty()) return;
  std::vector<TConnectionRecord> records;
  for (int row = 0; row < FLV3->Count(); ++row) records.push_back(RecordOf(FLV3->Data(row)));
  WriteTextFile(path, ConnectionLogCsv(records));
}

// After the month of the selected connection, or else of the newest.
std::string TFrmStats::SuggestedName() const {
  const int selected = FLV3->Selected();
  const TConnectionRecord* record = selected >= 0 ? &RecordOf(FLV3->Data(selected)) : nullptr;
  for (const TConnectionRecord& candidate : FLog.Records)
    if (selected < 0 && (!record || candidate.StartTime > record->StartTime)) record = &candidate;
  return LogFileName(record, "csv");
}

std::vector<std::string> TFrmStats::RowTexts(int row) const {
  const TGrid& grid = row < 2 ? FIndividual : FCombined;
  std::vector<std::string> texts;
  for (int i = 0; i < 4; ++i) texts.push_back(grid.Cells[(row % 2) * 4 + i]->Text());
  return texts;
}

LRESULT TFrmStats::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WMTELLNOTES: TellNotes(); return 0;
  }
  return TDialog::WndProc(msg, wParam, lParam);
}

// What a reading noted is told after the handler that read, each once while
// the window is open: a date picked again does not repeat it.
void TFrmStats::Note(const TReadNotes& notes) {
  const size_t before = FUntold.size();
  for (const std::string& text : notes.Texts())
    if (FTold.insert(text).second) FUntold.push_back(text);
  if (FUntold.size() > before) PostMessageA(Handle(), WMTELLNOTES, 0, 0);
}

void TFrmStats::TellNotes() {
  if (FUntold.empty()) return;
  std::string text;
  for (const std::string& line : FUntold) text += (text.empty() ? "" : "\n") + line;
  FUntold.clear();
  MessageBoxA(Handle(), text.c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
}
