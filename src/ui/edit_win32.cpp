#include "ui/edit_win32.h"

namespace {

TControlArgs OneLine(TControlArgs args) {
  args.ClassName = "EDIT";
  args.Style |= ES_AUTOHSCROLL | WS_TABSTOP;
  args.ExStyle |= WS_EX_CLIENTEDGE;
  return args;
}

}  // namespace

TEdit::TEdit(const TControlArgs& args) : TControl(OneLine(args)) {}

bool TEdit::Notified(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND || HIWORD(wParam) != EN_CHANGE) return false;
  if (OnChange) OnChange();
  result = 0;
  return true;
}

bool TEdit::Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_CHAR && OnKeyPress && !OnKeyPress(static_cast<char>(wParam))) {
    result = 0;
    return true;
  }
  return TControl::Intercept(msg, wParam, lParam, result);
}
