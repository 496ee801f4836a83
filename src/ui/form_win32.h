#pragma once

#include <windows.h>

#include <string>

struct TFormArgs {
  const char* ClassName = "TForm";
  std::string Caption;
  int Left = CW_USEDEFAULT;
  int Top = CW_USEDEFAULT;
  int Width = CW_USEDEFAULT;
  int Height = CW_USEDEFAULT;
  DWORD Style = WS_OVERLAPPEDWINDOW;
  DWORD ExStyle = 0;
  HWND Owner = nullptr;
};

// A top-level window owned by a C++ object. One static window procedure finds
// the object through the pointer attached at WM_NCCREATE; an exception thrown
// by a handler is shown in a message box and goes no further.
class TForm {
 public:
  TForm() = default;
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;
  virtual ~TForm();

  HWND Handle() const { return FHandle; }
  std::string Caption() const;
  void SetCaption(const std::string& caption);

 protected:
  void CreateForm(const TFormArgs& args);
  // Handles one message; the default passes it to DefWindowProc.
  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND FHandle = nullptr;
};

// The standard error box for an exception that reached a window handler.
void ShowException(HWND owner, const std::string& message);
