#include "ui/control_win32.h"

#include <commctrl.h>

#include "ui/form_win32.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;

// The window that sent a notification, or nullptr for messages that are not
// notifications (or come from a menu).
HWND SenderOf(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY: return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM: return reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
    case WM_MEASUREITEM:
      // Only the identifier names the control; a menu item's is not one.
      if (reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlType == ODT_MENU) return nullptr;
      return GetDlgItem(parent, static_cast<int>(wParam));
  }
  return nullptr;
}

}  // namespace

TControlArgs ChildArgs(HWND parent, const std::string& text, DWORD style, HFONT font, int x, int y,
                       int width, int height) {
  TControlArgs args{parent, "STATIC", text, style};
  args.Left = x;
  args.Top = y;
  args.Width = width;
  args.Height = height;
  args.Font = font;
  return args;
}

TControl::TControl(const TControlArgs& args)
    : FHandle(CreateWindowExA(args.ExStyle, args.ClassName, args.Text.c_str(),
                              WS_CHILD | args.Style, args.Left, args.Top, args.Width, args.Height,
                              args.Parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.Id)),
                              GetModuleHandleA(nullptr), nullptr)) {
  SetWindowSubclass(FHandle, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  if (args.Font) SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(args.Font), FALSE);
}

TControl::~TControl() {
  if (FHandle) DestroyWindow(FHandle);
}

void TControl::SetVisible(bool visible) {
  ShowWindow(FHandle, visible ? SW_SHOW : SW_HIDE);
}

void TControl::SetEnabled(bool enabled) {
  EnableWindow(FHandle, enabled);
}

std::string TControl::Text() const {
  std::string text(GetWindowTextLengthA(FHandle) + 1, '\0');
  text.resize(GetWindowTextA(FHandle, text.data(), static_cast<int>(text.size())));
  return text;
}

void TControl::SetText(const std::string& text) {
  SetWindowTextA(FHandle, text.c_str());
}

void TControl::SetBounds(int left, int top, int width, int height) {
  MoveWindow(FHandle, left, top, width, height, TRUE);
}

TControl* TControl::FromHandle(HWND window) {
  DWORD_PTR self = 0;
  if (!window || !GetWindowSubclass(window, SubclassProc, kSubclassId, &self)) return nullptr;
  return reinterpret_cast<TControl*>(self);
}

bool TControl::Notified(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

bool TControl::Intercept(UINT msg, WPARAM, LPARAM, LRESULT& result) {
  const bool pressed = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
  if (!pressed || !OnMouseDown) return false;
  OnMouseDown();
  result = 0;
  return true;
}

LRESULT CALLBACK TControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) {
  auto* control = reinterpret_cast<TControl*>(self);
  if (msg == WM_NCDESTROY) {
    // Destroyed with its parent: the object lives on without a window.
    RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
    control->FHandle = nullptr;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
  }
  bool handled = false;
  const LRESULT result = Guarded(hwnd, [&] {
    LRESULT own = 0;
    handled = control->Intercept(msg, wParam, lParam, own);
    return own;
  });
  return handled ? result : DefSubclassProc(hwnd, msg, wParam, lParam);
}

void FocusControl(HWND control) {
  SetFocus(control);
  if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
    SendMessageA(control, EM_SETSEL, 0, -1);
}

RECT BoundsInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool ReflectToControl(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  TControl* control = TControl::FromHandle(SenderOf(parent, msg, wParam, lParam));
  return control && control->Notified(msg, wParam, lParam, result);
}
