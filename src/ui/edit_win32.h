#pragma once

#include <windows.h>

#include <functional>

#include "ui/control_win32.h"

// A one-line text box. OnKeyPress sees each typed character first and may
// refuse it; OnChange follows every change of the text.
class TEdit : public TControl {
 public:
  explicit TEdit(const TControlArgs& args);

  std::function<bool(char key)> OnKeyPress;  // false: the character is dropped
  std::function<void()> OnChange;

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};
