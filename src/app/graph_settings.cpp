#include "app/graph_settings.h"

#include "setup/setup_model.h"
#include "setup/setup_tables.h"

namespace {

// Settings values that are out of their list leave the graph's own default.
template <typename TEnum>
void ApplyChoice(int value, int count, TEnum& target) {
  if (value >= 0 && value < count) target = static_cast<TEnum>(value);
}

// The window's design, before the settings: what it always sets.
void ApplyDesign(TMeterModel& graph) {
  graph.SetGraphBackgroundColor(0xFFFFFF);
  graph.SetVLine(true);
  graph.SetMaxValue(10);
  graph.SetMinMaxValue(10);
  graph.SetMaxValueType(tmvAuto);
  graph.SetHistoryMax(86400);
  graph.SetYAxisSuffex(true);
  graph.SetShowVScale(true);
  graph.SetHScale(2);
  graph.SetVPos(graph.HScale() * 60);
}

void ApplyLook(const TMainSettings& s, TMeterModel& graph) {
  graph.SetSolid(s.SolidBar);
  graph.SetAntiAlias(static_cast<uint8_t>(s.AntiAlias));
  graph.SetLineWidth(static_cast<uint8_t>(s.LineWidth + 1));
  graph.SetVLine(s.VLines);
  graph.SetShowVScale(s.VLines);
  TGridStyle grid = graph.GridStyle();
  ApplyChoice(s.GridStyle, 3, grid);
  graph.SetGridStyle(grid);
  TYAxisDisplay axis = graph.YaxisDisplay();
  ApplyChoice(s.YaxisDisplay, 4, axis);
  graph.SetYaxisDisplay(axis);
  TScale scale = graph.Scale();
  ApplyChoice(s.Scale, 2, scale);
  graph.SetScale(scale);
}

// "MaxValueType" has the last word on the maximum, after the scale it is
// counted in.
void ApplyMaximum(const TMainSettings& s, TMeterModel& graph) {
  if (s.MaxValueType == 0) {
    graph.SetMaxValueType(tmvAuto);
  } else {
    graph.SetMaxValueType(tmvFixed);
    if (const auto maximum = MaxValueForType(s.MaxValueType, s.MaxValue))
      graph.SetMaxValue(*maximum);
  }
}

}  // namespace

void ApplyGraphSettings(const TMainSettings& s, TMeterModel& graph) {
  ApplyDesign(graph);
  graph.SetHistoryMax(s.HistoryHours * 3600);
  if (s.MaxPeak == -1) {
    graph.SetMinMaxValue(1024);
    graph.SetMaxValueType(tmvAuto);
  } else {
    graph.SetMaxValue(s.MaxPeak);
    graph.SetMaxValueType(tmvFixed);
  }
  ApplyLook(s, graph);
  ApplyMaximum(s, graph);
  ApplyGraphColors(s.Colors, graph);
}

TRateUnits RateUnitsOf(const TMeterModel& graph) {
  return StartupRateUnits(graph.Scale() == sKBits);
}

TChartLook ReportChartLook(const TMeterModel& graph) {
  TChartLook look;
  look.Download = graph.Bar1Color();
  look.Upload = graph.Bar2Color();
  look.Text = graph.TextColor();
  look.Grid = graph.GridColor();
  look.Background = graph.GraphBackgroundColor();
  return look;
}
