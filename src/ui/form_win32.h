#pragma once

#include <windows.h>

#include <exception>
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

// A window of a class of our own (a top-level form, or a child control we
// paint ourselves) owned by a C++ object. One static window procedure finds
// the object through the pointer attached at WM_NCCREATE, reflects the
// notifications of child controls to the TControl that owns them, and shows
// an exception thrown by a handler in a message box; it goes no further.
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

// Runs the handler of a window message: an exception it throws is shown
// over window and goes no further, and the message's result is then 0.
template <class THandler>
LRESULT Guarded(HWND window, THandler handler) {
  try {
    return handler();
  } catch (const std::exception& e) {
    ShowException(window, e.what());
  } catch (...) {
    ShowException(window, "Unexpected error");
  }
  return 0;
}
