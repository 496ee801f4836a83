#include "setup/frm_setup_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>

#include "base/product.h"
#include "platform/date_time.h"
#include "setup/setup_tables.h"
#include "ui/common_dialogs_win32.h"
#include "ui/dpi_win32.h"
#include "ui/handle_guards_win32.h"

namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 380;
constexpr int kApplyId = 100;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kRowHeight = 30;  // of a colour row

constexpr std::array<const char*, 7> kColorLabels = {
    "&D/L Color",    "&U/L Color",        "Te&xt Color", "&Grid Color",
    "Border &Color", "Gra&ph Background", "Bac&kground"};

// The system colours offered as the colour dialog's custom colours.
constexpr std::array<int, 11> kCustomColors = {
    COLOR_WINDOW,     COLOR_APPWORKSPACE, COLOR_HIGHLIGHT,    COLOR_BTNFACE,
    COLOR_BTNSHADOW,  COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW,   COLOR_3DLIGHT,
    COLOR_WINDOWTEXT, COLOR_CAPTIONTEXT,  COLOR_HIGHLIGHTTEXT};

// A key typed into a number box, with Ctrl as it is held now.
bool NumberKey(char key) {
  return AcceptCustomValueKey(key, GetKeyState(VK_CONTROL) < 0);
}

// The width of a drop-down list's longest item in its font.
int LongestItemWidth(HWND box) {
  const TWindowDC dc(box);
  const TSelection font(dc.Get(), reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)));
  int widest = 0;
  const auto count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::string item(SendMessageA(box, CB_GETLBTEXTLEN, i, 0) + 1, '\0');
    item.resize(SendMessageA(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data())));
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), item.data(), static_cast<int>(item.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  return widest;
}

}  // namespace

TFrmSetup::TFrmSetup(HWND owner, TSetupHost& host)
    : FHost(host),
      FRandom(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())) {
  TDialogArgs args;
  args.ClassName = "TFrmSetup";
  args.Caption = "Setup";
  args.ClientWidth = kClientWidth;
  args.ClientHeight = kClientHeight;
  args.Owner = owner;
  CreateDialogForm(args);
  PageControl1 = std::make_unique<TTabControl>(
      Args(Handle(), "", 8, 8, kClientWidth - 16, kClientHeight - 54),
      std::vector<std::string>{"Network", "Graph -1", "Graph -2", "Options", "Quota"});
  CreateNetworkTab(PageControl1->Page(0));
  CreateGraph1Tab(PageControl1->Page(1));
  CreateGraph2Tab(PageControl1->Page(2));
  CreateOptionsTab(PageControl1->Page(3));
  CreateQuotaTab(PageControl1->Page(4));
  CreateButtons();
  FormCreate();
  FitBoxes();
  ShowDialog();
}

// The source: a dial-up connection, or adapters counted one of three ways.
// The list's boxes show the adapters counted; ticking one makes a set.
void TFrmSetup::CreateNetworkTab(HWND page) {
  rbDialup = std::make_unique<TRadioButton>(
      Args(page, "&Dialup Connection", 12, 8, 200, 20, WS_VISIBLE | WS_GROUP));
  rbNIC = std::make_unique<TRadioButton>(Args(page, "&Network Interface", 12, 30, 200, 20));
  rbTicked = std::make_unique<TRadioButton>(Args(page, "&Ticked adapters", 224, 8, 200, 20));
  rbAll = std::make_unique<TRadioButton>(Args(page, "A&ll adapters", 224, 30, 200, 20));
  // The columns fit their texts, so that no address is cut; the description
  // takes what they leave.
  lbNIC = std::make_unique<THeaderListbox>(
      Args(page, "", 12, 58, 412, 174, WS_VISIBLE | WS_GROUP),
      std::vector<THeaderSection>{{.Text = "", .FitsText = true},
                                  {.Text = "Description", .TakesRest = true},
                                  {.Text = "IP", .FitsText = true},
                                  {.Text = "MAC", .FitsText = true},
                                  {.Text = "Counted", .FitsText = true}});
  lbReason = std::make_unique<TLabel>(Args(page, "", 12, 238, 412, 46));
  for (TRadioButton* radio : {rbDialup.get(), rbNIC.get(), rbTicked.get(), rbAll.get()})
    radio->OnClick = [this] {
      SourceChosen();
      Changed();
    };
  lbNIC->OnClick = [this] {
    FAdapters->Select(lbNIC->ItemIndex());
    ShowAdapters();
    Changed();
  };
  lbNIC->OnToggle = [this](int row) {
    FAdapters->Toggle(row);
    ShowAdapters();
    Changed();
  };
}

void TFrmSetup::CreateGraph1Tab(HWND page) {
  const auto group = [&](const char* caption, std::vector<std::string> items, int x, int y) {
    const int height = 24 + 18 * static_cast<int>(items.size());
    auto radio =
        std::make_unique<TRadioGroup>(Args(page, caption, x, y, 112, height), items, Dpi());
    radio->OnClick = [this] { Changed(); };
    return radio;
  };
  RadioGroup1 = group("Graph Type", {"&Line", "A&rea"}, 8, 6);
  rGridStyle = group("Grid Style", {"N&one", "&Solid", "Do&tted"}, 8, 74);
  RadioGroup2 = group("X Axis Display", {"&None", "&Bottom"}, 128, 6);
  rYaxisDisplay = group("Y Axis Display", {"Non&e", "Le&ft", "R&ight", "Bot&h"}, 128, 74);
  gbColors = GroupBox(page, "Colors", 244, 6, 190, 24 + 7 * kRowHeight);
  CreateColorRows(page, 254, 26);
}

// A colour button, its "R" button and its caption per row; the "R" button
// picks a colour at random for its row.
void TFrmSetup::CreateColorRows(HWND page, int left, int top) {
  for (size_t i = 0; i < ColorButtons.size(); ++i) {
    const int y = top + static_cast<int>(i) * kRowHeight;
    // The caption goes first: its access key takes the focus to the next
    // control, the colour button.
    FStatics.push_back(
        std::make_unique<TLabel>(Args(page, kColorLabels[i], left + 70, y + 5, 106, 16)));
    ColorButtons[i] = std::make_unique<TColorButton>(Args(page, "", left, y, 40, 24));
    ResetButtons[i] = std::make_unique<TButton>(Args(page, "R", left + 44, y, 20, 24));
    TColorButton& button = *ColorButtons[i];
    for (size_t c = 0; c < kCustomColors.size(); ++c)
      button.CustomColors[c] = GetSysColor(kCustomColors[c]);
    button.OnColorChange = [this] { Changed(); };
    ResetButtons[i]->OnClick = [this, &button] {
      button.SetColor(RandomColor(FRandom));
      Changed();
    };
  }
}

void TFrmSetup::CreateGraph2Tab(HWND page) {
  FStatics.push_back(
      std::make_unique<TLabel>(Args(page, "&Transfer speed display units", 12, 10, 240, 16)));
  cbSDU = std::make_unique<TComboBox>(
      Args(page, "", 12, 28, 240, 120),
      std::vector<std::string>{"Kilobytes per second (KB/s)", "Kilobits per second (kbps)"});
  FStatics.push_back(std::make_unique<TLabel>(Args(page, "&Max Value", 12, 60, 240, 16)));
  cbGMaxValue = std::make_unique<TComboBox>(
      Args(page, "", 12, 78, 240, 300),
      std::vector<std::string>(kMaximumChoices.begin(), kMaximumChoices.end()));
  eGCValue = std::make_unique<TEdit>(Args(page, "", 260, 78, 80, 22));
  FStatics.push_back(std::make_unique<TLabel>(Args(page, "KB/s", 346, 82, 40, 16)));
  FFittedBoxes.push_back({cbSDU.get(), {}});
  FFittedBoxes.push_back({cbGMaxValue.get(), {eGCValue.get(), FStatics.back().get()}});
  FStatics.push_back(GroupBox(page, "&Update Interval", 8, 112, 420, 64));
  ScrollBar2 = std::make_unique<TScrollBar>(Args(page, "", 20, 132, 396, 17));
  ScrollBar2->SetMax(static_cast<int>(kIntervalSteps.size()) - 1);
  Label4 = std::make_unique<TLabel>(Args(page, "", 20, 154, 396, 16, WS_VISIBLE | SS_CENTER));
  FStatics.push_back(GroupBox(page, "Anti-Aliasing", 8, 184, 420, 100));
  FStatics.push_back(std::make_unique<TLabel>(Args(page, "M&ode", 20, 207, 60, 16)));
  ComboBox2 = std::make_unique<TComboBox>(
      Args(page, "", 84, 204, 140, 120),
      std::vector<std::string>{"None", "Low (2x2)", "Medium (3x3)", "High (4x4)"});
  FStatics.push_back(std::make_unique<TLabel>(Args(page, "&Line Width", 244, 207, 80, 16)));
  ComboBox1 = std::make_unique<TComboBox>(Args(page, "", 328, 204, 60, 80),
                                          std::vector<std::string>{"1", "2"});
  FFittedBoxes.push_back({ComboBox2.get(), {FStatics.back().get(), ComboBox1.get()}});
  FFittedBoxes.push_back({ComboBox1.get(), {}});
  FStatics.push_back(std::make_unique<TLabel>(
      Args(page,
           "Warning: Using Anti-Aliasing increases CPU usage a considerable amount when graph is "
           "visible.",
           20, 238, 396, 36)));
  for (TComboBox* box : {cbSDU.get(), ComboBox2.get(), ComboBox1.get()})
    box->OnChange = [this] { Changed(); };
  cbGMaxValue->OnChange = [this] {
    cbGMaxValueChange();
    Changed();
  };
  eGCValue->OnKeyPress = NumberKey;
  eGCValue->OnChange = [this] { Changed(); };
  ScrollBar2->OnChange = [this] {
    ScrollBar2Change();
    Changed();
  };
}

void TFrmSetup::CreateOptionsTab(HWND page) {
  CheckBox2 = std::make_unique<TCheckBox>(
      Args(page, "&Show Activity In Tray Icon (Animated)", 12, 12, 400, 20));
  CheckBox1 =
      std::make_unique<TCheckBox>(Args(page, "Show &Tray Icon tooltips Stats", 12, 36, 400, 20));
  CheckBox5 = std::make_unique<TCheckBox>(Args(page, "Show &Main Menu", 12, 60, 400, 20));
  CheckBox6 = std::make_unique<TCheckBox>(Args(page, "Show &Graph tooltips", 12, 84, 400, 20));
  for (TCheckBox* box : {CheckBox2.get(), CheckBox1.get(), CheckBox5.get(), CheckBox6.get()})
    box->OnClick = [this] { Changed(); };
  FStatics.push_back(GroupBox(page, "Browse Mode", 8, 118, 420, 58));
  FStatics.push_back(
      std::make_unique<TLabel>(Args(page, "&Number of hours to keep available", 20, 144, 240, 16)));
  seNOH = std::make_unique<TSpinEdit>(Args(page, "", 264, 140, 70, 22), kMinHours, kMaxHours);
  seNOH->OnChange = [this] { Changed(); };
  // The figures for a monitoring engine, in a file its collector reads.
  FStatics.push_back(GroupBox(page, "Metrics for Prometheus", 8, 188, 420, 90));
  FStatics.push_back(std::make_unique<TLabel>(Args(page, "M&etrics file:", 20, 212, 84, 16)));
  eMetricsFile = std::make_unique<TEdit>(Args(page, "", 108, 208, 232, 22));
  bBrowseMetrics = std::make_unique<TButton>(Args(page, "&Browse...", 346, 207, 72, 24));
  FStatics.push_back(std::make_unique<TLabel>(Args(page, "&Interval:", 20, 246, 84, 16)));
  seMetricsInterval = std::make_unique<TSpinEdit>(Args(page, "", 108, 242, 70, 22),
                                                  kMinExportInterval, kMaxExportInterval);
  FStatics.push_back(std::make_unique<TLabel>(Args(page, "seconds", 184, 246, 80, 16)));
  eMetricsFile->OnChange = seMetricsInterval->OnChange = [this] { Changed(); };
  bBrowseMetrics->OnClick = [this] { bBrowseMetricsClick(); };
}

void TFrmSetup::CreateQuotaTab(HWND page) {
  CheckQuota = std::make_unique<TCheckBox>(Args(page, "Watch a &data quota", 12, 12, 400, 20));
  const auto label = [&](const char* text, int x, int y, int width) {
    FStatics.push_back(std::make_unique<TLabel>(Args(page, text, x, y, width, 16)));
    FQuotaControls.push_back(FStatics.back().get());
    return FStatics.back().get();
  };
  label("&Limit:", 32, 48, 136);
  eQuotaLimit = std::make_unique<TEdit>(Args(page, "", 172, 44, 80, 22));
  std::vector<std::string> units;
  for (const TQuotaUnit& unit : kQuotaUnits) units.push_back(unit.Text);
  cbQuotaUnit = std::make_unique<TComboBox>(Args(page, "", 258, 44, 56, 80), units);
  FFittedBoxes.push_back({cbQuotaUnit.get(), {label("(0: no limit)", 322, 48, 100)}});
  label("&Period starts on day:", 32, 82, 136);
  seStartDay = std::make_unique<TSpinEdit>(Args(page, "", 172, 78, 56, 22), 1, kMaxQuotaStartDay);
  label("A shorter month starts on its last day.", 172, 106, 250);
  label("&Count:", 32, 135, 136);
  cbQuotaCount = std::make_unique<TComboBox>(
      Args(page, "", 172, 132, 142, 100),
      std::vector<std::string>(kQuotaCounts.begin(), kQuotaCounts.end()));
  FFittedBoxes.push_back({cbQuotaCount.get(), {}});
  label("&Warn at:", 32, 170, 136);
  seWarnAt = std::make_unique<TSpinEdit>(Args(page, "", 172, 166, 56, 22), 1, kMaxQuotaWarnPercent);
  label("%", 234, 170, 20);
  // The figures of the quota as the controls above set it, as they change.
  lbQuotaFigures = std::make_unique<TLabel>(Args(page, "", 32, 206, 390, 52));
  FQuotaControls.insert(FQuotaControls.end(), {eQuotaLimit.get(), cbQuotaUnit.get(),
                                               cbQuotaCount.get(), lbQuotaFigures.get()});
  CheckQuota->OnClick = [this] {
    CheckQuotaClick();
    Changed();
  };
  const auto quotaChanged = [this] {
    ShowQuotaFigures();
    Changed();
  };
  eQuotaLimit->OnKeyPress = NumberKey;
  eQuotaLimit->OnChange = quotaChanged;
  for (TComboBox* box : {cbQuotaUnit.get(), cbQuotaCount.get()}) box->OnChange = quotaChanged;
  for (TSpinEdit* spin : {seStartDay.get(), seWarnAt.get()}) spin->OnChange = quotaChanged;
}

void TFrmSetup::CreateButtons() {
  const int y = kClientHeight - kButtonHeight - 12;
  const int x = kClientWidth - 3 * (kButtonWidth + 8);
  TControlArgs ok = Args(Handle(), "OK", x, y, kButtonWidth, kButtonHeight,
                         WS_VISIBLE | WS_GROUP | BS_DEFPUSHBUTTON);
  ok.Id = IDOK;
  TControlArgs cancel =
      Args(Handle(), "Cancel", x + kButtonWidth + 8, y, kButtonWidth, kButtonHeight);
  cancel.Id = IDCANCEL;
  TControlArgs apply =
      Args(Handle(), "&Apply", x + 2 * (kButtonWidth + 8), y, kButtonWidth, kButtonHeight);
  apply.Id = kApplyId;
  bOK = std::make_unique<TButton>(ok);
  bClose = std::make_unique<TButton>(cancel);
  bApply = std::make_unique<TButton>(apply);
  bOK->OnClick = [this] { bOKClick(); };
  bClose->OnClick = [this] { Close(); };
  bApply->OnClick = [this] { bApplyClick(); };
}

// The controls from the main window's state and the settings.
void TFrmSetup::FormCreate() {
  const TSetupValues v = ReadSetupValues(FHost);
  FAdapters = std::make_unique<TAdapterPicker>(FHost.Meter().Adapters, v.Adapters);
  rbDialup->SetChecked(v.Dialup);
  SourceChosen();
  RadioGroup1->SetItemIndex(v.GraphType);
  rGridStyle->SetItemIndex(v.GridStyle);
  RadioGroup2->SetItemIndex(v.XAxis);
  rYaxisDisplay->SetItemIndex(v.YAxis);
  for (size_t i = 0; i < ColorButtons.size(); ++i) ColorButtons[i]->SetColor(v.Colors[i]);
  cbSDU->SetItemIndex(v.Units);
  cbGMaxValue->SetItemIndex(v.MaxValueType);
  eGCValue->SetText(v.MaxValue);
  cbGMaxValueChange();
  ScrollBar2->SetPosition(v.IntervalPosition - 1);
  ScrollBar2Change();
  ComboBox2->SetItemIndex(v.AntiAlias);
  ComboBox1->SetItemIndex(v.LineWidth);
  CheckBox2->SetChecked(v.ShowActivity);
  CheckBox1->SetChecked(v.StatsTrayTip);
  CheckBox5->SetChecked(v.MainMenu);
  CheckBox6->SetChecked(v.GraphTips);
  seNOH->SetValue(v.Hours);
  eMetricsFile->SetText(v.MetricsFile);
  seMetricsInterval->SetValue(v.MetricsInterval);
  CheckQuota->SetChecked(v.QuotaEnabled);
  eQuotaLimit->SetText(v.QuotaLimit);
  cbQuotaUnit->SetItemIndex(v.QuotaUnit);
  seStartDay->SetValue(v.QuotaStartDay);
  cbQuotaCount->SetItemIndex(v.QuotaCount);
  seWarnAt->SetValue(v.QuotaWarnPercent);
  CheckQuotaClick();
  bApply->SetEnabled(false);
}

// Row number, description, address, hardware address and whether it is
// counted, one row per adapter; the way of counting in the radio buttons
// while adapters are the source; why the selected row is left out.
void TFrmSetup::ShowAdapters() {
  const auto top = SendMessageA(lbNIC->Handle(), LB_GETTOPINDEX, 0, 0);
  lbNIC->Clear();
  const auto& rows = FAdapters->Rows();
  std::vector<bool> checks;
  for (size_t i = 0; i < rows.size(); ++i) {
    const TNicItem& item = rows[i].Item;
    const int row = static_cast<int>(i);
    lbNIC->Add(std::to_string(i) + "\t" + item.Description + "\t" + item.IP + "\t" + item.MAC +
                   "\t" + FAdapters->Status(row),
               nullptr);
    checks.push_back(FAdapters->Counted(row));
  }
  lbNIC->SetChecks(checks);
  lbNIC->SetItemIndex(FAdapters->Selected());
  SendMessageA(lbNIC->Handle(), LB_SETTOPINDEX, top, 0);
  lbReason->SetText(FAdapters->Explanation(FAdapters->Selected()));
  if (rbDialup->Checked()) return;
  const TAdapterMode mode = FAdapters->Mode();
  rbNIC->SetChecked(mode == amOne);
  rbTicked->SetChecked(mode == amTicked);
  rbAll->SetChecked(mode == amAll);
}

TSetupValues TFrmSetup::Values() const {
  TSetupValues v;
  v.Dialup = rbDialup->Checked();
  v.Adapters = FAdapters->Choice();
  v.GraphType = RadioGroup1->ItemIndex();
  v.GridStyle = rGridStyle->ItemIndex();
  v.XAxis = RadioGroup2->ItemIndex();
  v.YAxis = rYaxisDisplay->ItemIndex();
  for (size_t i = 0; i < ColorButtons.size(); ++i) v.Colors[i] = ColorButtons[i]->Color();
  v.Units = cbSDU->ItemIndex();
  v.MaxValueType = cbGMaxValue->ItemIndex();
  v.MaxValue = eGCValue->Text();
  v.IntervalPosition = ScrollBar2->Position() + 1;
  v.AntiAlias = ComboBox2->ItemIndex();
  v.LineWidth = ComboBox1->ItemIndex();
  v.ShowActivity = CheckBox2->Checked();
  v.StatsTrayTip = CheckBox1->Checked();
  v.MainMenu = CheckBox5->Checked();
  v.GraphTips = CheckBox6->Checked();
  v.Hours = seNOH->Value();
  v.MetricsFile = eMetricsFile->Text();
  v.MetricsInterval = seMetricsInterval->Value();
  v.QuotaEnabled = CheckQuota->Checked();
  v.QuotaLimit = eQuotaLimit->Text();
  v.QuotaUnit = cbQuotaUnit->ItemIndex();
  v.QuotaStartDay = seStartDay->Value();
  v.QuotaCount = cbQuotaCount->ItemIndex();
  v.QuotaWarnPercent = seWarnAt->Value();
  return v;
}

// The adapter list serves only the adapters as the source, counted the way
// the radio button chosen says.
void TFrmSetup::SourceChosen() {
  const bool adapters = !rbDialup->Checked();
  if (rbNIC->Checked()) FAdapters->SetMode(amOne);
  if (rbTicked->Checked()) FAdapters->SetMode(amTicked);
  if (rbAll->Checked()) FAdapters->SetMode(amAll);
  lbNIC->SetEnabled(adapters);
  lbNIC->SetListColor(GetSysColor(adapters ? COLOR_WINDOW : COLOR_BTNFACE));
  ShowAdapters();
}

void TFrmSetup::cbGMaxValueChange() {
  eGCValue->SetEnabled(cbGMaxValue->ItemIndex() == kCustomMaximum);
}

void TFrmSetup::ScrollBar2Change() {
  Label4->SetText(IntervalStep(ScrollBar2->Position() + 1).Text);
}

void TFrmSetup::CheckQuotaClick() {
  const bool enabled = CheckQuota->Checked();
  for (TControl* control : FQuotaControls) control->SetEnabled(enabled);
  for (TSpinEdit* spin : {seStartDay.get(), seWarnAt.get()}) spin->SetEnabled(enabled);
  ShowQuotaFigures();
}

// Read afresh at every change: the month files are small, and the main
// window books into them while Setup is open.
void TFrmSetup::ShowQuotaFigures() {
  lbQuotaFigures->SetText(QuotaFiguresText(Values(), FHost, static_cast<int32_t>(LocalNow())));
}

// Each box as wide as its longest item needs in its font: the text, the
// frame and margins around it, and the button; never narrower than laid out.
void TFrmSetup::FitBoxes() {
  const int edge = SystemMetricForDpi(SM_CXEDGE, Dpi());
  const int around = 6 * edge + SystemMetricForDpi(SM_CXVSCROLL, Dpi());
  for (const TFittedBox& fitted : FFittedBoxes) {
    const HWND box = fitted.Box->Handle();
    const RECT bounds = BoundsInParent(box);
    const int wider = LongestItemWidth(box) + around - (bounds.right - bounds.left);
    if (wider <= 0) continue;
    // The window's height is that of the open list too, which stays.
    RECT dropped;
    SendMessageA(box, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    SetWindowPos(box, nullptr, 0, 0, bounds.right - bounds.left + wider,
                 dropped.bottom - dropped.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (TControl* control : fitted.Right) {
      const RECT r = BoundsInParent(control->Handle());
      control->SetBounds(r.left + wider, r.top, r.right - r.left, r.bottom - r.top);
    }
  }
}

// The texts were measured in the old font.
void TFrmSetup::DpiChanged(int) {
  FitBoxes();
}

// The file's name in the box; the box keeps its text when the user cancels.
void TFrmSetup::bBrowseMetricsClick() {
  char path[MAX_PATH] = "";
  lstrcpynA(path, eMetricsFile->Text().c_str(), sizeof path);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = "Prometheus metrics (*.prom)\0*.prom\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrDefExt = "prom";
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (SaveFileDialog(dialog)) eMetricsFile->SetText(path);
}

void TFrmSetup::bApplyClick() {
  // A disabled button keeps no focus, and the keys would then reach nothing:
  // the focus goes to OK first.
  if (GetFocus() == bApply->Handle()) FocusControl(bOK->Handle());
  bApply->SetEnabled(false);
  const std::string notice = ApplySetup(Values(), FHost);
  if (!notice.empty()) MessageBoxA(Handle(), notice.c_str(), kAppTitle, MB_OK | MB_ICONWARNING);
}

void TFrmSetup::bOKClick() {
  bApplyClick();
  Close();
}
