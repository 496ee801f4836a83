#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>

#include "ui/control_win32.h"

// A colour as the settings hold it, 0x00BBGGRR or a system colour index with
// the top bit set (0x80000000 | COLOR_BTNFACE), as GDI draws it.
COLORREF ResolvedColor(uint32_t color);

// A push button that shows a colour as a swatch on its face. A click opens
// the system's colour dialog at that colour; choosing another one there
// changes it.
class TColorButton : public TControl {
 public:
  explicit TColorButton(const TControlArgs& args);

  uint32_t Color() const { return FColor; }
  // Shown as it is given: a system colour code stays one.
  void SetColor(uint32_t color);

  // The dialog's custom colours; the user may change them there.
  std::array<COLORREF, 16> CustomColors{};
  // The user chose a colour other than the one shown.
  std::function<void()> OnColorChange;

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Choose();
  void DrawSwatch(HDC dc, RECT face) const;

  uint32_t FColor = 0;
};
