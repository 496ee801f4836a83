// A move to a screen of another DPI, as the system announces it (Wine never
// does): the main window and the dialogs take the suggested place, new fonts
// and a layout scaled to match, and come back exactly on the way back.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "driver/window_driver_win32.h"
#include "ui/dpi_win32.h"
#include "win32/main_window_fixture_win32.h"

namespace {

using TEdges = std::array<LONG, 4>;

TEdges EdgesOf(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

RECT WindowRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r;
}

// The window's rectangle scaled from 96 DPI to dpi about its top left
// corner, as the system suggests it; sends the change and returns it.
RECT MoveToDpi(HWND window, int fromDpi, int toDpi) {
  RECT r = WindowRect(window);
  r.right = r.left + MulDiv(r.right - r.left, toDpi, fromDpi);
  r.bottom = r.top + MulDiv(r.bottom - r.top, toDpi, fromDpi);
  SendMessageA(window, kWmDpiChanged, MAKEWPARAM(toDpi, toDpi), reinterpret_cast<LPARAM>(&r));
  PumpMessages(100);
  return r;
}

int FontHeight(HWND window) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfHeight;
}

std::vector<int> PartEdges(HWND bar) {
  std::vector<int> edges(static_cast<size_t>(SendMessageA(bar, SB_GETPARTS, 0, 0)));
  SendMessageA(bar, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  return edges;
}

TEdges InParent(HWND window) {
  return EdgesOf(BoundsInParent(window));
}

// The height of the rows a list view keeps room for.
int RowImageHeight(HWND listView) {
  int width = 0, height = 0;
  ImageList_GetIconSize(ListView_GetImageList(listView, LVSIL_SMALL), &width, &height);
  return height;
}

// From the combo box's top to the bottom of its list when dropped down.
int DroppedHeight(HWND combo) {
  RECT dropped;
  SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  return dropped.bottom - WindowRect(combo).top;
}

int SectionWidth(HWND header, int index) {
  RECT r;
  SendMessageA(header, HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  return r.right - r.left;
}

class DpiChangeTest : public TMainWindowTest {};

TEST_F(DpiChangeTest, MainWindowScalesItsFontsBarsAndLayoutAndComesBack) {
  TFrmMain& form = Open("[StopWatch]\r\nV=1\r\n");
  HWND bottom = form.sBar().Handle(), top = form.SWbar().Handle();
  HWND label = FindChildWithText(top, "Stop Watch");
  const auto expectLayout = [&](int dpi, int fontHeight, int barHeight, std::vector<int> edges,
                                TEdges labelBounds) {
    EXPECT_EQ(FontHeight(bottom), fontHeight);
    EXPECT_EQ(FontHeight(form.VexaMeter1().Handle()), fontHeight);
    EXPECT_EQ(form.VexaMeter1().PixelsPerInch(), dpi);
    RECT client;
    GetClientRect(form.Handle(), &client);
    const RECT bar = BoundsInParent(bottom), graph = BoundsInParent(form.VexaMeter1().Handle());
    EXPECT_EQ(bar.bottom - bar.top, barHeight);
    EXPECT_EQ(bar.bottom, client.bottom);
    EXPECT_EQ(graph.top, barHeight);  // under the stopwatch bar, as high
    EXPECT_EQ(graph.bottom, bar.top);
    edges.push_back(-1);
    EXPECT_EQ(PartEdges(bottom), edges);
    EXPECT_EQ(InParent(label), labelBounds);
  };
  expectLayout(96, -11, 19, {60, 64, 146, 206, 206, 386, 386, 566}, {14, 2, 83, 16});

  const RECT suggested = MoveToDpi(form.Handle(), 96, 144);
  EXPECT_EQ(EdgesOf(WindowRect(form.Handle())), EdgesOf(suggested));
  expectLayout(144, -17, 29, {90, 96, 219, 309, 309, 579, 579, 849}, {21, 3, 125, 24});

  MoveToDpi(form.Handle(), 144, 96);
  expectLayout(96, -11, 19, {60, 64, 146, 206, 206, 386, 386, 566}, {14, 2, 83, 16});
}

// Setup has the header list and the combo boxes, the reports window the list
// views with their columns and rows.
TEST_F(DpiChangeTest, DialogsScaleTheirControlsListsAndFont) {
  MakeDirectory(Dir.Path("data"));
  Dir.Write("data\\46357.dat", "[46357]\r\nHours=86399\r\nRecv=1\r\n");
  TFrmMain& form = Open();
  form.Command(cmSetup);
  form.Command(cmBasicReports);
  ASSERT_TRUE(form.FrmSetup() && form.FrmReport());
  HWND setup = form.FrmSetup()->Handle();
  HWND ok = FindChildWithText(setup, "OK"), combo = FindChild(setup, "ComboBox");
  HWND header = FindChild(setup, WC_HEADERA);
  TPTListView& list = form.FrmReport()->List(rtDaily);
  const int fontHeight = FontHeight(ok), droppedHeight = DroppedHeight(combo);
  const RECT okBounds = BoundsInParent(ok);
  EXPECT_EQ(RowImageHeight(list.Handle()), 19);  // 20, less the border
  PumpMessages(100);
  EXPECT_EQ(CellTextCut(list.Handle(), 0, 4), 0);  // "23:59:59" whole

  MoveToDpi(setup, 96, 144);
  MoveToDpi(form.FrmReport()->Handle(), 96, 144);
  EXPECT_NEAR(FontHeight(ok), fontHeight * 1.5, 1);
  const RECT scaled = BoundsInParent(ok);
  EXPECT_EQ(EdgesOf(scaled),
            (TEdges{MulDiv(okBounds.left, 144, 96), MulDiv(okBounds.top, 144, 96),
                    MulDiv(okBounds.right, 144, 96), MulDiv(okBounds.bottom, 144, 96)}));
  EXPECT_GT(DroppedHeight(combo), droppedHeight * 1.4);
  // The adapter list's columns fit their texts in the new font: the check
  // box and "0", and "0.0.0.0", with the margins.
  EXPECT_EQ(SectionWidth(header, 0), 44);
  EXPECT_EQ(SectionWidth(header, 2), 63);
  EXPECT_EQ(list.ColumnWidth(1), 135);
  EXPECT_EQ(RowImageHeight(list.Handle()), 29);
  PumpMessages(100);
  EXPECT_EQ(CellTextCut(list.Handle(), 0, 4), 0);
}

}  // namespace
