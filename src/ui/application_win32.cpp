#include "ui/application_win32.h"

#include "base/product.h"
#include "ui/form_win32.h"

namespace {

constexpr const char* kClassName = "TApplication";

}  // namespace

TApplication& TApplication::Instance() {
  static TApplication application;
  return application;
}

TApplication::TApplication() : FTitle(kAppTitle) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  wc.lpszClassName = kClassName;
  RegisterClassExA(&wc);
  // Zero-sized but shown: the taskbar button is all that is seen of it.
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
  FHandle = CreateWindowExA(0, kClassName, FTitle.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            x, y, 0, 0, nullptr, nullptr, instance, nullptr);
  SetWindowLongPtrA(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ShowWindow(FHandle, SW_SHOWNOACTIVATE);
}

void TApplication::SetTitle(const std::string& title) {
  FTitle = title;
  SetWindowTextA(FHandle, title.c_str());
}

void TApplication::Minimize() {
  ShowWindow(FHandle, SW_MINIMIZE);
}

void TApplication::Restore() {
  if (IsIconic(FHandle)) ShowWindow(FHandle, SW_RESTORE);
}

bool TApplication::Active() const {
  DWORD pid = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &pid);
  return pid == GetCurrentProcessId();
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
      return;
    }
    if (DialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int TApplication::HookMessages(THook hook) {
  FHooks.emplace_back(FNextHook, std::move(hook));
  return FNextHook++;
}

void TApplication::UnhookMessages(int id) {
  std::erase_if(FHooks, [id](const auto& entry) { return entry.first == id; });
}

void TApplication::AddDialog(HWND dialog) {
  FDialogs.push_back(dialog);
}

void TApplication::RemoveDialog(HWND dialog) {
  std::erase(FDialogs, dialog);
}

bool TApplication::DialogMessage(MSG& msg) {
  for (HWND dialog : FDialogs)
    if (msg.hwnd == dialog || IsChild(dialog, msg.hwnd)) return IsDialogMessageA(dialog, &msg);
  return false;
}

int TApplication::ShowMessageBox(const std::string& text, UINT flags) {
  HWND owner = FMainForm && IsWindowVisible(FMainForm) ? FMainForm : FHandle;
  return MessageBoxA(owner, text.c_str(), FTitle.c_str(), flags);
}

LRESULT CALLBACK TApplication::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* application = reinterpret_cast<TApplication*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!application) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return Guarded(hwnd, [&] { return application->Dispatch(msg, wParam, lParam); });
}

// Windows hides the windows of a minimised owner and shows them again on
// restore; Wine leaves them on screen. This only touches windows hidden here,
// so on Windows it changes nothing.
void TApplication::WMSize(WPARAM kind) {
  if (kind == SIZE_MINIMIZED)
    ShowOwnedPopups(FHandle, FALSE);
  else if (kind == SIZE_RESTORED)
    ShowOwnedPopups(FHandle, TRUE);
}

// The taskbar button activates this window; the main window takes over.
bool TApplication::WMSetFocus() {
  if (!FMainForm || !IsWindowVisible(FMainForm) || !IsWindowEnabled(FMainForm)) return false;
  SetFocus(FMainForm);
  return true;
}

LRESULT TApplication::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  // A hook may remove itself while it runs: walk a copy.
  const auto hooks = FHooks;
  for (const auto& [id, hook] : hooks) {
    LRESULT result = 0;
    if (hook(msg, wParam, lParam, result)) return result;
  }
  switch (msg) {
    case WM_SIZE: WMSize(wParam); break;
    case WM_SETFOCUS:
      if (WMSetFocus()) return 0;
      break;
    case WM_CLOSE:
      // Closing from the taskbar closes the main window, which asks first.
      if (FMainForm) PostMessageA(FMainForm, WM_CLOSE, 0, 0);
      return 0;
    case WM_COMMAND:
      // Menus popped up over this window (the tray icon's) act on the main window.
      if (FMainForm) return SendMessageA(FMainForm, msg, wParam, lParam);
      break;
  }
  return DefWindowProcA(FHandle, msg, wParam, lParam);
}
