#pragma once

#include <windows.h>

#include <functional>

#include "ui/control_win32.h"

// A drop-down calendar that picks one whole day, shown in the short date
// format. Days are day serials (days since 30 December 1899).
class TDatePicker : public TControl {
 public:
  explicit TDatePicker(const TControlArgs& args);

  int Date() const;
  void SetDate(int daySerial);
  // The user picked another day.
  std::function<void()> OnChange;

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};
