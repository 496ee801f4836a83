#include "dialup/frm_dial_win32.h"

#include <commctrl.h>

namespace {

constexpr int kClientWidth = 322, kClientHeight = 66;
constexpr int kButtonWidth = 75, kButtonHeight = 25;
constexpr int kPictureSize = 32;

}  // namespace

TFrmDial::TFrmDial(HWND owner, const std::string& caption) {
  TDialogArgs dialog;
  dialog.ClassName = "TFrmDial";
  dialog.Caption = caption;
  dialog.ClientWidth = kClientWidth;
  dialog.ClientHeight = kClientHeight;
  dialog.Owner = owner;
  CreateDialogForm(dialog);
  FLabel1 = std::make_unique<TLabel>(Args(Handle(), "", 56, 12, 170, 29));
  FImage1 = std::make_unique<TImage>(Args(Handle(), "", 13, 10, kPictureSize, kPictureSize),
                                     TOwnedImageList(Picture()));
  TControlArgs cancel = Args(Handle(), "Cancel", 239, 13, kButtonWidth, kButtonHeight);
  cancel.Id = IDCANCEL;
  FButton1 = std::make_unique<TButton>(cancel);
  FButton1->OnClick = [this] { Close(); };
  // Out of sight, and where the keyboard focus rests: Enter and Space must
  // not cancel a dial.
  TControlArgs rest = Args(Handle(), "", -100, 32, kButtonWidth, kButtonHeight);
  rest.Id = IDOK;
  FButton2 = std::make_unique<TButton>(rest);
  ShowDialog();
  SetFocus(FButton2->Handle());
}

HIMAGELIST TFrmDial::Picture() const {
  return LoadImageStrip("DIALING", kPictureSize, Scaled(kPictureSize));
}

void TFrmDial::DpiChanged(int) {
  FImage1->SetImages(TOwnedImageList(Picture()));
}

// Every close by the user (Cancel, Esc, Alt+F4, the close box) arrives here.
LRESULT TFrmDial::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE && OnCancel) {
    OnCancel();
    return 0;
  }
  return TDialog::WndProc(msg, wParam, lParam);
}
