#include "ui/tab_control_win32.h"

#include <commctrl.h>

#include <string_view>

namespace {

TControlArgs Tabs(TControlArgs args) {
  args.ClassName = WC_TABCONTROLA;
  args.Style |= WS_TABSTOP | WS_CLIPSIBLINGS;
  return args;
}

// Whether control lies on a tab page, at any depth below it.
bool OnAPage(HWND tabs, HWND control) {
  HWND top = control;
  while (GetParent(top) && GetParent(top) != GetParent(tabs)) top = GetParent(top);
  char name[16] = "";
  GetClassNameA(top, name, sizeof name);
  return std::string_view(name) == "TTabPage";
}

// A radio group is entered at its checked button, as Tab enters it.
HWND CheckedInGroup(HWND dialog, HWND first) {
  if ((SendMessageA(first, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) == 0) return first;
  HWND button = first;
  do {
    if (SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) return button;
    button = GetNextDlgGroupItem(dialog, button, FALSE);
  } while (button && button != first);
  return first;
}

}  // namespace

bool SwitchTabsByKey(HWND dialog, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0)
    return false;
  HWND tabs = FindWindowExA(dialog, nullptr, WC_TABCONTROLA, nullptr);
  if (!tabs || !IsWindowVisible(tabs)) return false;
  const auto count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  const int step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
  const auto current = static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
  NMHDR change{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGING)};
  SendMessageA(dialog, WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
  SendMessageA(tabs, TCM_SETCURSEL, (current + step) % count, 0);
  change.code = static_cast<UINT>(TCN_SELCHANGE);
  SendMessageA(dialog, WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
  // Into the page now shown, so that its first control (a report's list)
  // answers the next key; the tabs for a page without one.
  HWND next = GetNextDlgTabItem(dialog, tabs, FALSE);
  FocusControl(next && OnAPage(tabs, next) ? CheckedInGroup(dialog, next) : tabs);
  return true;
}

TTabPage::TTabPage(HWND parent, const RECT& bounds) {
  TFormArgs args;
  args.ClassName = "TTabPage";
  args.Style = WS_CHILD | WS_CLIPSIBLINGS;
  args.ExStyle = WS_EX_CONTROLPARENT;
  args.Left = bounds.left;
  args.Top = bounds.top;
  args.Width = bounds.right - bounds.left;
  args.Height = bounds.bottom - bounds.top;
  args.Owner = parent;
  CreateForm(args);
}

TTabControl::TTabControl(const TControlArgs& args, const std::vector<std::string>& tabs)
    : TControl(Tabs(args)) {
  for (size_t i = 0; i < tabs.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(tabs[i].c_str());
    SendMessageA(Handle(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  // The pages lie in the tabs' display area, as siblings right after the
  // tabs in the Z order, which is the order Tab goes in: the tabs, the
  // shown page's controls, then what follows the tabs in the dialog. The
  // tabs' window leaves the display area out (PlacePages), or it would
  // paint over the pages below it.
  HWND previous = Handle();
  for (size_t i = 0; i < tabs.size(); ++i) {
    FPages.push_back(std::make_unique<TTabPage>(args.Parent, RECT{}));
    SendMessageA(FPages.back()->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(args.Font), FALSE);
    SetWindowPos(FPages.back()->Handle(), previous, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = FPages.back()->Handle();
  }
  PlacePages(args.Left, args.Top, args.Width, args.Height);
  ShowPage(0);
}

void TTabControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  PlacePages(left, top, width, height);
}

void TTabControl::PlacePages(int left, int top, int width, int height) {
  RECT area{left, top, left + width, top + height};
  SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  for (const auto& page : FPages)
    MoveWindow(page->Handle(), area.left, area.top, area.right - area.left, area.bottom - area.top,
               TRUE);
  // The tabs and the frame around the pages; the window owns the region.
  HRGN shape = CreateRectRgn(0, 0, width, height);
  HRGN pages =
      CreateRectRgn(area.left - left, area.top - top, area.right - left, area.bottom - top);
  CombineRgn(shape, shape, pages, RGN_DIFF);
  DeleteObject(pages);
  SetWindowRgn(Handle(), shape, TRUE);
}

// The tabs are as high as their new font needs.
void TTabControl::DpiChanged(int, int) {
  const RECT r = BoundsInParent(Handle());
  PlacePages(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

int TTabControl::TabIndex() const {
  return static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
}

void TTabControl::SetTabIndex(int index) {
  SendMessageA(Handle(), TCM_SETCURSEL, index, 0);
  ShowPage(index);
}

bool TTabControl::Notified(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != TCN_SELCHANGE)
    return false;
  ShowPage(TabIndex());
  result = 0;
  return true;
}

void TTabControl::ShowPage(int index) {
  for (size_t i = 0; i < FPages.size(); ++i)
    ShowWindow(FPages[i]->Handle(), static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
}
