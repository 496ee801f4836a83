#pragma once

#include <windows.h>

#include "ui/control_win32.h"
#include "ui/handle_guards_win32.h"

// A picture (a static control, the arguments' default class): the first image of an image list it
// owns, drawn over the button face.
class TImage : public TControl {
 public:
  // images: the list to show from, taken over by the control.
  TImage(const TControlArgs& args, TOwnedImageList images);

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  TOwnedImageList FImages;
};
