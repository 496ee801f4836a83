#include "ui/image_win32.h"

#include <commctrl.h>

#include <utility>

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

TControlArgs OwnerDrawn(TControlArgs args) {
  args.Style |= SS_OWNERDRAW;
  return args;
}

}  // namespace

HIMAGELIST LoadImageStrip(const char* name, int designWidth, int width) {
  const HINSTANCE module = GetModuleHandleA(nullptr);
  if (width == designWidth)
    return ImageList_LoadImageA(module, name, width, 0, kTransparent, IMAGE_BITMAP,
                                LR_CREATEDIBSECTION);
  const TGdiObject<HBITMAP> strip(
      static_cast<HBITMAP>(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP info{};
  if (!GetObjectA(strip.Get(), sizeof info, &info)) return nullptr;
  const int count = info.bmWidth / designWidth;
  const int height = MulDiv(info.bmHeight, width, designWidth);
  const TWindowDC screen(nullptr);
  const TGdiObject<HBITMAP> scaled(CreateCompatibleBitmap(screen.Get(), count * width, height));
  {
    const TMemoryDC from, to;
    const TSelection fromSelected(from.Get(), strip.Get()), toSelected(to.Get(), scaled.Get());
    SetStretchBltMode(to.Get(), COLORONCOLOR);
    StretchBlt(to.Get(), 0, 0, count * width, height, from.Get(), 0, 0, count * designWidth,
               info.bmHeight, SRCCOPY);
  }
  HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, count, 0);
  ImageList_AddMasked(list, scaled.Get(), kTransparent);
  return list;
}

TImage::TImage(const TControlArgs& args, TOwnedImageList images)
    : TControl(OwnerDrawn(args)), FImages(std::move(images)) {}

void TImage::SetImages(TOwnedImageList images) {
  FImages = std::move(images);
  InvalidateRect(Handle(), nullptr, TRUE);
}

bool TImage::Notified(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  if (FImages.Get())
    ImageList_Draw(FImages.Get(), 0, item.hDC, item.rcItem.left, item.rcItem.top, ILD_TRANSPARENT);
  result = TRUE;
  return true;
}
