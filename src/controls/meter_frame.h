#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "controls/meter_model.h"
#include "controls/meter_scale.h"
#include "ui/canvas.h"

// A text of the graph and the box its extent gives it where it is written.
struct TMeterText {
  // Where its pixels may lie: glyphs may overhang their cells sideways.
  TRect Ink() const { return {Box.Left - 2, Box.Top, Box.Right + 2, Box.Bottom}; }

  TRect Box;
  std::string Text;
  bool operator==(const TMeterText&) const = default;
};

// What a paint lays out before it draws: enough to draw any part of the
// picture, and to tell whether the next picture is this one moved on.
struct TMeterFrame {
  struct TGridLine {
    int Y = 0;  // of the label's middle; the line runs along the row below
    bool Line = false;
    std::vector<TMeterText> Labels;
    bool operator==(const TGridLine&) const = default;
  };
  struct TTimeLine {
    int X = 0;
    std::optional<TMeterText> Label;
  };

  int Width = 0;
  int Height = 0;
  TMeterLook Look;
  // The look's colours as drawn: a system colour the user changes shows.
  std::array<uint32_t, 7> Rgb{};
  TMeterLayout Layout;
  TSize Char;  // of "0" in the font
  TScaleGrid Grid;
  std::vector<TGridLine> GridLines;
  std::vector<TTimeLine> TimeLines;
  // The series: samples First ... Last are drawn, First at FirstX and each
  // next one HScale further; NewestX is where the newest sample stands.
  int32_t First = 0;
  int32_t Last = -1;
  int FirstX = 0;
  int64_t NewestX = 0;
  bool RiseFromBottom = false;
  // How far the series' pixels reach beyond the points they join.
  int Reach = 0;
  int32_t BrowseOffset = -1;
  uint64_t Appends = 0;
  uint32_t Clears = 0;

  // Where the series may draw: the plot, and as far around it as their
  // pixels reach. Around it lies only the background, under texts.
  TRect SeriesArea() const {
    return Layout.Plot.Inflate(Reach + 1).Intersection({0, 0, Width, Height});
  }
};

// Lays the graph out at width x height, measuring texts on main. Nothing
// when the control is too narrow for its margins: the window then keeps
// what it showed.
std::optional<TMeterFrame> PlanMeter(const TMeterModel& meter, TCanvas& main, int width,
                                     int height);
