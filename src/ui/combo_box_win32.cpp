#include "ui/combo_box_win32.h"

namespace {

TControlArgs DropDownList(TControlArgs args) {
  args.ClassName = "COMBOBOX";
  args.Style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
  return args;
}

}  // namespace

TComboBox::TComboBox(const TControlArgs& args, const std::vector<std::string>& items)
    : TControl(DropDownList(args)), FListHeight(args.Height) {
  SetItems(items);
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
  SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items)
    SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int TComboBox::ItemIndex() const {
  return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
  SendMessageA(Handle(), CB_SETCURSEL, index, 0);
}

void TComboBox::DpiChanged(int fromDpi, int toDpi) {
  FListHeight = MulDiv(FListHeight, toDpi, fromDpi);
  const RECT r = BoundsInParent(Handle());
  SetBounds(r.left, r.top, r.right - r.left, FListHeight);
}

bool TComboBox::Notified(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND || HIWORD(wParam) != CBN_SELCHANGE) return false;
  if (OnChange) OnChange();
  result = 0;
  return true;
}
