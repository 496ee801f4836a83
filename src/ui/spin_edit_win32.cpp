#include "ui/spin_edit_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <charconv>
#include <string>

namespace {

TControlArgs NumberEdit(TControlArgs args) {
  args.ClassName = "EDIT";
  args.Style |= ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP;
  args.ExStyle |= WS_EX_CLIENTEDGE;
  return args;
}

TControlArgs ArrowsBeside(const TControlArgs& edit) {
  TControlArgs args;
  args.Parent = edit.Parent;
  args.ClassName = UPDOWN_CLASSA;
  args.Style = (edit.Style & WS_VISIBLE) | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS |
               UDS_NOTHOUSANDS;
  return args;
}

}  // namespace

TSpinEdit::TSpinEdit(const TControlArgs& args, int min, int max)
    : TControl(NumberEdit(args)), FMin(min), FMax(max), FArrows(ArrowsBeside(args), *this) {
  // The arrows take their direction from the range: up adds.
  SendMessageA(FArrows.Handle(), UDM_SETRANGE32, min, max);
  SetBounds(args.Left, args.Top, args.Width, args.Height);
  Show(Value());
}

int TSpinEdit::Value() const {
  std::string text(GetWindowTextLengthA(Handle()) + 1, '\0');
  text.resize(GetWindowTextA(Handle(), text.data(), static_cast<int>(text.size())));
  long long number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  if (error == std::errc::invalid_argument || stop != end) return FMin;
  if (error == std::errc::result_out_of_range) return text[0] == '-' ? FMin : FMax;
  return static_cast<int>(std::clamp<long long>(number, FMin, FMax));
}

void TSpinEdit::SetValue(int value) {
  Show(std::clamp(value, FMin, FMax));
}

void TSpinEdit::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  // Taking the edit as its buddy again puts the arrows at its right and
  // narrows it by their width.
  SendMessageA(FArrows.Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
}

void TSpinEdit::SetVisible(bool visible) {
  TControl::SetVisible(visible);
  FArrows.SetVisible(visible);
}

// The arrows too: they would still step the value.
void TSpinEdit::SetEnabled(bool enabled) {
  TControl::SetEnabled(enabled);
  FArrows.SetEnabled(enabled);
}

bool TSpinEdit::Notified(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND) return false;
  switch (HIWORD(wParam)) {
    case EN_CHANGE:
      if (!FShowing && OnChange) OnChange();
      break;
    case EN_KILLFOCUS: Show(Value()); break;
    default: return false;
  }
  result = 0;
  return true;
}

// The step is taken here, from Value(), and the arrows' own is refused: they
// know nothing of a typed text beyond the limits, or of an empty one.
bool TSpinEdit::Stepped(const NMHDR& notification, LRESULT& result) {
  if (notification.code != UDN_DELTAPOS) return false;
  const auto& step = reinterpret_cast<const NMUPDOWN&>(notification);
  const int before = Value();
  const auto after = static_cast<int>(
      std::clamp<long long>(before + static_cast<long long>(step.iDelta), FMin, FMax));
  Show(after);
  if (after != before && OnChange) OnChange();
  result = TRUE;
  return true;
}

void TSpinEdit::Show(int value) {
  FShowing = true;
  SetWindowTextA(Handle(), std::to_string(value).c_str());
  FShowing = false;
}
