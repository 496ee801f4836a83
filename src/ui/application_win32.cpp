#include "ui/application_win32.h"

#include <cctype>
#include <string>

#include "base/product.h"
#include "ui/dialog_win32.h"
#include "ui/form_win32.h"
#include "ui/tab_control_win32.h"

namespace {

constexpr const char* kClassName = "TApplication";

// The access key of a caption ("&Limit:"), upper case; 0 without one.
char AccessKeyOf(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '&') {
      if (text[i + 1] != '&')
        return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
      ++i;
    }
  return 0;
}

bool IsCaption(HWND window) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  return lstrcmpiA(name, "Static") == 0 ||
         (lstrcmpiA(name, "Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX);
}

struct TCaptionSearch {
  char Key;
  HWND Target = nullptr;  // the control the caption with the key stands for
};

BOOL CALLBACK FindCaptionTarget(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<TCaptionSearch*>(data);
  char text[128] = "";
  GetWindowTextA(window, text, sizeof text);
  if (!IsCaption(window) || !IsWindowVisible(window) || AccessKeyOf(text) != search.Key)
    return TRUE;
  for (HWND next = GetWindow(window, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
    if ((GetWindowLongPtrA(next, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(next) &&
        IsWindowEnabled(next)) {
      search.Target = next;
      return FALSE;
    }
  return TRUE;
}

// Alt and the access key of a caption, or of a frame, take the focus to the
// first control after it that takes input, as a dialog does; Wine's dialog
// manager leaves them unanswered inside the pages of tabs.
bool FocusByCaptionKey(HWND dialog, const MSG& msg) {
  if (msg.message != WM_SYSCHAR) return false;
  TCaptionSearch search{static_cast<char>(std::toupper(static_cast<int>(msg.wParam)))};
  EnumChildWindows(dialog, FindCaptionTarget, reinterpret_cast<LPARAM>(&search));
  if (!search.Target) return false;
  FocusControl(search.Target);
  return true;
}

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
    if (msg.hwnd == dialog || IsChild(dialog, msg.hwnd)) {
      // The focus may have moved by the previous message (a click) too.
      FollowFocus(dialog);
      const bool handled = SwitchTabsByKey(dialog, msg) || FocusByCaptionKey(dialog, msg) ||
                           IsDialogMessageA(dialog, &msg);
      if (handled && IsWindow(dialog)) FollowFocus(dialog);
      return handled;
    }
  return false;
}

void TApplication::FollowFocus(HWND dialog) {
  HWND focus = GetFocus();
  if (focus == FFocus) return;
  FFocus = focus;
  ShowDefaultButton(dialog);
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
