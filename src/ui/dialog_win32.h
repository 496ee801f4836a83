#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/control_win32.h"
#include "ui/dpi_win32.h"
#include "ui/form_win32.h"
#include "ui/handle_guards_win32.h"

// Enter presses the push button that has the focus, or else the dialog's
// default one (DM_GETDEFID): that one, and only that one, gets the default
// frame. Called as the focus moves.
void ShowDefaultButton(HWND dialog);

struct TDialogArgs {
  const char* ClassName = "TDialog";
  std::string Caption;
  int ClientWidth = 300;  // at 96 DPI
  int ClientHeight = 200;
  HWND Owner = nullptr;
  bool Resizable = false;  // a sizing frame and the maximise box
};

// A modeless dialog: a fixed frame with only the system menu (or a sizing
// frame with the maximise box), centred on the screen, in the system's dialog font (Font(), for its
// controls), laid out at 96 DPI and scaled to the screen's. Tab moves between the controls, Enter
// presses the default button and Esc closes it, as the application's message loop hands it its
// keys. Closing destroys the window and then calls OnClosed, from which the owner may arrange to
// free the object (not within the call: the object is still at work).
class TDialog : public TForm {
 public:
  ~TDialog() override;

  HFONT Font() const { return FFont.Get(); }
  int Dpi() const { return FDpi; }
  // Topmost over other windows, or not; the place and size stay.
  void SetTopmost(bool topmost);
  void Close();

  std::function<void()> OnClosed;

 protected:
  // The window, not yet shown; ShowDialog shows it once the controls are in.
  void CreateDialogForm(const TDialogArgs& args);
  void ShowDialog();
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // A length designed at 96 DPI, at the dialog's.
  int Scaled(int value) const;
  // A control of the dialog in the dialog's font, at x, y and as wide and
  // high as given at 96 DPI; a frame with a caption.
  TControlArgs Args(HWND parent, const char* text, int x, int y, int width, int height,
                    DWORD style = WS_VISIBLE) const;
  std::unique_ptr<TControl> GroupBox(HWND parent, const char* caption, int x, int y, int width,
                                     int height) const;
  // The dialog has moved to a screen of another DPI: its controls are in
  // proportion and in the new font; it scales what else it holds.
  virtual void DpiChanged(int /*fromDpi*/) {}
  // The control Enter presses.
  int DefaultButton = IDOK;

 private:
  void ChangeDpi(int dpi, const RECT& suggested);

  TGdiObject<HFONT> FFont;
  int FDpi = kDesignDpi;
  HWND FFocus = nullptr;  // the control that had the focus when the window was left
};
