#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ui/canvas.h"
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

// Everything the graph's picture depends on besides its samples and its scale.
struct TMeterLook {
  TColor BackgroundColor = clBtnFace;
  TColor GraphBackgroundColor = 0;
  TColor Bar1Color = 0xFF0000;
  TColor Bar2Color = 0x0000FF;
  TColor GridColor = 0;
  TColor BorderColor = 0;
  TColor TextColor = 0;
  int MarginBottom = 0;
  int MarginLeft = 0;
  int MarginRight = 0;
  int MarginTop = 0;
  TYAxisDisplay YaxisDisplay = yaLeft;
  bool YAxisSuffex = false;
  bool ShowGrid = true;
  TGridStyle GridStyle = gLine;
  int HScale = 1;
  bool VLine = false;
  bool ShowVScale = false;
  int VPos = 60;
  bool Solid = false;
  TScale Scale = sKBytes;
  uint8_t AntiAlias = 0;
  uint8_t LineWidth = 1;
  // Of the screen: the margins and the gaps around the labels are given at
  // 96 and scaled to it (the labels follow their font).
  int PixelsPerInch = 96;
  bool operator==(const TMeterLook&) const = default;
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
  const TMeterLook& Look() const { return FLook; }
  // Samples appended ever, and histories cleared: between two paints with
  // the same count of clears, the history moved on by the appends between.
  uint64_t Appends() const { return FAppends; }
  uint32_t Clears() const { return FClears; }

  // The sample drawn at x, or -1; only points inside the plot hit.
  int32_t HitTest(int x, int y) const;
  THintStep MouseMove(int x, int y, bool hintShowing);
  void MouseLeave();
  // OnFormatHint's text for the hovered sample; empty outside the plot.
  std::string HintText(int x, int y) const;
  std::function<void(const THistoryData& phd, std::string& s)> OnFormatHint;

  TColor BackgroundColor() const { return FLook.BackgroundColor; }
  void SetBackgroundColor(TColor value) { Assign(FLook.BackgroundColor, value); }
  TColor GraphBackgroundColor() const { return FLook.GraphBackgroundColor; }
  void SetGraphBackgroundColor(TColor value) { Assign(FLook.GraphBackgroundColor, value); }
  TColor Bar1Color() const { return FLook.Bar1Color; }
  void SetBar1Color(TColor value) { Assign(FLook.Bar1Color, value); }
  TColor Bar2Color() const { return FLook.Bar2Color; }
  void SetBar2Color(TColor value) { Assign(FLook.Bar2Color, value); }
  TColor GridColor() const { return FLook.GridColor; }
  void SetGridColor(TColor value) { Assign(FLook.GridColor, value); }
  TColor BorderColor() const { return FLook.BorderColor; }
  void SetBorderColor(TColor value) { Assign(FLook.BorderColor, value); }
  TColor TextColor() const { return FLook.TextColor; }
  void SetTextColor(TColor value) { Assign(FLook.TextColor, value); }

  int MarginBottom() const { return FLook.MarginBottom; }
  void SetMarginBottom(int value) { Assign(FLook.MarginBottom, value); }
  int MarginLeft() const { return FLook.MarginLeft; }
  void SetMarginLeft(int value) { Assign(FLook.MarginLeft, value); }
  int MarginRight() const { return FLook.MarginRight; }
  void SetMarginRight(int value) { Assign(FLook.MarginRight, value); }
  int MarginTop() const { return FLook.MarginTop; }
  void SetMarginTop(int value) { Assign(FLook.MarginTop, value); }

  TYAxisDisplay YaxisDisplay() const { return FLook.YaxisDisplay; }
  void SetYaxisDisplay(TYAxisDisplay value);
  bool YAxisSuffex() const { return FLook.YAxisSuffex; }
  void SetYAxisSuffex(bool value) { FLook.YAxisSuffex = value; }
  bool ShowGrid() const { return FLook.ShowGrid; }
  void SetShowGrid(bool value) { Assign(FLook.ShowGrid, value); }
  TGridStyle GridStyle() const { return FLook.GridStyle; }
  void SetGridStyle(TGridStyle value);
  int HScale() const { return FLook.HScale; }
  void SetHScale(int value);
  bool VLine() const { return FLook.VLine; }
  void SetVLine(bool value) { FLook.VLine = value; }
  bool ShowVScale() const { return FLook.ShowVScale; }
  void SetShowVScale(bool value) { FLook.ShowVScale = value; }
  int VPos() const { return FLook.VPos; }
  void SetVPos(int value) { FLook.VPos = value; }

  int32_t MaxValue() const { return FMaxValue; }
  void SetMaxValue(int32_t value) { Assign(FMaxValue, value); }
  int32_t MinMaxValue() const { return FMinMaxValue; }
  void SetMinMaxValue(int32_t value) { Rescale(FMinMaxValue, value); }
  TmaxV MaxValueType() const { return FMaxValueType; }
  void SetMaxValueType(TmaxV value) { Rescale(FMaxValueType, value); }
  int32_t HistoryMax() const { return FHistoryMax; }
  void SetHistoryMax(int32_t value);
  bool Solid() const { return FLook.Solid; }
  void SetSolid(bool value) { Assign(FLook.Solid, value); }
  TScale Scale() const { return FLook.Scale; }
  void SetScale(TScale value) { Rescale(FLook.Scale, value); }
  uint8_t AntiAlias() const { return FLook.AntiAlias; }
  void SetAntiAlias(uint8_t value);
  uint8_t LineWidth() const { return FLook.LineWidth; }
  void SetLineWidth(uint8_t value) { FLook.LineWidth = value; }
  int PixelsPerInch() const { return FLook.PixelsPerInch; }
  void SetPixelsPerInch(int value) { Assign(FLook.PixelsPerInch, value); }

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
  uint64_t FAppends = 0;
  uint32_t FClears = 0;
  TMeterLayout FLayout;
  std::optional<TPoint> FMouse;
  std::optional<THistoryData> FHovered;  // a copy: appends move the records

  int32_t FMaxValue = 1;
  int32_t FMinMaxValue = 1;
  TmaxV FMaxValueType = tmvAuto;
  int32_t FHistoryMax = 10000;
  TMeterLook FLook;
};
