#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The program's hidden application window: it owns the taskbar button, and
// the main window is owned by it, so that minimising hides the main window
// with it and the button can be taken away (to the tray, or while the main
// window is borderless) without hiding the main window. Components hook its
// messages: the tray icon's callbacks, timers and broadcasts arrive here.
class TApplication {
 public:
  // A hook sees every message first; returning true ends its handling with
  // the result the hook set.
  using THook = std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

  static TApplication& Instance();

  HWND Handle() const { return FHandle; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title);

  // The window whose activation and restoring the application follows.
  HWND MainForm() const { return FMainForm; }
  void SetMainForm(HWND form) { FMainForm = form; }

  void Minimize();
  void Restore();
  bool Active() const;  // a window of this process is in the foreground
  // Runs the messages waiting for this thread.
  void ProcessMessages();

  int HookMessages(THook hook);
  void UnhookMessages(int id);

  // Modeless dialogs get their keys (Tab, Enter, Esc) from the message loop,
  // which offers each message to DialogMessage first.
  void AddDialog(HWND dialog);
  void RemoveDialog(HWND dialog);
  // True when the message was a dialog's key and has been handled. As the
  // focus moves, the button Enter would press gets the default frame.
  bool DialogMessage(MSG& msg);

  // The application's message box, captioned with the title.
  int ShowMessageBox(const std::string& text, UINT flags);

 private:
  TApplication();
  void FollowFocus(HWND dialog);
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
  void WMSize(WPARAM kind);
  bool WMSetFocus();

  HWND FHandle = nullptr;
  HWND FMainForm = nullptr;
  std::string FTitle;
  std::vector<std::pair<int, THook>> FHooks;
  std::vector<HWND> FDialogs;
  HWND FFocus = nullptr;  // where the focus was when a dialog's message came last
  int FNextHook = 1;
};
