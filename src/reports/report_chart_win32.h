#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "reports/report_chart.h"
#include "ui/form_win32.h"
#include "ui/gdi_canvas_win32.h"
#include "ui/list_view_win32.h"

// The chart of a report list, as a child window above it: what Contents
// gives, painted into a back buffer whenever the list's view changes, the
// list's selected row highlighted; a click on a row's bars selects that row
// in the list.
class TReportChart : public TForm {
 public:
  // The list and the font stay the caller's and must outlive the chart.
  TReportChart(HWND parent, TPTListView& list, const TChartLook& look, HFONT font);
  ~TReportChart() override;

  void SetBounds(int left, int top, int width, int height);
  void SetLook(const TChartLook& look, HFONT font);
  // Paints the chart again from the list.
  void Render();
  const TChartLayout& Layout() const { return FLayout; }
  const TChart& Shown() const { return FChart; }
  // The chart alone for a file or the clipboard: as wide as it shows, a
  // title line higher, and without the highlight.
  TPixels Picture();

  // The slots to show, as the list stands.
  std::function<TChart()> Contents;
  // The list's view changed and the chart shows it.
  std::function<void()> OnListChange;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Click(int x, int y);

  TPTListView& FList;
  TChartLook FLook;
  TGdiCanvas FCanvas;
  TGdiCanvas FPicture;
  TChart FChart;
  TChartLayout FLayout;
};
