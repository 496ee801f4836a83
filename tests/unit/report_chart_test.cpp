#include "reports/report_chart.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <tuple>

#include "reports/chart_axis.h"
#include "reports/save_names.h"
#include "ui/glyph_canvas.h"

namespace {

// The glyph canvas, remembering where each text went.
class TTextCanvas : public TGlyphCanvas {
 public:
  struct TText {
    TRect Rect;
    std::string Text;
  };
  std::vector<TText> Texts;

  void WriteText(int x, int y, const std::string& text, TColor color) override {
    const TSize size = TextExtent(text);
    Texts.push_back({{x, y, x + size.Width, y + size.Height}, text});
    TGlyphCanvas::WriteText(x, y, text, color);
  }
};

std::vector<std::string> AxisLabels(int64_t most, int maxSteps,
                                    const TFormatSettings& fs = TFormatSettings()) {
  const TValueAxis axis = ValueAxisFor(most, maxSteps);
  std::vector<std::string> labels;
  for (int step = 0; step <= axis.Steps; ++step)
    labels.push_back(FormatAxisSize(axis.Step * step, fs));
  return labels;
}

constexpr int64_t kMiB = int64_t{1} << 20, kGiB = kMiB << 10, kTiB = kGiB << 10;
constexpr int64_t kLargest = std::numeric_limits<int64_t>::max();

TEST(ChartAxisTest, StepsReadRoundInTheProgramsUnitsUpToTheFirstAtOrAboveTheLargest) {
  using Labels = std::vector<std::string>;
  EXPECT_EQ(AxisLabels(0, 3), (Labels{"0 bytes", "1 bytes"}));
  EXPECT_EQ(AxisLabels(1, 3), (Labels{"0 bytes", "1 bytes"}));
  EXPECT_EQ(AxisLabels(1500, 3), (Labels{"0 bytes", "512 bytes", "1 KB", "1.5 KB"}));
  EXPECT_EQ(AxisLabels(700 * kMiB, 3), (Labels{"0 bytes", "256 MB", "512 MB", "768 MB"}));
  EXPECT_EQ(AxisLabels(768 * kMiB, 3), (Labels{"0 bytes", "256 MB", "512 MB", "768 MB"}));
  EXPECT_EQ(AxisLabels(kGiB * 3 / 2, 3), (Labels{"0 bytes", "512 MB", "1 GB", "1.5 GB"}));
  EXPECT_EQ(AxisLabels(kGiB * 199 / 100, 3), (Labels{"0 bytes", "1 GB", "2 GB"}));
  EXPECT_EQ(AxisLabels(kTiB * 3 / 2, 5), (Labels{"0 bytes", "512 GB", "1 TB", "1.5 TB"}));
  EXPECT_EQ(AxisLabels(kLargest, 3), (Labels{"0 bytes", "5,000,000 TB", "10,000,000 TB"}));
  EXPECT_EQ(AxisLabels(1000, 1), (Labels{"0 bytes", "1 KB"}));
  TFormatSettings german;
  german.DecimalSeparator = ',';
  german.ThousandSeparator = '.';
  EXPECT_EQ(AxisLabels(kGiB * 5 / 4, 5, german).back(), "1,25 GB");
}

TReportRow Row(int64_t download, int64_t upload, int period = 0) {
  TReportRow row;
  row.Download = download;
  row.Upload = upload;
  row.Period = period;
  return row;
}

TChart ChartOf(const std::vector<TReportRow>& rows, int slots, int cycle,
               const std::string& label) {
  TChart chart;
  chart.Title = "Daily, 11/1/2026 \x96 11/30/2026";
  chart.LabelCycle = cycle;
  for (int i = 0; i < slots; ++i)
    chart.Slots.push_back({i < static_cast<int>(rows.size()) ? &rows[i] : nullptr, label});
  return chart;
}

// Every text wholly inside the canvas and clear of every other, at any
// amount, size and label length; none left out for want of room.
TEST(ReportChartTest, EveryLabelLiesInsideTheCanvasAndClearOfTheOthers) {
  const TChartLook look;
  for (const int64_t most : {int64_t{0}, int64_t{1}, int64_t{1500}, kGiB * 3 / 2, kGiB * 199 / 100,
                             kTiB * 3 / 2, kLargest}) {
    const std::vector<TReportRow> rows = {Row(most, 0), Row(0, most)};
    for (const auto& [slots, cycle, label] :
         {std::tuple{30, 7, "11/30"}, {24, 24, "13:00"}, {53, 52, "2026 / 53"}, {1, 10, "2026"}}) {
      const TChart chart = ChartOf(rows, slots, cycle, label);
      for (int width = 200; width <= 2000; width += 45) {
        for (const int height : {100, 240}) {
          for (const bool titled : {false, true}) {
            TTextCanvas canvas;
            canvas.SetSize(width, height);
            PaintReportChart(canvas, chart, nullptr, titled, look, TFormatSettings());
            const auto where = testing::Message() << most << " " << label << " " << width << "x"
                                                  << height << (titled ? " titled" : "");
            const TRect whole{0, 0, width, height};
            int slotLabels = 0;
            std::set<std::string> texts;
            for (size_t i = 0; i < canvas.Texts.size(); ++i) {
              const TRect& r = canvas.Texts[i].Rect;
              EXPECT_EQ(r.Intersection(whole), r) << where << " " << canvas.Texts[i].Text;
              for (size_t j = 0; j < i; ++j)
                EXPECT_FALSE(r.Intersects(canvas.Texts[j].Rect))
                    << where << " " << canvas.Texts[i].Text << " on " << canvas.Texts[j].Text;
              slotLabels += canvas.Texts[i].Text == label;
              texts.insert(canvas.Texts[i].Text);
            }
            EXPECT_GE(slotLabels, 1) << where;
            EXPECT_TRUE(texts.count("0 bytes") && texts.count("DL") && texts.count("UL")) << where;
            if (most == kLargest) {
              EXPECT_TRUE(texts.count("10,000,000 TB")) << where;
            }
            EXPECT_EQ(titled, !canvas.Texts.empty() && canvas.Texts[0].Text == chart.Title)
                << where;
          }
        }
      }
    }
  }
}

// 24 hours on 640 x 240: the labels "0 bytes" to "5 KB" leave the plot 50
// to 636 across and 25 to 215 down; hour 7 spans 220 to 245, its bars of 9
// stand either side of its middle, 232.
class HourlyChartTest : public testing::Test {
 protected:
  HourlyChartTest() {
    Canvas.SetSize(640, 240);
    Chart = ChartOf({}, 24, 24, "00:00");
    Chart.Slots[0].Row = &Rows[0];
    Chart.Slots[7].Row = &Rows[1];
    Chart.Slots[23].Row = &Rows[2];
  }
  uint32_t At(int x, int y) { return Canvas.Pixels().Rgb(x, y); }

  TGlyphCanvas Canvas;
  TChart Chart;
  TChartLook Look{0x0000FF, 0x00FF00, 0, 0x808080, 0xFFFFFF, 0xFFC0C0, 96};
  TReportRow Rows[3] = {Row(100, 0, 0), Row(5000, 2560, 7), Row(0, 1024, 23)};
};

TEST_F(HourlyChartTest, TheBarsOfHourHStandInTheMiddleOfSlotH) {
  const TChartLayout layout = PaintReportChart(Canvas, Chart, &Rows[1], false, Look, {});
  EXPECT_EQ(layout.Plot, (TRect{50, 25, 636, 215}));
  EXPECT_EQ(layout.SlotLeft(7), 220);
  EXPECT_EQ(layout.SlotLeft(8), 245);
  EXPECT_EQ(At(222, 214), 0xFFC0C0u);  // the selected row's slot
  EXPECT_EQ(At(223, 214), 0x0000FFu);  // download from 223 to 231
  EXPECT_EQ(At(231, 30), 0x0000FFu);   // 5,000 of 5,120 bytes: up to 30
  EXPECT_EQ(At(231, 29), 0xFFC0C0u);
  EXPECT_EQ(At(232, 214), 0x00FF00u);  // upload from 232 to 240, half way
  EXPECT_EQ(At(240, 120), 0x00FF00u);
  EXPECT_EQ(At(240, 119), 0xFFC0C0u);
  EXPECT_EQ(At(241, 214), 0xFFC0C0u);
  EXPECT_EQ(At(219, 214), 0xFFFFFFu);  // hour 6: nothing
  EXPECT_EQ(At(622, 214), 0xFFFFFFu);  // hour 23: an upload from 623 to 631
  EXPECT_EQ(At(623, 214), 0x00FF00u);
  EXPECT_EQ(At(631, 214), 0x00FF00u);
  EXPECT_EQ(At(632, 214), 0xFFFFFFu);
  EXPECT_EQ(ChartRowAt(Chart, layout, 221, 100), &Rows[1]);
  EXPECT_EQ(ChartRowAt(Chart, layout, 244, 100), &Rows[1]);
  EXPECT_EQ(ChartRowAt(Chart, layout, 245, 100), nullptr);  // hour 8: none
  EXPECT_EQ(ChartRowAt(Chart, layout, 40, 100), nullptr);   // the labels
  EXPECT_EQ(ChartRowAt(Chart, layout, 230, 220), nullptr);  // under the plot
}

}  // namespace
