#include "ui/color_button_win32.h"

#include <commctrl.h>

#include "ui/common_dialogs_win32.h"
#include "ui/handle_guards_win32.h"

namespace {

constexpr uint32_t kSystemColor = 0x80000000;
// The swatch keeps clear of the button's frame and its focus rectangle.
constexpr int kSwatchInset = 6;

TControlArgs PushButton(TControlArgs args) {
  args.ClassName = "BUTTON";
  args.Style |= WS_TABSTOP;
  return args;
}

}  // namespace

COLORREF ResolvedColor(uint32_t color) {
  return color & kSystemColor ? GetSysColor(color & 0xFF) : color;
}

TColorButton::TColorButton(const TControlArgs& args) : TControl(PushButton(args)) {}

void TColorButton::SetColor(uint32_t color) {
  FColor = color;
  InvalidateRect(Handle(), nullptr, TRUE);
}

// The system draws the button in the current visual style (hot, pressed,
// focused); its custom-draw notification lets us add the swatch on top.
bool TColorButton::Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    Choose();
    result = 0;
    return true;
  }
  if (msg != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != NM_CUSTOMDRAW)
    return false;
  const auto& draw = *reinterpret_cast<const NMCUSTOMDRAW*>(lParam);
  if (draw.dwDrawStage == CDDS_POSTPAINT) DrawSwatch(draw.hdc, draw.rc);
  result = draw.dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
  return true;
}

void TColorButton::Choose() {
  CHOOSECOLORA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetAncestor(Handle(), GA_ROOT);
  dialog.rgbResult = ResolvedColor(FColor);
  dialog.lpCustColors = CustomColors.data();
  dialog.Flags = CC_RGBINIT;
  if (!ChooseColorDialog(dialog) || dialog.rgbResult == ResolvedColor(FColor)) return;
  SetColor(dialog.rgbResult);
  if (OnColorChange) OnColorChange();
}

void TColorButton::DrawSwatch(HDC dc, RECT face) const {
  InflateRect(&face, -kSwatchInset, -kSwatchInset);
  const TGdiObject<HBRUSH> brush(CreateSolidBrush(ResolvedColor(FColor)));
  FillRect(dc, &face, brush.Get());
  // A frame keeps a swatch of the face's own colour visible.
  FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
}
