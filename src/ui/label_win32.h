#pragma once

#include <windows.h>

#include <optional>

#include "ui/control_win32.h"
#include "ui/handle_guards_win32.h"

// A static text (the arguments' default class). By default the system colours it; SetColors gives
// it text and background colours of its own.
class TLabel : public TControl {
 public:
  explicit TLabel(const TControlArgs& args);

  void SetColors(COLORREF text, COLORREF background);

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  std::optional<COLORREF> FTextColor;
  COLORREF FBackground = 0;
  TGdiObject<HBRUSH> FBrush;  // of the background, made when it changes
};
