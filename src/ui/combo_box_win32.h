#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/control_win32.h"

// A drop-down list to choose one of its items from. The arguments' height
// is the height of the open list. OnChange follows the user's choices only.
class TComboBox : public TControl {
 public:
  TComboBox(const TControlArgs& args, const std::vector<std::string>& items);

  // Replaces the items; none is chosen then.
  void SetItems(const std::vector<std::string>& items);
  int ItemIndex() const;  // -1 while none is chosen
  void SetItemIndex(int index);
  std::function<void()> OnChange;

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DpiChanged(int fromDpi, int toDpi) override;

 private:
  int FListHeight;  // the height it was given, which the window does not tell
};
