#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct TControlArgs {
  HWND Parent = nullptr;
  const char* ClassName = "STATIC";
  std::string Text;
  DWORD Style = WS_VISIBLE;  // WS_CHILD is always added
  DWORD ExStyle = 0;
  int Id = 0;  // the control identifier its notifications carry
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  HFONT Font = nullptr;  // stays the caller's
};

// A child of parent with its text, style (WS_VISIBLE for a shown one) and
// font, at x, y and as wide and high as given.
TControlArgs ChildArgs(HWND parent, const std::string& text, DWORD style, HFONT font, int x = 0,
                       int y = 0, int width = 0, int height = 0);

// A child window of one of the system's classes, owned by a C++ object and
// destroyed with it. The notifications it sends its parent (WM_COMMAND,
// WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR..., WM_HSCROLL and
// WM_VSCROLL) come back to the object when the parent reflects them, as
// every TForm does, so a control's behaviour lives in its own class.
class TControl {
 public:
  explicit TControl(const TControlArgs& args);
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  HWND Handle() const { return FHandle; }
  bool Visible() const { return GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_VISIBLE; }
  void SetVisible(bool visible);
  bool Enabled() const { return IsWindowEnabled(FHandle); }
  void SetEnabled(bool enabled);
  void SetBounds(int left, int top, int width, int height);
  std::string Text() const;
  void SetText(const std::string& text);

  // The control was moved to a screen of another DPI: moved and sized in
  // proportion, and in its new font. It scales what else it holds.
  virtual void DpiChanged(int /*fromDpi*/, int /*toDpi*/) {}

  // Any mouse button pressed on the control; the press goes no further.
  std::function<void()> OnMouseDown;

  // The control that owns a window, or nullptr.
  static TControl* FromHandle(HWND window);

 protected:
  friend bool ReflectToControl(HWND, UINT, WPARAM, LPARAM, LRESULT&);
  // A notification the parent reflected; true when handled, with the result
  // for the parent to return.
  virtual bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // A message to the control's own window, before the system's class sees
  // it; true when handled, with the result. The default reports mouse presses
  // to OnMouseDown.
  virtual bool Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);
  HWND FHandle;
};

// Gives a control the focus as Tab gives it: an edit box with its text
// selected. (The program's dialogs are plain windows, which do not take
// WM_NEXTDLGCTL.)
void FocusControl(HWND control);

// The window's rectangle in its parent's client coordinates.
RECT BoundsInParent(HWND window);

// Gives a notification that parent received to the control that sent it.
// True when a control handled it, with its result.
bool ReflectToControl(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
