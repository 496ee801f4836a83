#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control_win32.h"
#include "ui/dpi_win32.h"

// The controls of the system's button class that the dialogs use. Each
// reports the user's clicks to OnClick; changes made in code do not.

// A push button; BS_DEFPUSHBUTTON in the style makes it the default look.
class TButton : public TControl {
 public:
  explicit TButton(const TControlArgs& args) : TButton(args, BS_PUSHBUTTON) {}
  std::function<void()> OnClick;

 protected:
  TButton(const TControlArgs& args, DWORD kind);
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// A check box that checks itself when clicked.
class TCheckBox : public TButton {
 public:
  explicit TCheckBox(const TControlArgs& args) : TButton(args, BS_AUTOCHECKBOX) {}
  bool Checked() const;
  void SetChecked(bool checked);

 protected:
  using TButton::TButton;
};

// A radio button; the buttons of one group uncheck each other. WS_GROUP in
// the style starts a new group.
class TRadioButton : public TCheckBox {
 public:
  explicit TRadioButton(const TControlArgs& args) : TCheckBox(args, BS_AUTORADIOBUTTON) {}
};

// A framed group of radio buttons, one under the other, of which one is
// chosen. The frame's caption is the arguments' text; the buttons are spaced
// for the DPI.
class TRadioGroup {
 public:
  TRadioGroup(const TControlArgs& args, const std::vector<std::string>& items,
              int dpi = kDesignDpi);

  int ItemIndex() const;  // -1 while none is chosen
  void SetItemIndex(int index);
  std::function<void()> OnClick;

 private:
  TControl FFrame;
  std::vector<std::unique_ptr<TRadioButton>> FItems;
};
