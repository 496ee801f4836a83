#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/control_win32.h"
#include "ui/form_win32.h"
#include "ui/handle_guards_win32.h"

struct TDialogArgs {
  const char* ClassName = "TDialog";
  std::string Caption;
  int ClientWidth = 300;
  int ClientHeight = 200;
  HWND Owner = nullptr;
  bool Resizable = false;  // a sizing frame and the maximise box
};

// A modeless dialog: a fixed frame with only the system menu (or a sizing
// frame with the maximise box), centred on the screen, in the system's dialog font (Font(), for its
// controls). Tab moves between the controls, Enter presses the default button and Esc closes it, as
// the application's message loop hands it its keys. Closing destroys the window and then calls
// OnClosed, from which the owner may arrange to free the object (not within the call: the object is
// still at work).
class TDialog : public TForm {
 public:
  ~TDialog() override;

  HFONT Font() const { return FFont.Get(); }
  // Topmost over other windows, or not; the place and size stay.
  void SetTopmost(bool topmost);
  void Close();

  std::function<void()> OnClosed;

 protected:
  // The window, not yet shown; ShowDialog shows it once the controls are in.
  void CreateDialogForm(const TDialogArgs& args);
  void ShowDialog();
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // A control of the dialog in the dialog's font; a frame with a caption.
  TControlArgs Args(HWND parent, const char* text, int x, int y, int width, int height,
                    DWORD style = WS_VISIBLE) const;
  std::unique_ptr<TControl> GroupBox(HWND parent, const char* caption, int x, int y, int width,
                                     int height) const;
  // The control Enter presses.
  int DefaultButton = IDOK;

 private:
  TGdiObject<HFONT> FFont;
};
