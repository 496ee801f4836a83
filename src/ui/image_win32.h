#pragma once

#include <windows.h>

#include "ui/control_win32.h"
#include "ui/handle_guards_win32.h"

// The program's bitmap resource name: images designWidth pixels wide side by
// side, magenta where they are transparent, as a list of images width pixels
// wide (scaled pixel by pixel, so magenta stays exact; the height in
// proportion).
HIMAGELIST LoadImageStrip(const char* name, int designWidth, int width);

// A picture (a static control, the arguments' default class): the first image of an image list it
// owns, drawn over the button face.
class TImage : public TControl {
 public:
  // images: the list to show from, taken over by the control.
  TImage(const TControlArgs& args, TOwnedImageList images);
  void SetImages(TOwnedImageList images);

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  TOwnedImageList FImages;
};
