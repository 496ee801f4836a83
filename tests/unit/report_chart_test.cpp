#include "reports/report_chart.h"

#include <gtest/gtest.h>

#include "ui/glyph_canvas.h"

namespace {

TReportRow Row(int64_t download, int64_t upload) {
  TReportRow row;
  row.Download = download;
  row.Upload = upload;
  return row;
}

// Three rows on a 200 x 100 canvas whose characters are 6 x 13 pixels: the
// labels take 11 characters and two gaps of 4, so the plot is 74 to 196
// across and 10 to 90 down, each row 40 wide with bars of 15.
class ReportChartTest : public testing::Test {
 protected:
  ReportChartTest() { Canvas.SetSize(200, 100); }
  TChartLayout Paint(int first, int selected) {
    return PaintReportChart(Canvas, {&Rows[0], &Rows[1], &Rows[2]}, first, selected, Look, English);
  }
  uint32_t At(int x, int y) { return Canvas.Pixels().Rgb(x, y); }

  TGlyphCanvas Canvas;
  const TFormatSettings English;
  TChartLook Look{0x0000FF, 0x00FF00, 0, 0x808080, 0xFFFFFF, 0xFFC0C0, 96};
  TReportRow Rows[3] = {Row(1000, 500), Row(0, 250), Row(500, 0)};
};

TEST_F(ReportChartTest, BarsStandOnTheFloorScaledToTheLargestAmountShown) {
  const TChartLayout layout = Paint(0, 1);
  EXPECT_EQ(layout.Plot, (TRect{74, 10, 196, 90}));
  EXPECT_EQ(layout.Count, 3);
  EXPECT_EQ(layout.SlotWidth, 40);
  EXPECT_EQ(At(80, 10), 0x0000FFu);  // the largest download, full height
  EXPECT_EQ(At(95, 49), 0xFFFFFFu);  // over half an upload
  EXPECT_EQ(At(95, 50), 0x00FF00u);
  EXPECT_EQ(At(120, 20), 0xFFC0C0u);  // the selected row's place
  EXPECT_EQ(At(135, 70), 0x00FF00u);  // a quarter
  EXPECT_EQ(At(135, 69), 0xFFC0C0u);
  EXPECT_EQ(At(175, 89), 0xFFFFFFu);  // nothing selected here, and no upload
  EXPECT_EQ(At(155, 50), 0x0000FFu);
  EXPECT_EQ(At(155, 49), 0xFFFFFFu);
  EXPECT_EQ(ChartRowAt(layout, 80, 50), 0);
  EXPECT_EQ(ChartRowAt(layout, 153, 89), 1);
  EXPECT_EQ(ChartRowAt(layout, 154, 50), 2);
  EXPECT_EQ(ChartRowAt(layout, 60, 50), -1);   // the labels
  EXPECT_EQ(ChartRowAt(layout, 100, 95), -1);  // below the plot
}

// "0 bytes" is wider than "4 KB" at the top: the labels' room is the widest's.
TEST_F(ReportChartTest, TheLabelsRoomFitsTheWidestLabel) {
  Rows[0] = Row(4096, 0);
  EXPECT_EQ(Paint(0, -1).Plot.Left, 50);
}

TEST_F(ReportChartTest, RowsFromTheFirstShownOnRescaleAndKeepTheirPositions) {
  const TChartLayout layout = Paint(1, -1);
  EXPECT_EQ(layout.Count, 2);
  EXPECT_EQ(layout.Plot.Left, 62);  // "500 bytes" takes two characters less
  EXPECT_EQ(layout.SlotWidth, 48);  // two rows would take 67 each: bars, not blocks
  EXPECT_EQ(ChartRowAt(layout, 70, 50), 1);
  EXPECT_EQ(ChartRowAt(layout, 158, 50), -1);
  EXPECT_EQ(At(115, 11), 0x0000FFu);  // 500 is now the top
  EXPECT_EQ(At(90, 51), 0x00FF00u);   // and 250 half of it
  EXPECT_EQ(At(90, 49), 0xFFFFFFu);
}

}  // namespace
