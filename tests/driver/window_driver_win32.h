#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

// Works real windows from outside the code under test, as a user would:
// finds them by title, class and process, reads their texts, presses the
// buttons of dialogs and message boxes, and saves screenshots.

struct TWindowQuery {
  std::string Title;      // exact window text; empty: any
  std::string ClassName;  // exact class name; empty: any
  DWORD ProcessId = 0;    // 0: any process
};

std::vector<HWND> FindTopWindows(const TWindowQuery& query);
// The first visible match, waiting up to timeoutMs; nullptr when none came.
HWND WaitForWindow(const TWindowQuery& query, DWORD timeoutMs);
bool WaitUntilGone(HWND window, DWORD timeoutMs);

std::string WindowText(HWND window);
std::string WindowClass(HWND window);
// The texts of a dialog's static controls, joined by line feeds: the message
// of a message box.
std::string DialogText(HWND dialog);
// Clicks the dialog button whose caption, without its "&", is caption.
bool PressButton(HWND dialog, const std::string& caption);
// Selects the first row, in any list box within window, whose text holds
// text, and tells the list's parent as a click would.
bool ChooseListItem(HWND window, const std::string& text);
// Presses and releases a key in the window (a posted keystroke: shortcut
// keys of the window's program act on it).
bool PressKey(HWND window, UINT virtualKey);
// A key with the modifiers held down around it.
struct TStroke {
  TStroke(WORD key, std::vector<WORD> held = {}) : Key(key), Held(std::move(held)) {}
  WORD Key;
  std::vector<WORD> Held;
};
// Types keys on the keyboard, in one go: the system's own keystrokes
// (SendInput), to whatever has the focus; a menu or a dialog that one key
// opens finds the keys after it waiting, as from a quick typist.
bool SendKeystrokes(std::initializer_list<TStroke> strokes);
bool SendKeystroke(WORD virtualKey, std::initializer_list<WORD> held = {});
// The same once window is in the foreground.
bool TypeKey(HWND window, WORD virtualKey, std::initializer_list<WORD> held = {});
// The first window below parent, at any depth, of the class; nullptr if none.
HWND FindChild(HWND parent, const std::string& className);
// Every window below parent, at any depth, of the class, in creation order.
std::vector<HWND> FindChildren(HWND parent, const std::string& className);
// The first window below parent whose text, without "&", is text.
HWND FindChildWithText(HWND parent, const std::string& text);

// Saves the window's screen area (the whole screen for nullptr) as a 24-bit
// BMP file.
bool SaveScreenshot(HWND window, const std::string& path);
