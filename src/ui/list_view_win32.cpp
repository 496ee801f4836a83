#include "ui/list_view_win32.h"

#include "storage/text_utils.h"

#include <commctrl.h>
#include <windowsx.h>

#include <exception>

namespace {

constexpr DWORD kExtendedStyle = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;

// The image list is the control's, not the list view's to destroy.
TControlArgs ReportArgs(TControlArgs args) {
  args.ClassName = WC_LISTVIEWA;
  args.Style |= LVS_REPORT | LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_SHAREIMAGELISTS | WS_TABSTOP;
  return args;
}

// What LVM_SORTITEMS carries to CompareData. An exception stops at the list
// view's window procedure and waits here to be thrown on.
struct TSortCall {
  TPTListView::TCompare Compare;
  int32_t Parameter;
  std::exception_ptr Error;
};

int CALLBACK CompareData(LPARAM a, LPARAM b, LPARAM sortCall) {
  auto& call = *reinterpret_cast<TSortCall*>(sortCall);
  if (call.Error) return 0;
  try {
    return call.Compare(reinterpret_cast<const void*>(a), reinterpret_cast<const void*>(b),
                        call.Parameter);
  } catch (...) {
    call.Error = std::current_exception();
    return 0;
  }
}

}  // namespace

TPTListView::TPTListView(const TControlArgs& args, const std::vector<TListColumn>& columns,
                         int rowHeight)
    : TControl(ReportArgs(args)) {
  SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, kExtendedStyle, kExtendedStyle);
  for (size_t i = 0; i < columns.size(); ++i) {
    // The header takes "&" for an access key; a caption shows as it stands.
    std::string caption = ReplaceAll(columns[i].Caption, "&", "&&");
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = columns[i].RightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = columns[i].Width;
    column.pszText = caption.data();
    column.iSubItem = static_cast<int>(i);
    SendMessageA(Handle(), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
  // A row is as high as the taller of its text and its small image, and a
  // border below them.
  if (rowHeight > 0) {
    const int imageHeight = rowHeight - GetSystemMetrics(SM_CYBORDER);
    FRowImages.Reset(ImageList_Create(1, imageHeight, ILC_COLOR, 0, 0));
    SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(FRowImages.Get()));
  }
}

int TPTListView::AddItem(const std::string& caption, const void* data) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = Count();
  item.pszText = const_cast<char*>(caption.c_str());
  item.lParam = reinterpret_cast<LPARAM>(data);
  const auto index =
      static_cast<int>(SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  item.pszText = LPSTR_TEXTCALLBACKA;
  const auto columns = static_cast<int>(SendMessageA(Header(), HDM_GETITEMCOUNT, 0, 0));
  for (item.iSubItem = 1; item.iSubItem < columns; ++item.iSubItem)
    SendMessageA(Handle(), LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
  return index;
}

void TPTListView::Clear() {
  SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0);
}

int TPTListView::Count() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

const void* TPTListView::Data(int index) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  SendMessageA(Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return reinterpret_cast<const void*>(item.lParam);
}

std::string TPTListView::Caption(int index) const {
  std::string text(64, '\0');
  for (;;) {
    LVITEMA item{};
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto length = static_cast<size_t>(
        SendMessageA(Handle(), LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(2 * text.size());
  }
}

int TPTListView::Selected() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, -1, LVNI_SELECTED));
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

void TPTListView::SetColumnWidth(int column, int width) {
  SendMessageA(Handle(), LVM_SETCOLUMNWIDTH, column, width);
}

int TPTListView::ColumnWidth(int column) const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETCOLUMNWIDTH, column, 0));
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
  RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TPTListView::Sort(TCompare compare, int32_t parameter) {
  TSortCall call{compare, parameter, nullptr};
  SendMessageA(Handle(), LVM_SORTITEMS, reinterpret_cast<WPARAM>(&call),
               reinterpret_cast<LPARAM>(CompareData));
  if (call.Error) std::rethrow_exception(call.Error);
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

bool TPTListView::Notified(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_NOTIFY) return false;
  auto& notification = *reinterpret_cast<NMHDR*>(lParam);
  switch (notification.code) {
    case LVN_GETDISPINFOA: GetText(reinterpret_cast<NMLVDISPINFOA&>(notification).item); break;
    case LVN_ENDLABELEDITA:
      // Any text the user leaves is taken; none when the edit was cancelled.
      result = reinterpret_cast<const NMLVDISPINFOA&>(notification).item.pszText != nullptr;
      return true;
    case LVN_COLUMNCLICK:
      if (OnColumnClick) OnColumnClick(reinterpret_cast<const NMLISTVIEW&>(notification).iSubItem);
      break;
    case NM_CUSTOMDRAW: return CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(notification), result);
    default: return false;
  }
  result = 0;
  return true;
}

// The menu key's release brings WM_CONTEXTMENU from the system's default
// handling on Windows, but not on Wine: the list answers it itself, and the
// default handling never sees it.
bool TPTListView::Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
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

// The bottom left corner of the selected row, or the list's top left one.
POINT TPTListView::MenuKeyPoint() const {
  RECT row{};
  row.left = LVIR_BOUNDS;
  const int selected = Selected();
  if (selected < 0 ||
      !SendMessageA(Handle(), LVM_GETITEMRECT, selected, reinterpret_cast<LPARAM>(&row)))
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
      draw.clrTextBk = OnPTCustomDraw(reinterpret_cast<const void*>(draw.nmcd.lItemlParam),
                                      static_cast<int>(draw.nmcd.dwItemSpec));
      result = CDRF_DODEFAULT;
      return true;
  }
  return false;
}

// A cell's text, copied into the list view's buffer: it keeps none.
void TPTListView::GetText(LVITEMA& item) const {
  if (!(item.mask & LVIF_TEXT) || item.iSubItem < 1 || item.cchTextMax <= 0 || !OnGetText) return;
  lstrcpynA(item.pszText, OnGetText(Data(item.iItem), item.iSubItem).c_str(), item.cchTextMax);
}

HWND TPTListView::Header() const {
  return reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
}
