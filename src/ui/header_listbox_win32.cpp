#include "ui/header_listbox_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string_view>
#include <utility>

#include "ui/color_button_win32.h"
#include "ui/dpi_win32.h"

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

HFONT FontOf(HWND window) {
  return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

int TextWidth(HDC dc, std::string_view text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// An item's fields, split at its tabs.
std::vector<std::string_view> Fields(const std::string& text) {
  std::vector<std::string_view> fields;
  for (size_t start = 0; start <= text.size();) {
    const size_t end = std::min(text.find('\t', start), text.size());
    fields.push_back(std::string_view(text).substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

// Between a section's edge and its text, as the header sets its texts in.
int TextMargin() {
  return 3 * GetSystemMetrics(SM_CXEDGE);
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
  FitSections(0);
}

void THeaderListbox::Clear() {
  SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
  FitSections(0);
}

int THeaderListbox::Add(const std::string& tabbedText, void* object) {
  const auto index = static_cast<int>(
      SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tabbedText.c_str())));
  SendMessageA(Handle(), LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(object));
  FitSections(index);
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
  PlaceSections();
}

// Each section that fits its text as wide as the widest of its header's and
// its rows' texts with the margins, the first with the check box, if any.
// From row 0 the widths are measured afresh; from a later row the rows from
// there on only widen them.
void THeaderListbox::FitSections(int firstRow) {
  const TWindowDC dc(Handle());
  const int margins = 2 * TextMargin();
  if (firstRow == 0) {
    const TSelection font(dc.Get(), FontOf(FHeader.Handle()));
    for (THeaderSection& section : FSections)
      if (section.FitsText) section.Width = TextWidth(dc.Get(), section.Text) + margins;
  }
  const TSelection font(dc.Get(), FontOf(Handle()));
  for (int row = firstRow; row < Count(); ++row) {
    const std::string text = Text(row);
    const std::vector<std::string_view> fields = Fields(text);
    for (size_t i = 0; i < std::min(fields.size(), FSections.size()); ++i) {
      if (!FSections[i].FitsText) continue;
      const int box = i == 0 && !FChecks.empty() ? CheckBoxSpace() : 0;
      FSections[i].Width =
          std::max(FSections[i].Width, box + TextWidth(dc.Get(), fields[i]) + margins);
    }
  }
  PlaceSections();
}

// The section that takes the rest gets what the others and the vertical
// scroll bar leave of the width.
void THeaderListbox::PlaceSections() {
  const RECT list = BoundsInParent(Handle());
  int rest = list.right - list.left - SystemMetricForDpi(SM_CXVSCROLL, WindowDpi(Handle()));
  for (const THeaderSection& section : FSections)
    if (!section.TakesRest) rest -= section.Width;
  for (size_t i = 0; i < FSections.size(); ++i) {
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = FSections[i].TakesRest ? std::max(rest, 0) : FSections[i].Width;
    SendMessageA(FHeader.Handle(), HDM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  InvalidateRect(Handle(), nullptr, FALSE);  // the cells follow their sections
}

// The list asked for the height while it was created, before it had an
// owner to answer; a pixel above and below the text leaves room for the
// focus rectangle.
void THeaderListbox::FitItemHeight() {
  const auto font = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, LineHeight(font) + 2);
}

// The header gets the height of its new font, the list the rest; the
// sections that fit their texts measure them again in the new font.
void THeaderListbox::DpiChanged(int fromDpi, int toDpi) {
  for (THeaderSection& section : FSections) section.Width = MulDiv(section.Width, toDpi, fromDpi);
  FitItemHeight();
  FitSections(0);
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
  FitSections(0);
}

bool THeaderListbox::Checked(int index) const {
  return index >= 0 && static_cast<size_t>(index) < FChecks.size() && FChecks[index];
}

bool THeaderListbox::Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // The selection's colour follows the focus.
  if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) InvalidateRect(Handle(), nullptr, FALSE);
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

// The text starts where the header's does and may reach into the margin on
// the right, where the ink of a last glyph can go beyond its advance.
RECT THeaderListbox::Cell(size_t section, const RECT& row) const {
  RECT cell{};
  SendMessageA(FHeader.Handle(), HDM_GETITEMRECT, section, reinterpret_cast<LPARAM>(&cell));
  MapWindowPoints(FHeader.Handle(), Handle(), reinterpret_cast<POINT*>(&cell), 2);
  return {cell.left + TextMargin(), row.top, cell.right, row.bottom};
}

// A square as high as the row leaves inside a pixel above and below.
RECT THeaderListbox::CheckBox(const RECT& cell) const {
  const int size = cell.bottom - cell.top - 2;
  return {cell.left, cell.top + 1, cell.left + size, cell.top + 1 + size};
}

int THeaderListbox::CheckBoxSpace() const {
  const auto height = static_cast<LONG>(SendMessageA(Handle(), LB_GETITEMHEIGHT, 0, 0));
  return CheckBox({0, 0, 0, height}).right + GetSystemMetrics(SM_CXEDGE);
}

// The whole row on every call (also for a change of focus only): the fill
// takes away a focus rectangle drawn before. The selection is in the
// highlight colour while the list has the focus, as a list box shows it,
// and in the button face's without it. An empty list gets the focus
// rectangle where its first row would be. Wine draws a row whose selection
// changed without telling its focus: the caret's row has it then.
void THeaderListbox::DrawItem(const DRAWITEMSTRUCT& item) const {
  const HDC dc = item.hDC;
  const bool selected = item.itemState & ODS_SELECTED, focused = GetFocus() == Handle();
  FillRect(
      dc, &item.rcItem,
      !selected ? FListBrush.Get() : GetSysColorBrush(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(item.itemState & ODS_DISABLED ? COLOR_GRAYTEXT
                               : !selected                   ? COLOR_WINDOWTEXT
                               : focused                     ? COLOR_HIGHLIGHTTEXT
                                                             : COLOR_BTNTEXT));
  if (item.itemID != static_cast<UINT>(-1)) DrawFields(dc, item);
  const bool caret =
      focused && item.itemID == static_cast<UINT>(SendMessageA(Handle(), LB_GETCARETINDEX, 0, 0));
  if (item.itemAction == ODA_FOCUS ? item.itemState & ODS_FOCUS : caret)
    DrawFocusRect(dc, &item.rcItem);
}

// Each field in its section's column, cut short with an ellipsis where it
// is too long; the first after the check box, if any.
void THeaderListbox::DrawFields(HDC dc, const DRAWITEMSTRUCT& item) const {
  const std::string text = Text(static_cast<int>(item.itemID));
  const std::vector<std::string_view> fields = Fields(text);
  for (size_t i = 0; i < std::min(fields.size(), FSections.size()); ++i) {
    RECT cell = Cell(i, item.rcItem);
    if (i == 0 && !FChecks.empty()) {
      RECT box = CheckBox(cell);
      const bool checked = Checked(static_cast<int>(item.itemID));
      DrawFrameControl(dc, &box, DFC_BUTTON,
                       DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0) |
                           (item.itemState & ODS_DISABLED ? DFCS_INACTIVE : 0));
      cell.left += CheckBoxSpace();
    }
    DrawTextA(dc, fields[i].data(), static_cast<int>(fields[i].size()), &cell,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}
