#pragma once

#include <windows.h>

#include <string>

#include "ui/form_win32.h"

// The small tooltip-coloured window the graph shows beside the mouse. It
// never takes the focus or the mouse; its window text is the hint.
class THintWindow : public TForm {
 public:
  explicit THintWindow(HWND owner);

  // Shows text in font with its top-left corner at a screen position,
  // sized to the text broken into lines no wider than the screen, with
  // padding for the screen's DPI.
  void ActivateHint(POINT topLeft, const std::string& text, HFONT font, int dpi);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();

  HFONT FFont = nullptr;
  int FPadding = 0;  // left and right of the text
};
