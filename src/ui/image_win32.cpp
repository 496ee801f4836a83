#include "ui/image_win32.h"

#include <commctrl.h>

#include <utility>

namespace {

TControlArgs OwnerDrawn(TControlArgs args) {
  args.Style |= SS_OWNERDRAW;
  return args;
}

}  // namespace

TImage::TImage(const TControlArgs& args, TOwnedImageList images)
    : TControl(OwnerDrawn(args)), FImages(std::move(images)) {}

bool TImage::Notified(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  if (FImages.Get())
    ImageList_Draw(FImages.Get(), 0, item.hDC, item.rcItem.left, item.rcItem.top, ILD_TRANSPARENT);
  result = TRUE;
  return true;
}
