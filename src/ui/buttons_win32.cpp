#include "ui/buttons_win32.h"

namespace {

constexpr int kItemHeight = 18;
constexpr int kFrameTop = 16;  // below the caption
constexpr int kItemIndent = 10;

// Tab stops at every button but a group's frame and the radio buttons after
// the first of a group, which the arrow keys reach.
TControlArgs ButtonArgs(TControlArgs args, DWORD kind) {
  args.ClassName = "BUTTON";
  args.Style |= kind;
  const bool laterRadio = kind == BS_AUTORADIOBUTTON && !(args.Style & WS_GROUP);
  if (kind != BS_GROUPBOX && !laterRadio) args.Style |= WS_TABSTOP;
  return args;
}

}  // namespace

TButton::TButton(const TControlArgs& args, DWORD kind) : TControl(ButtonArgs(args, kind)) {}

bool TButton::Notified(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
  if (OnClick) OnClick();
  result = 0;
  return true;
}

bool TCheckBox::Checked() const {
  return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

TRadioGroup::TRadioGroup(const TControlArgs& args, const std::vector<std::string>& items, int dpi)
    : FFrame(ButtonArgs(args, BS_GROUPBOX)) {
  const int indent = ScaleToDpi(kItemIndent, dpi), height = ScaleToDpi(kItemHeight, dpi);
  for (size_t i = 0; i < items.size(); ++i) {
    TControlArgs item = args;
    item.Text = items[i];
    item.Style = WS_VISIBLE | (i == 0 ? WS_GROUP : 0);
    item.Left = args.Left + indent;
    item.Top = args.Top + ScaleToDpi(kFrameTop, dpi) + static_cast<int>(i) * height;
    item.Width = args.Width - 2 * indent;
    item.Height = height;
    item.Id = 0;
    FItems.push_back(std::make_unique<TRadioButton>(item));
    FItems.back()->OnClick = [this] {
      if (OnClick) OnClick();
    };
  }
}

int TRadioGroup::ItemIndex() const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i]->Checked()) return static_cast<int>(i);
  return -1;
}

void TRadioGroup::SetItemIndex(int index) {
  for (size_t i = 0; i < FItems.size(); ++i) FItems[i]->SetChecked(static_cast<int>(i) == index);
}
