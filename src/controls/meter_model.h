#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "controls/canvas.h"
#include "controls/meter_history.h"
#include "controls/meter_scale.h"
#include "platform/date_time.h"
#include "platform/format_settings.h"
#include "platform/tick_count.h"

enum TYAxisDisplay { yaNone, yaLeft, yaRight, yaBoth };
enum TGridStyle { gNone, gLine, gDotted };
enum TmaxV { tmvAuto, tmvFixed };

// What the graph takes from the system; tests pin each of these.
struct TMeterSystem {
  std::function<uint32_t()> TickCount = ::TickCount;
  std::function<TDateTime()> Now = LocalNow;
  std::function<const TFormatSettings&()> Locale = FormatSettings;
};

// What a mouse move asks of the hint window.
enum class THintStep { None, Hide, ShowNow, StartTimer };

// What a paint laid out. The meter keeps the last one for hit testing and
// browsing, and hands it back to the next paint.
struct TMeterLayout {
  // Wide labels are kept for a while after they go, so the plot does not
  // jump narrower the moment a peak scrolls out.
  struct TLabelWidths {
    int Left = 0;
    int Right = 0;
    uint32_t Tick = 0;
  };

  TRect Plot;
  int32_t VisibleCount = 0;
  TLabelWidths LabelWidths;
};

// The throughput graph without its window: the sample history, the view on
// it (live or browsing), the automatic scale, the hit test and hint rules,
// and the published properties. The painter turns it into pixels; the
// window class adds the messages.
class TMeterModel {
 public:
  explicit TMeterModel(TMeterSystem system = {});
  virtual ~TMeterModel() = default;
  TMeterModel(const TMeterModel&) = delete;
  TMeterModel& operator=(const TMeterModel&) = delete;

  // Appends a sample stamped with the current time; repaints only when the
  // view is live and repaint is true.
  void AddValues(int32_t value1, int32_t value2, bool repaint = true);
  void Clear();
  // offset: samples between the view's right edge and the newest sample;
  // -1 returns to the live view, 0 changes nothing.
  void BrowseTo(int32_t offset);
  // Back to the live view, shown at once.
  void ShowLive();
  void RecalcAutoMax(bool force);

  int32_t SampleCount() const { return FHistory.Count(); }
  const THistoryData& Sample(int32_t index) const { return FHistory[index]; }
  int32_t ScrollMax() const { return FScrollMax; }
  // As laid out by the last paint kept; the window keeps each one it shows.
  const TMeterLayout& Layout() const { return FLayout; }
  void SetLayout(const TMeterLayout& layout) { FLayout = layout; }
  int32_t VisibleCount() const { return FLayout.VisibleCount; }
  const TRect& PlotRect() const { return FLayout.Plot; }
  // -1 while live, else the first shown sample counted back from the newest.
  int32_t BrowseOffset() const { return FBrowseOffset; }
  // The first sample shown with visibleCount samples in view, and the x at
  // which it is drawn in plot. The painter asks with the layout it is about
  // to draw, before the meter keeps it.
  int32_t FirstVisible(int32_t visibleCount) const;
  int FirstX(int32_t first, const TRect& plot) const;
  const TMeterSystem& System() const { return FSystem; }

  // The sample drawn at x, or -1; only points inside the plot hit.
  int32_t HitTest(int x, int y) const;
  THintStep MouseMove(int x, int y, bool hintShowing);
  void MouseLeave();
  // OnFormatHint's text for the hovered sample; empty outside the plot.
  std::string HintText(int x, int y) const;
  std::function<void(const THistoryData& phd, std::string& s)> OnFormatHint;

  TColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor value) { Assign(FBackgroundColor, value); }
  TColor GraphBackgroundColor() const { return FGraphBackgroundColor; }
  void SetGraphBackgroundColor(TColor value) { Assign(FGraphBackgroundColor, value); }
  TColor Bar1Color() const { return FBar1Color; }
  void SetBar1Color(TColor value) { Assign(FBar1Color, value); }
  TColor Bar2Color() const { return FBar2Color; }
  void SetBar2Color(TColor value) { Assign(FBar2Color, value); }
  TColor GridColor() const { return FGridColor; }
  void SetGridColor(TColor value) { Assign(FGridColor, value); }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor value) { Assign(FBorderColor, value); }
  TColor TextColor() const { return FTextColor; }
  void SetTextColor(TColor value) { Assign(FTextColor, value); }

  int MarginBottom() const { return FMarginBottom; }
  void SetMarginBottom(int value) { Assign(FMarginBottom, value); }
  int MarginLeft() const { return FMarginLeft; }
  void SetMarginLeft(int value) { Assign(FMarginLeft, value); }
  int MarginRight() const { return FMarginRight; }
  void SetMarginRight(int value) { Assign(FMarginRight, value); }
  int MarginTop() const { return FMarginTop; }
  void SetMarginTop(int value) { Assign(FMarginTop, value); }

  TYAxisDisplay YaxisDisplay() const { return FYaxisDisplay; }
  void SetYaxisDisplay(TYAxisDisplay value);
  bool YAxisSuffex() const { return FYAxisSuffex; }
  void SetYAxisSuffex(bool value) { FYAxisSuffex = value; }
  bool ShowGrid() const { return FShowGrid; }
  void SetShowGrid(bool value) { Assign(FShowGrid, value); }
  TGridStyle GridStyle() const { return FGridStyle; }
  void SetGridStyle(TGridStyle value);
  int HScale() const { return FHScale; }
  void SetHScale(int value);
  bool VLine() const { return FVLine; }
  void SetVLine(bool value) { FVLine = value; }
  bool ShowVScale() const { return FShowVScale; }
  void SetShowVScale(bool value) { FShowVScale = value; }
  int VPos() const { return FVPos; }
  void SetVPos(int value) { FVPos = value; }

  int32_t MaxValue() const { return FMaxValue; }
  void SetMaxValue(int32_t value) { Assign(FMaxValue, value); }
  int32_t MinMaxValue() const { return FMinMaxValue; }
  void SetMinMaxValue(int32_t value) { Rescale(FMinMaxValue, value); }
  TmaxV MaxValueType() const { return FMaxValueType; }
  void SetMaxValueType(TmaxV value) { Rescale(FMaxValueType, value); }
  int32_t HistoryMax() const { return FHistoryMax; }
  void SetHistoryMax(int32_t value);
  bool Solid() const { return FSolid; }
  void SetSolid(bool value) { Assign(FSolid, value); }
  TScale Scale() const { return FScale; }
  void SetScale(TScale value) { Rescale(FScale, value); }
  uint8_t AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(uint8_t value);
  uint8_t LineWidth() const { return FLineWidth; }
  void SetLineWidth(uint8_t value) { FLineWidth = value; }

 protected:
  // Called for every change that shows; the window repaints at once.
  virtual void Repaint() {}

 private:
  template <class T>
  void Assign(T& field, T value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  // A change of what the automatic maximum is made of.
  template <class T>
  void Rescale(T& field, T value) {
    if (field == value) return;
    field = value;
    RecalcAutoMax(true);
    Repaint();
  }
  void UpdateScrollMax();

  TMeterSystem FSystem;
  TMeterHistory FHistory;
  int32_t FBrowseOffset = -1;
  int32_t FScrollMax = 0;
  uint32_t FLastRecalc = 0;
  TMeterLayout FLayout;
  std::optional<TPoint> FMouse;
  std::optional<THistoryData> FHovered;  // a copy: appends move the records

  TColor FBackgroundColor = clBtnFace;
  TColor FGraphBackgroundColor = 0;
  TColor FBar1Color = 0xFF0000;
  TColor FBar2Color = 0x0000FF;
  TColor FGridColor = 0;
  TColor FBorderColor = 0;
  TColor FTextColor = 0;
  int FMarginBottom = 0;
  int FMarginLeft = 0;
  int FMarginRight = 0;
  int FMarginTop = 0;
  TYAxisDisplay FYaxisDisplay = yaLeft;
  bool FYAxisSuffex = false;
  bool FShowGrid = true;
  TGridStyle FGridStyle = gLine;
  int FHScale = 1;
  bool FVLine = false;
  bool FShowVScale = false;
  int FVPos = 60;
  int32_t FMaxValue = 1;
  int32_t FMinMaxValue = 1;
  TmaxV FMaxValueType = tmvAuto;
  int32_t FHistoryMax = 10000;
  bool FSolid = false;
  TScale FScale = sKBytes;
  uint8_t FAntiAlias = 0;
  uint8_t FLineWidth = 1;
};
