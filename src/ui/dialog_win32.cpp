#include "ui/dialog_win32.h"

#include <utility>

#include "ui/application_win32.h"
#include "ui/rescale_win32.h"

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

bool IsPushButton(HWND window) {
  return SendMessageA(window, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
}

struct TFrameSearch {
  HWND Framed;  // the button to frame, or nullptr to find by Id
  int Id;
};

BOOL CALLBACK FindButton(HWND window, LPARAM search) {
  auto& s = *reinterpret_cast<TFrameSearch*>(search);
  if (GetDlgCtrlID(window) != s.Id || !IsPushButton(window)) return TRUE;
  s.Framed = window;
  return FALSE;
}

BOOL CALLBACK FrameButton(HWND window, LPARAM framed) {
  if (!IsPushButton(window)) return TRUE;
  const DWORD kind = GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK;
  const DWORD wanted = window == reinterpret_cast<HWND>(framed) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (kind != wanted) SendMessageA(window, BM_SETSTYLE, wanted, TRUE);
  return TRUE;
}

}  // namespace

void ShowDefaultButton(HWND dialog) {
  TFrameSearch search{GetFocus(), 0};
  if (!search.Framed || !IsChild(dialog, search.Framed) || !IsPushButton(search.Framed)) {
    search.Framed = nullptr;
    const auto id = static_cast<DWORD>(SendMessageA(dialog, DM_GETDEFID, 0, 0));
    search.Id = HIWORD(id) == DC_HASDEFID ? LOWORD(id) : 0;
    if (search.Id) EnumChildWindows(dialog, FindButton, reinterpret_cast<LPARAM>(&search));
  }
  EnumChildWindows(dialog, FrameButton, reinterpret_cast<LPARAM>(search.Framed));
}

TDialog::~TDialog() {
  TApplication::Instance().RemoveDialog(Handle());
}

void TDialog::CreateDialogForm(const TDialogArgs& args) {
  // Centred on the primary screen, whose DPI is the system's.
  FDpi = WindowDpi(nullptr);
  FFont.Reset(CreateMessageFont(FDpi));
  const DWORD style = args.Resizable ? kStyle | WS_THICKFRAME | WS_MAXIMIZEBOX : kStyle;
  RECT frame{0, 0, Scaled(args.ClientWidth), Scaled(args.ClientHeight)};
  AdjustFrameForDpi(frame, style, kExStyle, FDpi);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT screen;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
  TFormArgs form;
  form.ClassName = args.ClassName;
  form.Caption = args.Caption;
  form.Left = screen.left + (screen.right - screen.left - width) / 2;
  form.Top = screen.top + (screen.bottom - screen.top - height) / 2;
  form.Width = width;
  form.Height = height;
  form.Style = style;
  form.ExStyle = kExStyle;
  form.Owner = args.Owner;
  CreateForm(form);
  SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
  TApplication::Instance().AddDialog(Handle());
}

void TDialog::ShowDialog() {
  ShowWindow(Handle(), SW_SHOWNORMAL);
  if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) SetFocus(first);
}

int TDialog::Scaled(int value) const {
  return ScaleToDpi(value, FDpi);
}

TControlArgs TDialog::Args(HWND parent, const char* text, int x, int y, int width, int height,
                           DWORD style) const {
  return ChildArgs(parent, text, style, Font(), Scaled(x), Scaled(y), Scaled(width),
                   Scaled(height));
}

std::unique_ptr<TControl> TDialog::GroupBox(HWND parent, const char* caption, int x, int y,
                                            int width, int height) const {
  TControlArgs args = Args(parent, caption, x, y, width, height, WS_VISIBLE | BS_GROUPBOX);
  args.ClassName = "BUTTON";
  return std::make_unique<TControl>(args);
}

void TDialog::SetTopmost(bool topmost) {
  SetWindowPos(Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TDialog::Close() {
  PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

LRESULT TDialog::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case DM_GETDEFID: return MAKELRESULT(DefaultButton, DC_HASDEFID);
    // Esc, and a Cancel button with that identifier.
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) Close();
      return 0;
    // Back from another window (a message box, a save dialog, another
    // program), the focus is where it was, not on the window itself.
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus && IsChild(Handle(), focus)) FFocus = focus;
      } else if (FFocus && IsChild(Handle(), FFocus) && IsWindowVisible(FFocus) &&
                 IsWindowEnabled(FFocus) && !HIWORD(wParam)) {
        SetFocus(FFocus);
        return 0;
      }
      break;
    case WM_CLOSE: DestroyWindow(Handle()); return 0;
    case kWmDpiChanged: ChangeDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_DESTROY:
      TApplication::Instance().RemoveDialog(Handle());
      if (OnClosed) OnClosed();
      return 0;
  }
  return TForm::WndProc(msg, wParam, lParam);
}

// The window takes the place the system suggests, which is in proportion too.
void TDialog::ChangeDpi(int dpi, const RECT& suggested) {
  const int fromDpi = std::exchange(FDpi, dpi);
  TGdiObject<HFONT> font(CreateMessageFont(dpi));
  RescaleChildren(Handle(), fromDpi, dpi, FFont.Get(), font.Get());
  FFont = std::move(font);  // the old one goes now that no control shows it
  SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
  DpiChanged(fromDpi);
  MoveToRect(Handle(), suggested);
}
