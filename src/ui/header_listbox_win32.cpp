#include "ui/header_listbox_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "ui/color_button_win32.h"

namespace {

// HDS_NOSIZING (Common Controls 6), which the headers leave out for the
// WINVER we build with.
constexpr DWORD kNoSizing = 0x0800;

TControlArgs ListArgs(TControlArgs args) {
  args.ClassName = "LISTBOX";
  args.Style |= WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
                LBS_NOINTEGRALHEIGHT | WS_TABSTOP;
  return args;
}

// Without HDS_BUTTONS the sections do not press in when clicked.
TControlArgs HeaderArgs(const TControlArgs& list) {
  TControlArgs args;
  args.Parent = list.Parent;
  args.ClassName = WC_HEADERA;
  args.Style = (list.Style & WS_VISIBLE) | HDS_HORZ | kNoSizing;
  args.Font = list.Font;
  return args;
}

// The height of a line of text in the font; the system's when none is given.
int LineHeight(HFONT font) {
  const TWindowDC screen(nullptr);
  const TSelection selection(screen.Get(), font ? font : GetStockObject(SYSTEM_FONT));
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen.Get(), &metrics);
  return metrics.tmHeight;
}

}  // namespace

THeaderListbox::THeaderListbox(const TControlArgs& args, std::vector<THeaderSection> sections)
    : TControl(ListArgs(args)), FSections(std::move(sections)), FHeader(HeaderArgs(args)) {
  for (size_t i = 0; i < FSections.size(); ++i) {
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.fmt = HDF_LEFT | HDF_STRING;
    item.pszText = FSections[i].Text.data();
    item.cxy = FSections[i].Width;
    SendMessageA(FHeader.Handle(), HDM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  FitItemHeight();
  SetListColor(GetSysColor(COLOR_WINDOW));
  SetBounds(args.Left, args.Top, args.Width, args.Height);
}

void THeaderListbox::Clear() {
  SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
}

int THeaderListbox::Add(const std::string& tabbedText, void* object) {
  const auto index = static_cast<int>(
      SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tabbedText.c_str())));
  SendMessageA(Handle(), LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(object));
  return index;
}

int THeaderListbox::Count() const {
  return static_cast<int>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0));
}

std::string THeaderListbox::Text(int index) const {
  const LRESULT length = SendMessageA(Handle(), LB_GETTEXTLEN, index, 0);
  if (length <= 0) return {};
  std::string text(length + 1, '\0');
  SendMessageA(Handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return text;
}

void* THeaderListbox::Object(int index) const {
  return reinterpret_cast<void*>(SendMessageA(Handle(), LB_GETITEMDATA, index, 0));
}

int THeaderListbox::ItemIndex() const {
  return static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
}

void THeaderListbox::SetItemIndex(int index) {
  SendMessageA(Handle(), LB_SETCURSEL, index, 0);
}

bool THeaderListbox::Enabled() const {
  return IsWindowEnabled(Handle());
}

void THeaderListbox::SetEnabled(bool enabled) {
  EnableWindow(Handle(), enabled);
  EnableWindow(FHeader.Handle(), enabled);
}

void THeaderListbox::SetListColor(COLORREF color) {
  FListColor = ResolvedColor(color);
  FListBrush.Reset(CreateSolidBrush(FListColor));
  InvalidateRect(Handle(), nullptr, TRUE);
}

void THeaderListbox::SetBounds(int left, int top, int width, int height) {
  RECT list{left, top, left + width, top + height};
  WINDOWPOS header{};
  HDLAYOUT layout{&list, &header};
  SendMessageA(FHeader.Handle(), HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
  MoveWindow(FHeader.Handle(), header.x, header.y, header.cx, header.cy, TRUE);
  TControl::SetBounds(list.left, list.top, list.right - list.left, list.bottom - list.top);

  int fixed = 0;
  for (const THeaderSection& section : FSections)
    if (!section.TakesRest) fixed += section.Width;
  for (size_t i = 0; i < FSections.size(); ++i) {
    if (FSections[i].TakesRest) SetSectionWidth(i, std::max(width - fixed, 0));
  }
}

void THeaderListbox::SetSectionWidth(size_t index, int width) {
  HDITEMA item{};
  item.mask = HDI_WIDTH;
  item.cxy = width;
  SendMessageA(FHeader.Handle(), HDM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
}

// The list asked for the height while it was created, before it had an
// owner to answer; a pixel above and below the text leaves room for the
// focus rectangle.
void THeaderListbox::FitItemHeight() {
  const auto font = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, LineHeight(font) + 2);
}

// The header gets the height of its new font, the list the rest.
void THeaderListbox::DpiChanged(int fromDpi, int toDpi) {
  for (size_t i = 0; i < FSections.size(); ++i) {
    FSections[i].Width = MulDiv(FSections[i].Width, toDpi, fromDpi);
    if (!FSections[i].TakesRest) SetSectionWidth(i, FSections[i].Width);
  }
  FitItemHeight();
  RECT bounds;
  const RECT header = BoundsInParent(FHeader.Handle()), list = BoundsInParent(Handle());
  UnionRect(&bounds, &header, &list);
  SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
}

void THeaderListbox::SetVisible(bool visible) {
  TControl::SetVisible(visible);
  FHeader.SetVisible(visible);
}

bool THeaderListbox::Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      // Sent for the user's selections only, not for LB_SETCURSEL.
      if (HIWORD(wParam) != LBN_SELCHANGE) return false;
      if (OnClick) OnClick();
      result = 0;
      return true;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_CTLCOLORLISTBOX:
      SetBkColor(reinterpret_cast<HDC>(wParam), FListColor);
      result = reinterpret_cast<LRESULT>(FListBrush.Get());
      return true;
  }
  return false;
}

void THeaderListbox::SetChecks(const std::vector<bool>& checked) {
  FChecks = checked;
  InvalidateRect(Handle(), nullptr, FALSE);
}

bool THeaderListbox::Checked(int index) const {
  return index >= 0 && static_cast<size_t>(index) < FChecks.size() && FChecks[index];
}

bool THeaderListbox::Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!FChecks.empty() && OnToggle) {
    // Space toggles; its character would search the rows for a blank.
    if ((msg == WM_KEYDOWN && wParam == VK_SPACE) || (msg == WM_CHAR && wParam == ' ')) {
      if (msg == WM_KEYDOWN && ItemIndex() >= 0) OnToggle(ItemIndex());
      result = 0;
      return true;
    }
    if (msg == WM_LBUTTONDOWN) {
      const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      const LRESULT hit = SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, lParam);
      RECT row{};
      if (HIWORD(hit) == 0 && SendMessageA(Handle(), LB_GETITEMRECT, LOWORD(hit),
                                           reinterpret_cast<LPARAM>(&row)) != LB_ERR) {
        const RECT box = CheckBox(Cell(0, row));
        // The press also selects the row, as the list goes on to do.
        if (PtInRect(&box, point)) OnToggle(LOWORD(hit));
      }
    }
  }
  return TControl::Intercept(msg, wParam, lParam, result);
}

// Set in as far as the header sets its texts.
RECT THeaderListbox::Cell(size_t section, const RECT& row) const {
  RECT cell{};
  SendMessageA(FHeader.Handle(), HDM_GETITEMRECT, section, reinterpret_cast<LPARAM>(&cell));
  MapWindowPoints(FHeader.Handle(), Handle(), reinterpret_cast<POINT*>(&cell), 2);
  const int margin = 3 * GetSystemMetrics(SM_CXEDGE);
  return {cell.left + margin, row.top, cell.right - margin, row.bottom};
}

// A square as high as the row leaves inside a pixel above and below.
RECT THeaderListbox::CheckBox(const RECT& cell) const {
  const int size = cell.bottom - cell.top - 2;
  return {cell.left, cell.top + 1, cell.left + size, cell.top + 1 + size};
}

// The whole row on every call (also for a change of focus only): the fill
// takes away a focus rectangle drawn before.
void THeaderListbox::DrawItem(const DRAWITEMSTRUCT& item) const {
  if (item.itemID == static_cast<UINT>(-1)) return;  // the focus in an empty list
  const HDC dc = item.hDC;
  const bool selected = item.itemState & ODS_SELECTED;
  FillRect(dc, &item.rcItem, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : FListBrush.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(item.itemState & ODS_DISABLED ? COLOR_GRAYTEXT
                               : selected                    ? COLOR_HIGHLIGHTTEXT
                                                             : COLOR_WINDOWTEXT));
  // Each field in its section's column, clipped there; the first after the
  // check box, if any.
  const std::string text = Text(static_cast<int>(item.itemID));
  size_t start = 0;
  for (size_t i = 0; i < FSections.size() && start <= text.size(); ++i) {
    const size_t end = std::min(text.find('\t', start), text.size());
    RECT cell = Cell(i, item.rcItem);
    if (i == 0 && !FChecks.empty()) {
      RECT box = CheckBox(cell);
      const bool checked = Checked(static_cast<int>(item.itemID));
      DrawFrameControl(dc, &box, DFC_BUTTON,
                       DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0) |
                           (item.itemState & ODS_DISABLED ? DFCS_INACTIVE : 0));
      cell.left = box.right + GetSystemMetrics(SM_CXEDGE);
    }
    DrawTextA(dc, text.data() + start, static_cast<int>(end - start), &cell,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    start = end + 1;
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}
