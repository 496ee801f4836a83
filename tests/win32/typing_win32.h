#pragma once

#include <windows.h>

#include <commdlg.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "driver/window_driver_win32.h"
#include "ui/application_win32.h"

// A user at the keyboard: keys sent with SendInput, so they go where the
// system sends them, to the window in the foreground and its focus.

// Presses and lets go of each key in turn, in one go (SendKeystrokes).
// Then, on the thread of the windows, runs the program's loop over what they
// bring; from another thread (while a modal loop runs on theirs) run is
// false.
inline void Type(std::initializer_list<TStroke> strokes, bool run = true) {
  SendKeystrokes(strokes);
  for (int i = 0; run && i < 8; ++i) {
    TApplication::Instance().ProcessMessages();
    Sleep(10);
  }
}

inline void Press(WORD key, std::initializer_list<WORD> held = {}) {
  Type({{key, held}});
}

// Characters typed, as into an edit box; the loop is not run.
inline void TypeText(const std::string& text) {
  std::vector<INPUT> inputs;
  for (const char c : text)
    for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = static_cast<unsigned char>(c);
      input.ki.dwFlags = KEYEVENTF_UNICODE | up;
      inputs.push_back(input);
    }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The open menu of this program with its last item's submenu open too;
// none when there is no such pair. (Under Wine, the window of a menu shown
// before may be there as well.)
inline std::pair<HMENU, HMENU> OpenMenuAndSubmenu() {
  std::vector<HMENU> open;
  for (HWND window : FindTopWindows({"", "#32768", GetCurrentProcessId()}))
    if (IsWindowVisible(window))
      open.push_back(reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0)));
  for (HMENU menu : open)
    for (HMENU submenu : open)
      if (GetSubMenu(menu, GetMenuItemCount(menu) - 1) == submenu) return {menu, submenu};
  return {};
}

inline std::vector<std::string> MenuTexts(HMENU menu) {
  std::vector<std::string> texts;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[128] = "";
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    texts.push_back(text);
  }
  return texts;
}

// What the clipboard holds as text, or "(none)".
inline std::string ClipboardText() {
  std::string text = "(none)";
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

inline void EmptyTheClipboard() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

// The save dialog as a user meets it on another thread than its own: what it
// showed, the folder it opened in and the name it suggested; then, by keys,
// a path typed over the name and Enter, or with none, Esc.
struct TSaveDialogVisit {
  bool Came = false;
  std::string Folder;
  std::string Name;

  void Answer(const std::string& path, DWORD timeoutMs = 10000) {
    HWND dialog = WaitForWindow({"Save As", "#32770", GetCurrentProcessId()}, timeoutMs);
    if (!dialog) return;
    Came = true;
    char folder[MAX_PATH] = "";
    SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
    Folder = folder;
    char name[MAX_PATH] = "";
    SendMessageA(dialog, CDM_GETSPEC, sizeof name, reinterpret_cast<LPARAM>(name));
    Name = name;
    if (OnShown) OnShown(dialog);
    if (path.empty()) {
      Type({{VK_ESCAPE}}, false);
    } else {
      Type({{VK_HOME}, {VK_END, {VK_SHIFT}}}, false);
      TypeText(path);
      Type({{VK_RETURN}}, false);
    }
    WaitUntilGone(dialog, timeoutMs);
  }
  // Called with the dialog before the keys (a screenshot, say).
  std::function<void(HWND dialog)> OnShown;
};
