#include "ui/list_view_win32.h"

#include "storage/text_utils.h"
#include "ui/access_keys.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace {

constexpr DWORD kExtendedStyle = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
// Posted to the list itself once a change of its view is handled.
constexpr UINT kViewChangedMessage = WM_APP + 60;

// The rows live in the control; the list view only counts them and asks for
// what it shows, so a list of any length opens at once. The image list is the
// control's, not the list view's to destroy.
TControlArgs ReportArgs(TControlArgs args) {
  args.ClassName = WC_LISTVIEWA;
  args.Style |= LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_EDITLABELS |
                LVS_SHAREIMAGELISTS | WS_TABSTOP;
  return args;
}

}  // namespace

TPTListView::TPTListView(const TControlArgs& args, const std::vector<TListColumn>& columns,
                         int rowHeight)
    : TControl(ReportArgs(args)) {
  SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, kExtendedStyle, kExtendedStyle);
  for (size_t i = 0; i < columns.size(); ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = columns[i].RightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = columns[i].Width;
    column.iSubItem = static_cast<int>(i);
    SendMessageA(Handle(), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    FRightAligned.push_back(columns[i].RightAligned);
    FCaptions.push_back(columns[i].Caption);
    SetColumnCaption(static_cast<int>(i), columns[i].Caption);
  }
  if (rowHeight > 0) SetRowHeight(rowHeight);
}

// A row is as high as the taller of its text and its small image, and a
// border below them.
void TPTListView::SetRowHeight(int rowHeight) {
  FRowHeight = rowHeight;
  const int imageHeight = rowHeight - GetSystemMetrics(SM_CYBORDER);
  TOwnedImageList images(ImageList_Create(1, imageHeight, ILC_COLOR, 0, 0));
  SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.Get()));
  FRowImages = std::move(images);
}

void TPTListView::DpiChanged(int fromDpi, int toDpi) {
  const HWND header = reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
  const auto columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < columns; ++i) SetColumnWidth(i, MulDiv(ColumnWidth(i), toDpi, fromDpi));
  if (FRowHeight > 0) SetRowHeight(MulDiv(FRowHeight, toDpi, fromDpi));
}

int TPTListView::AddItem(const std::string& caption, const void* data) {
  FRows.push_back({caption, data});
  if (FUpdates == 0) ShowRowCount();
  return Count() - 1;
}

void TPTListView::Clear() {
  FRows.clear();
  ShowRowCount();
}

int TPTListView::Count() const {
  return static_cast<int>(FRows.size());
}

const void* TPTListView::Data(int index) const {
  return FRows[index].Data;
}

std::string TPTListView::Caption(int index) const {
  return FRows[index].Caption;
}

void TPTListView::ShowRowCount() {
  SendMessageA(Handle(), LVM_SETITEMCOUNT, FRows.size(), 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

int TPTListView::Selected() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

std::vector<int> TPTListView::SelectedRows() const {
  std::vector<int> rows;
  for (int row = -1;
       (row = static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;)
    rows.push_back(row);
  return rows;
}

void TPTListView::SetSelected(int index) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(Handle(), LVM_SETITEMSTATE, -1, reinterpret_cast<LPARAM>(&item));
  if (index < 0) return;
  item.state = item.stateMask;
  SendMessageA(Handle(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
  SendMessageA(Handle(), LVM_ENSUREVISIBLE, index, FALSE);
}

void TPTListView::SelectAll() {
  LVITEMA item{};
  item.stateMask = item.state = LVIS_SELECTED;
  SendMessageA(Handle(), LVM_SETITEMSTATE, -1, reinterpret_cast<LPARAM>(&item));
}

int TPTListView::FocusedRow() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
}

// A list that takes the focus with no row focused shows none, and the arrows
// would start from nowhere: the first row in view takes it, unselected.
void TPTListView::ShowFocus() {
  if (Count() == 0 || FocusedRow() >= 0) return;
  LVITEMA item{};
  item.stateMask = item.state = LVIS_FOCUSED;
  SendMessageA(Handle(), LVM_SETITEMSTATE, TopRow(), reinterpret_cast<LPARAM>(&item));
}

// The header takes "&" for an access key; a caption shows as it stands.
// The alignment goes with the text: Wine's list view sets the header's
// format from whatever it is given, and would lose it otherwise.
void TPTListView::SetColumnCaption(int column, const std::string& caption) {
  FCaptions[column] = caption;
  std::string text = ReplaceAll(caption, "&", "&&");
  LVCOLUMNA item{};
  item.mask = LVCF_TEXT | LVCF_FMT;
  item.fmt = FRightAligned[column] ? LVCFMT_RIGHT : LVCFMT_LEFT;
  item.pszText = text.data();
  SendMessageA(Handle(), LVM_SETCOLUMNA, column, reinterpret_cast<LPARAM>(&item));
}

void TPTListView::SetColumnWidth(int column, int width) {
  SendMessageA(Handle(), LVM_SETCOLUMNWIDTH, column, width);
}

int TPTListView::ColumnWidth(int column) const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETCOLUMNWIDTH, column, 0));
}

int TPTListView::ColumnCount() const {
  return static_cast<int>(FCaptions.size());
}

// The margins are what the list view and its header leave beside a text,
// with some to spare, in proportion to the font, which follows the DPI.
int TPTListView::TextWidth(int column) const {
  const TWindowDC dc(Handle());
  const TSelection font(dc.Get(),
                        reinterpret_cast<HGDIOBJ>(SendMessageA(Handle(), WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc.Get(), &metrics);
  const auto width = [&](const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx + 3 * metrics.tmAveCharWidth);
  };
  int widest = width(FCaptions[column]) + static_cast<int>(metrics.tmHeight);  // the sort arrow
  for (int row = 0; row < Count(); ++row) widest = std::max(widest, width(CellText(row, column)));
  return widest;
}

// Told once the list has handled what is under way, and once for a burst.
void TPTListView::ViewChanged() {
  if (!OnViewChange || FViewChangePosted) return;
  FViewChangePosted = PostMessageA(Handle(), kViewChangedMessage, 0, 0);
}

int TPTListView::TopRow() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETTOPINDEX, 0, 0));
}

int TPTListView::VisibleRows() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
}

void TPTListView::BeginUpdate() {
  if (FUpdates++ == 0) SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TPTListView::EndUpdate() {
  if (FUpdates == 0 || --FUpdates > 0) return;
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  ShowRowCount();
  RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// The selected row stays selected wherever the sort takes it.
void TPTListView::Sort(TCompare compare, int32_t parameter) {
  const int selected = Selected();
  const void* chosen = selected >= 0 ? Data(selected) : nullptr;
  std::stable_sort(FRows.begin(), FRows.end(), [&](const TRow& a, const TRow& b) {
    return compare(a.Data, b.Data, parameter) < 0;
  });
  InvalidateRect(Handle(), nullptr, TRUE);
  ViewChanged();
  if (!chosen) return;
  const auto row = std::find_if(FRows.begin(), FRows.end(),
                                [&](const TRow& candidate) { return candidate.Data == chosen; });
  SetSelected(static_cast<int>(row - FRows.begin()));
}

void TPTListView::ShowSortArrow() {
  const HWND header = Header();
  const auto columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < columns; ++i) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (i == SortColumn) item.fmt |= SortDirection ? HDF_SORTUP : HDF_SORTDOWN;
    SendMessageA(header, HDM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
}

void TPTListView::AppendSortMenu(HMENU menu, UINT firstCommand) const {
  HMENU columns = CreatePopupMenu();
  const std::vector<std::string> texts = WithAccessKeys(FCaptions);
  for (size_t i = 0; i < texts.size(); ++i)
    AppendMenuA(columns, MF_STRING | (static_cast<int>(i) == SortColumn ? MF_CHECKED : 0),
                firstCommand + i, texts[i].c_str());
  // The menu owns its submenu from here.
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(columns), "Sort &by");
}

bool TPTListView::SortMenuCommand(UINT command, UINT firstCommand) {
  if (command < firstCommand || command - firstCommand >= FCaptions.size()) return false;
  if (OnColumnClick) OnColumnClick(static_cast<int>(command - firstCommand));
  return true;
}

bool TPTListView::Notified(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_NOTIFY) return false;
  auto& notification = *reinterpret_cast<NMHDR*>(lParam);
  switch (notification.code) {
    case LVN_GETDISPINFOA: GetText(reinterpret_cast<NMLVDISPINFOA&>(notification).item); break;
    case LVN_ENDLABELEDITA:
      result = EndLabelEdit(reinterpret_cast<NMLVDISPINFOA&>(notification).item);
      return true;
    case LVN_COLUMNCLICK:
      if (OnColumnClick) OnColumnClick(reinterpret_cast<const NMLISTVIEW&>(notification).iSubItem);
      break;
    case NM_CUSTOMDRAW: return CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(notification), result);
    case LVN_ITEMCHANGED: ViewChanged(); break;
    case LVN_KEYDOWN: {
      const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(notification).wVKey;
      if (GetKeyState(VK_CONTROL) >= 0) break;
      if (key == 'C' && OnCopy) OnCopy();
      if (key == 'A') SelectAll();
      break;
    }
    default: return false;
  }
  result = 0;
  return true;
}

// The menu key's release brings WM_CONTEXTMENU from the system's default
// handling on Windows, but not on Wine: the list answers it itself, and the
// default handling never sees it.
bool TPTListView::Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == kViewChangedMessage) {
    FViewChangePosted = false;
    if (OnViewChange) OnViewChange();
    result = 0;
    return true;
  }
  if (msg == WM_SETFOCUS) {
    result = DefSubclassProc(Handle(), msg, wParam, lParam);
    ShowFocus();
    return true;
  }
  // What scrolls the rows; the list moves them after this.
  if (msg == WM_VSCROLL || msg == WM_MOUSEWHEEL || msg == WM_KEYDOWN || msg == WM_SIZE)
    ViewChanged();
  const bool menuKey = msg == WM_KEYUP && wParam == VK_APPS;
  if (!OnContextMenu || (msg != WM_CONTEXTMENU && !menuKey))
    return TControl::Intercept(msg, wParam, lParam, result);
  // Shift+F10 sends no position either.
  const POINT at =
      menuKey || lParam == -1 ? MenuKeyPoint() : POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  OnContextMenu(at.x, at.y);
  result = 0;
  return true;
}

// The bottom left corner of the selected row (or else of the focused one),
// or the list's top left one.
POINT TPTListView::MenuKeyPoint() const {
  RECT row{};
  row.left = LVIR_BOUNDS;
  const int index = Selected() >= 0 ? Selected() : FocusedRow();
  if (index < 0 || !SendMessageA(Handle(), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&row)))
    row = {};
  POINT at{row.left, row.bottom};
  ClientToScreen(Handle(), &at);
  return at;
}

// Each row's background, asked for before the row paints.
bool TPTListView::CustomDraw(NMLVCUSTOMDRAW& draw, LRESULT& result) const {
  if (!OnPTCustomDraw) return false;
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: result = CDRF_NOTIFYITEMDRAW; return true;
    case CDDS_ITEMPREPAINT:
      const auto position = static_cast<int>(draw.nmcd.dwItemSpec);
      draw.clrTextBk = OnPTCustomDraw(Data(position), position);
      result = CDRF_DODEFAULT;
      return true;
  }
  return false;
}

// A cell's text, copied into the list view's buffer: it keeps none. Every
// row shows the image list's first (empty) image, which only sets its height.
void TPTListView::GetText(LVITEMA& item) const {
  if (item.iItem < 0 || item.iItem >= Count()) return;
  if (item.mask & LVIF_IMAGE) item.iImage = 0;
  if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0) return;
  lstrcpynA(item.pszText, CellText(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
}

std::string TPTListView::CellText(int row, int column) const {
  std::string text = column == 0 ? Caption(row)
                     : OnGetText ? OnGetText(Data(row), column)
                                 : std::string();
  // Wine clips the last pixels of a right-aligned cell's text; a blank after
  // it takes the cut (and on Windows is only a blank's more margin).
  if (column < static_cast<int>(FRightAligned.size()) && FRightAligned[column] && !text.empty())
    text += ' ';
  return text;
}

// Any text the user leaves is taken; none when the edit was cancelled.
bool TPTListView::EndLabelEdit(const LVITEMA& item) {
  if (!item.pszText || item.iItem < 0 || item.iItem >= Count()) return false;
  FRows[item.iItem].Caption = item.pszText;
  return true;
}

HWND TPTListView::Header() const {
  return reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
}
