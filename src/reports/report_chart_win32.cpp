#include "reports/report_chart_win32.h"

#include <windowsx.h>

#include <vector>

#include "ui/handle_guards_win32.h"

TReportChart::TReportChart(HWND parent, TPTListView& list, const TChartLook& look, HFONT font)
    : FList(list), FLook(look) {
  FCanvas.SetFont(font);
  FPicture.SetFont(font);
  TFormArgs args;
  args.ClassName = "TReportChart";
  args.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  args.Owner = parent;
  args.Left = args.Top = 0;
  args.Width = args.Height = 1;
  CreateForm(args);
  FList.OnViewChange = [this] {
    Render();
    if (OnListChange) OnListChange();
  };
}

// Destroyed here, while the list's callback still has somewhere to go.
TReportChart::~TReportChart() {
  FList.OnViewChange = nullptr;
  if (Handle()) DestroyWindow(Handle());
}

void TReportChart::SetBounds(int left, int top, int width, int height) {
  MoveWindow(Handle(), left, top, width, height, FALSE);
  Render();
}

void TReportChart::SetLook(const TChartLook& look, HFONT font) {
  FLook = look;
  FCanvas.SetFont(font);
  FPicture.SetFont(font);
  Render();
}

void TReportChart::Render() {
  RECT client;
  GetClientRect(Handle(), &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  FCanvas.SetSize(client.right, client.bottom);
  FChart = Contents ? Contents() : TChart{};
  const int selected = FList.Selected();
  FLayout = PaintReportChart(
      FCanvas, FChart,
      selected >= 0 ? static_cast<const TReportRow*>(FList.Data(selected)) : nullptr, false, FLook);
  InvalidateRect(Handle(), nullptr, FALSE);
}

TPixels TReportChart::Picture() {
  const TPixels shown = FCanvas.Pixels();
  FPicture.SetSize(shown.Width, shown.Height + FPicture.TextExtent("0").Height);
  PaintReportChart(FPicture, FChart, nullptr, true, FLook);
  return FPicture.Pixels();
}

void TReportChart::Click(int x, int y) {
  const TReportRow* row = ChartRowAt(FChart, FLayout, x, y);
  for (int i = 0; row && i < FList.Count(); ++i)
    if (FList.Data(i) == row) {
      FList.SetSelected(i);
      SetFocus(FList.Handle());
    }
}

LRESULT TReportChart::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: {
      const TPaintDC dc(Handle());
      const RECT& r = dc.Area();
      BitBlt(dc.Get(), r.left, r.top, r.right - r.left, r.bottom - r.top, FCanvas.Dc(), r.left,
             r.top, SRCCOPY);
      return 0;
    }
    case WM_LBUTTONDOWN: Click(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
  }
  return TForm::WndProc(msg, wParam, lParam);
}
