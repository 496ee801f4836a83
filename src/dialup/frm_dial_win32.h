#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/buttons_win32.h"
#include "ui/dialog_win32.h"
#include "ui/image_win32.h"
#include "ui/label_win32.h"

// The small window shown while the redial dials: a telephone, the status of
// the dial and Cancel. The user's Cancel, Esc, Alt+F4 or close box all go to
// OnCancel, which is to close the window when done; the program closes it
// with Destroy, which cancels nothing.
class TFrmDial : public TDialog {
 public:
  TFrmDial(HWND owner, const std::string& caption);

  std::function<void()> OnCancel;

  void SetStatus(const std::string& text) { FLabel1->SetText(text); }
  void Destroy() { DestroyWindow(Handle()); }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void DpiChanged(int fromDpi) override;

 private:
  HIMAGELIST Picture() const;

  std::unique_ptr<TLabel> FLabel1;
  std::unique_ptr<TImage> FImage1;
  std::unique_ptr<TButton> FButton1, FButton2;
};
