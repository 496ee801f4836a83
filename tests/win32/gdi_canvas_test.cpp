// The graph's GDI canvas: each line in its own colour, however many colours
// a paint uses, and texts measured in the font set last.
#include "ui/gdi_canvas_win32.h"

#include <gtest/gtest.h>

#include "ui/handle_guards_win32.h"

namespace {

// Many colours, twice over: every line in its own.
TEST(GdiCanvasTest, LinesKeepTheirColoursPastThePensKept) {
  TGdiCanvas canvas;
  canvas.SetSize(40, 3);
  const auto colour = [](int i) { return static_cast<TColor>(0x040506 * (i + 1)); };
  for (int pass = 0; pass < 2; ++pass)
    for (int i = 0; i < 40; ++i) canvas.Line({i, 0}, {i, 3}, colour(i), 1, TPenStyle::Solid);
  canvas.FrameRect({0, 0, 40, 3}, 0x0000FF);
  for (int i = 1; i < 39; ++i) EXPECT_EQ(canvas.Pixels().Rgb(i, 1), colour(i)) << i;
  EXPECT_EQ(canvas.Pixels().Rgb(0, 1), 0x0000FFu);
}

// A new font measures anew.
TEST(GdiCanvasTest, TextExtentFollowsTheFont) {
  const TGdiObject<HFONT> small(CreateFontA(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                            DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
  const TGdiObject<HFONT> large(CreateFontA(-30, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                            DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
  TGdiCanvas canvas;
  canvas.SetSize(1, 1);
  canvas.SetFont(small.Get());
  const TSize before = canvas.TextExtent("12:00");
  canvas.SetFont(large.Get());
  const TSize after = canvas.TextExtent("12:00");
  EXPECT_GT(after.Width, 2 * before.Width);
  EXPECT_GT(after.Height, 2 * before.Height);
}

}  // namespace
