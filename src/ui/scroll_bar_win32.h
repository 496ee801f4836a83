#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "ui/control_win32.h"

// A horizontal scroll bar from 0 to its maximum. The arrows move it by one,
// clicks beside the thumb by LargeChange, and the thumb where it is dragged;
// OnChange follows every move the user makes.
class TScrollBar : public TControl {
 public:
  explicit TScrollBar(const TControlArgs& args);

  int Max() const;
  int Position() const;
  void SetMax(int max);
  void SetPosition(int position);  // kept within 0 and the maximum

  int LargeChange = 1;
  std::function<void()> OnChange;

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  std::optional<int> NewPosition(int code) const;
};
