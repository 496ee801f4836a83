#include "ui/form_win32.h"

#include "base/product.h"
#include "ui/control_win32.h"

TForm::~TForm() {
  if (FHandle) {
    SetWindowLongPtrA(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
  }
}

std::string TForm::Caption() const {
  char buffer[512];
  const int n = GetWindowTextA(FHandle, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? n : 0);
}

void TForm::SetCaption(const std::string& caption) {
  SetWindowTextA(FHandle, caption.c_str());
}

void TForm::CreateForm(const TFormArgs& args) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  if (!GetClassInfoExA(instance, args.ClassName, &wc)) {
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = args.ClassName;
    RegisterClassExA(&wc);
  }
  CreateWindowExA(args.ExStyle, args.ClassName, args.Caption.c_str(), args.Style, args.Left,
                  args.Top, args.Width, args.Height, args.Owner, nullptr, instance, this);
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(FHandle, msg, wParam, lParam);
}

LRESULT CALLBACK TForm::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    form->FHandle = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    form->FHandle = nullptr;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  return Guarded(hwnd, [&] {
    LRESULT result = 0;
    if (ReflectToControl(hwnd, msg, wParam, lParam, result)) return result;
    return form->WndProc(msg, wParam, lParam);
  });
}

void ShowException(HWND owner, const std::string& message) {
  std::string text = message;
  if (!text.empty() && text.back() != '.') text += '.';
  MessageBoxA(owner, text.c_str(), kAppTitle, MB_OK | MB_ICONSTOP);
}
