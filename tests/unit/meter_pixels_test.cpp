#include "controls/meter_pixels.h"

#include <gtest/gtest.h>

#include "ui/glyph_canvas.h"

namespace {

constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;

// A black bitmap whose plot reaches its right and bottom edges.
class SmoothLineTest : public testing::Test {
 protected:
  void SetUp() override { Resize(12, 8); }
  void Resize(int width, int height) {
    canvas.SetSize(width, height);
    canvas.FillRect({0, 0, width, height}, 0);
    target = {canvas.Pixels(), width, height, false, 0, kGreen, {0, 0, width, height}};
  }
  int Blue(int x, int y) { return canvas.Pixels().At(x, y)[0]; }

  TGlyphCanvas canvas;
  TSmoothTarget target;
};

TEST_F(SmoothLineTest, HorizontalLineFillsOneRowAtSixtyPercent) {
  DrawSmoothLine(target, {1, 2}, {9, 2}, 1.0, kBlue);
  for (int x = 0; x < 12; ++x) {
    EXPECT_EQ(Blue(x, 2), x >= 1 && x <= 9 ? 153 : 0) << x;
    EXPECT_EQ(Blue(x, 1), 0) << x;
    EXPECT_EQ(Blue(x, 3), 0) << x;
  }
  EXPECT_EQ(canvas.Pixels().Rgb(5, 2), 153u << 16);
}

TEST_F(SmoothLineTest, HalfwayBetweenRowsCoversBothByThreeQuarters) {
  // Slope one half: at x = 1 the line is halfway between rows 0 and 1, each
  // covered 1 - 0.5^2 = 0.75: 190, laid down at 60 %.
  DrawSmoothLine(target, {8, 4}, {0, 0}, 1.0, kBlue);
  EXPECT_EQ(Blue(0, 0), 153);
  EXPECT_EQ(Blue(1, 0), 114);
  EXPECT_EQ(Blue(1, 1), 114);
  EXPECT_EQ(Blue(2, 1), 153);
  EXPECT_EQ(Blue(2, 2), 0);
}

TEST_F(SmoothLineTest, SolidLinesGetAFullStrengthCore) {
  target.Solid = true;
  DrawSmoothLine(target, {1, 2}, {9, 2}, 1.0, kBlue);
  EXPECT_EQ(Blue(5, 2), 153);
  EXPECT_EQ(Blue(5, 3), 255);
  EXPECT_EQ(Blue(5, 4), 0);
  // The area fill below is not cored.
  DrawSmoothLine(target, {11, 0}, {11, 7}, 0.55, kBlue);
  EXPECT_EQ(Blue(11, 4), 140);
}

TEST_F(SmoothLineTest, AreaFillShowsLessGridThroughIt) {
  canvas.FillRect({0, 5, 12, 6}, kGreen);
  DrawSmoothLine(target, {3, 1}, {3, 8}, 0.55, kBlue);
  EXPECT_EQ(canvas.Pixels().Rgb(3, 4), 140u << 16);
  EXPECT_EQ(canvas.Pixels().Rgb(3, 5), 217u << 16 | 38u << 8);
  EXPECT_EQ(Blue(3, 7), 140);  // the walk stops at bottom - 1
}

TEST_F(SmoothLineTest, StaysInsideThePlotAndTheBitmap) {
  target.Right = 8;
  target.Bottom = 6;
  DrawSmoothLine(target, {0, 1}, {40, 1}, 1.0, kBlue);
  EXPECT_EQ(Blue(7, 1), 153);
  EXPECT_EQ(Blue(8, 1), 0);
  // Started at or below the bottom edge, a line begins one row above it.
  DrawSmoothLine(target, {2, 9}, {2, 9}, 1.0, kBlue);
  EXPECT_EQ(Blue(2, 5), 153);
  // A solid core and far pixel past the last row are dropped, not written
  // beyond the bitmap.
  Resize(12, 8);
  target.Solid = true;
  DrawSmoothLine(target, {0, 6}, {11, 6}, 1.0, kBlue);
  EXPECT_EQ(Blue(4, 6), 153);
  EXPECT_EQ(Blue(4, 7), 255);
  DrawSmoothLine(target, {11, 0}, {11, 7}, 1.0, kBlue);
  EXPECT_EQ(Blue(11, 3), 153);
}

struct BlendCase {
  const char* Name;
  uint32_t Old;
  double Weight;
  bool Primary;
  int Expected;  // each channel, laying 200 over the old colour
};

class BlendPixelTest : public testing::TestWithParam<BlendCase> {};

TEST_P(BlendPixelTest, StrengthByWhatLiesBelow) {
  TGlyphCanvas canvas;
  canvas.SetSize(1, 1);
  canvas.FillRect({0, 0, 1, 1}, GetParam().Old);
  const TSmoothTarget target{canvas.Pixels(), 1, 1, false, 0x101010, 0x202020, {0, 0, 1, 1}};
  BlendPixel(target, 0, 0, {200, 200, 200}, GetParam().Primary, GetParam().Weight);
  const uint32_t e = GetParam().Expected;
  EXPECT_EQ(canvas.Pixels().Rgb(0, 0), e << 16 | e << 8 | e);
}

// Background 16, grid 32, another line 100 in every channel.
INSTANTIATE_TEST_SUITE_P(Cases, BlendPixelTest,
                         testing::Values(BlendCase{"LineOverBackground", 0x101010, 1.0, true, 126},
                                         BlendCase{"LineOverOtherLine", 0x646464, 1.0, true, 160},
                                         BlendCase{"CoreOverBackground", 0x101010, 1.0, false, 200},
                                         BlendCase{"CoreOverGrid", 0x202020, 1.0, false, 200},
                                         BlendCase{"CoreOverOtherLine", 0x646464, 1.0, false, 140},
                                         BlendCase{"FillOverBackground", 0x101010, 0.55, true, 117},
                                         BlendCase{"FillOverGrid", 0x202020, 0.55, true, 175},
                                         BlendCase{"FillOverOtherLine", 0x646464, 0.55, true, 155}),
                         [](const auto& info) { return info.param.Name; });

TEST(BoxFilterTest, TruncatedMeanOfAtMostFourByFour) {
  struct {
    int Factor, Left, Right;
  } const cases[] = {{2, 50, 63}, {3, 22, 28}, {4, 12, 15}, {5, 12, 0}};
  for (const auto& c : cases) {
    TGlyphCanvas source, target;
    target.SetSize(2, 1);
    source.SetSize(2 * c.Factor, c.Factor);
    source.FillRect({0, 0, 2 * c.Factor, c.Factor}, 0);
    // 200 in the left block's first pixel, 255 in the right block's last.
    source.FillRect({0, 0, 1, 1}, 0xC8C8C8);
    source.FillRect({2 * c.Factor - 1, c.Factor - 1, 2 * c.Factor, c.Factor}, 0xFFFFFF);
    BoxFilter(source.Pixels(), target.Pixels(), c.Factor, {0, 0, 2, 1});
    EXPECT_EQ(target.Pixels().Rgb(0, 0), c.Left * 0x010101u) << c.Factor;
    EXPECT_EQ(target.Pixels().Rgb(1, 0), c.Right * 0x010101u) << c.Factor;
  }
}

// Scrolled far enough that the buffer runs out of room behind the picture
// more than once: every pixel is always the one that stood distance further
// right, each column keeping its own colour as it moves.
TEST(PixelBufferTest, ScrollMovesEveryPixelLeftAcrossTheRoomsEnd) {
  constexpr int kWidth = 101, kHeight = 5, kDistance = 7;
  const auto color = [](int column, int y) {
    return static_cast<uint32_t>(column * 2654435761u + y * 40503u) & 0xFFFFFF;
  };
  TPixelBuffer buffer;
  buffer.SetSize(kWidth, kHeight);
  const auto paint = [&](int from, int scrolled) {
    const TPixels& p = buffer.Pixels();
    for (int y = 0; y < kHeight; ++y)
      for (int x = from; x < kWidth; ++x) {
        const uint32_t c = color(x + scrolled, y);
        uint8_t* at = p.At(x, y);
        at[0] = c >> 16, at[1] = c >> 8 & 0xFF, at[2] = c & 0xFF;
      }
  };
  paint(0, 0);
  for (int scrolled = kDistance; scrolled <= 50000; scrolled += kDistance) {
    buffer.ScrollLeft(kDistance);
    paint(kWidth - kDistance, scrolled);
    const TPixels& p = buffer.Pixels();
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(p.Rgb(x, y), color(x + scrolled, y)) << x << ", " << y << " at " << scrolled;
  }
}

}  // namespace
