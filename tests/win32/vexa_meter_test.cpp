// The graph control in a window of this process, driven by real messages.
#include "controls/vexa_meter_win32.h"

#include <gtest/gtest.h>

#include <vector>

#include "controls/meter_painter.h"
#include "driver/window_driver_win32.h"
#include "ui/application_win32.h"
#include "ui/force_foreground_win32.h"
#include "unit/meter_test_support.h"
#include "win32/test_forms_win32.h"

namespace {

// The window that holds the graph in these tests.
class THost : public TTestForm {
 public:
  THost() : TTestForm("TMeterTestHost", "Meter test", {60, 60, 520, 360}) {}
};

HWND FindHint() {
  for (HWND window : FindTopWindows({"", "THintWindow", GetCurrentProcessId()}))
    if (IsWindowVisible(window)) return window;
  return nullptr;
}

HCURSOR CursorAfterSetCursor(HWND window) {
  SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor();
}

class VexaMeterTest : public testing::Test {
 protected:
  VexaMeterTest() {
    ForceForegroundWindow(Host.Handle(), false);
    Meter->SetScale(sInteger);
    Meter->SetGridColor(0x808080);
    Meter->SetTextColor(0x000080);
    Meter->SetGraphBackgroundColor(0xFFFFFF);
    for (int i = 0; i < 500; ++i) Meter->AddValues(i * 37 % 1000, i * 11 % 400);
    PumpMessages(50);
  }
  // The client point of a sample in the middle of the plot, and the mouse
  // moved there as the system would.
  POINT MoveToSample(int dx = 0) {
    const TRect& plot = Meter->PlotRect();
    POINT at{(plot.Left + plot.Right) / 2 + dx, (plot.Top + plot.Bottom) / 2};
    POINT screen = at;
    ClientToScreen(Meter->Handle(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageA(Meter->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    return at;
  }

  static TVexaMeterArgs Placed(HWND parent) {
    TVexaMeterArgs args;
    args.Parent = parent;
    args.Left = args.Top = 10;
    args.Width = 420;
    args.Height = 230;
    return args;
  }

  THost Host;
  std::unique_ptr<TVexaMeter> Meter = std::make_unique<TVexaMeter>(Placed(Host.Handle()));
};

class VexaMeterPaintTest : public VexaMeterTest, public testing::WithParamInterface<int> {};

// What reaches the screen is what the painter drew, erase or not, and stays
// so while appends scroll the picture and when a part of it is uncovered:
// dotted lines at three pixels a sample, time lines and their labels.
TEST_P(VexaMeterPaintTest, WindowShowsThePaintersPixels) {
  Meter->SetAntiAlias(static_cast<uint8_t>(GetParam()));
  Meter->SetSolid(GetParam() > 0);
  Meter->SetGridStyle(gDotted);
  Meter->SetHScale(3);
  Meter->SetVLine(true);
  Meter->SetShowVScale(true);
  Meter->SetVPos(50);
  RedrawWindow(Meter->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  for (int i = 0; i < 150; ++i) Meter->AddValues(i * 53 % 1500, i * 7 % 300);

  RECT client;
  GetClientRect(Meter->Handle(), &client);
  TGdiCanvas screen, main, super;
  screen.SetSize(client.right, client.bottom);
  main.SetFont(Meter->Font());
  ASSERT_TRUE(PaintMeter(*Meter, main, super, client.right, client.bottom));
  const auto expectShown = [&](const char* when) {
    const TWindowDC window(Meter->Handle());
    BitBlt(screen.Dc(), 0, 0, client.right, client.bottom, window.Get(), 0, 0, SRCCOPY);
    const std::optional<TPoint> at = FirstDifference(screen, main);
    EXPECT_FALSE(at) << when << " at " << at->X << ", " << at->Y;
  };
  expectShown("scrolled");
  // Another window uncovers a part of the graph that the back buffer last
  // held before the scrolls.
  const TRect& plot = Meter->PlotRect();
  const RECT uncovered{plot.Left + 30, plot.Top + 10, plot.Left + 130, plot.Bottom - 10};
  InvalidateRect(Meter->Handle(), &uncovered, FALSE);
  UpdateWindow(Meter->Handle());
  expectShown("uncovered");
  // Not a blank window: the frame, the plot and the series are there.
  EXPECT_EQ(screen.Pixels().Rgb(plot.Left - 1, plot.Top + 5), 0u);
  int blue = 0;
  for (int x = plot.Left; x < plot.Right; ++x)
    for (int y = plot.Top; y < plot.Bottom; ++y) blue += (screen.Pixels().Rgb(x, y) >> 16) > 0xC0;
  EXPECT_GT(blue, plot.Right - plot.Left);
}

INSTANTIATE_TEST_SUITE_P(AntiAlias, VexaMeterPaintTest, testing::Values(0, 3));

TEST_F(VexaMeterTest, HintShowsTheHandlersTextAfterHalfASecond) {
  ASSERT_TRUE(TApplication::Instance().Active());
  Meter->OnFormatHint = [](const THistoryData& phd, std::string& s) {
    s = "D/L: " + std::to_string(phd.Value1);
  };
  const POINT at = MoveToSample();
  const int32_t sample = Meter->HitTest(at.x, at.y);
  ASSERT_GE(sample, 0);
  const std::string expected = "D/L: " + std::to_string(Meter->Sample(sample).Value1);
  PumpMessages(300);
  EXPECT_EQ(FindHint(), nullptr);
  PumpMessages(700);
  HWND hint = FindHint();
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(WindowText(hint), expected);
  POINT screen = at;
  ClientToScreen(Meter->Handle(), &screen);
  RECT r;
  GetWindowRect(hint, &r);
  EXPECT_EQ(r.left, screen.x);
  EXPECT_EQ(r.top, screen.y + 6);
  {
    const TWindowDC dc(hint);
    EXPECT_EQ(GetPixel(dc.Get(), 1, 1), GetSysColor(COLOR_INFOBK));
  }
  EXPECT_EQ(CursorAfterSetCursor(Meter->Handle()), LoadCursorA(nullptr, IDC_CROSS));

  // While it shows, the next sample's hint follows at once.
  const POINT next = MoveToSample(7);
  const int32_t nextSample = Meter->HitTest(next.x, next.y);
  ASSERT_NE(nextSample, sample);
  EXPECT_EQ(WindowText(FindHint()), "D/L: " + std::to_string(Meter->Sample(nextSample).Value1));

  // Off the samples the hint goes at once.
  SendMessageA(Meter->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, next.y));
  EXPECT_EQ(FindHint(), nullptr);
  EXPECT_EQ(CursorAfterSetCursor(Meter->Handle()), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(VexaMeterTest, EmptyHintTextShowsNoHint) {
  int calls = 0;
  Meter->OnFormatHint = [&calls](const THistoryData&, std::string&) { ++calls; };
  MoveToSample();
  PumpMessages(900);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(FindHint(), nullptr);
  EXPECT_EQ(CursorAfterSetCursor(Meter->Handle()), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(VexaMeterTest, LeavingOrDestroyingTakesTheHintAway) {
  Meter->OnFormatHint = [](const THistoryData&, std::string& s) { s = "hint"; };
  MoveToSample();
  PumpMessages(900);
  ASSERT_NE(FindHint(), nullptr);
  SendMessageA(Meter->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(FindHint(), nullptr);
  MoveToSample(3);
  PumpMessages(900);
  ASSERT_NE(FindHint(), nullptr);
  Meter.reset();
  EXPECT_EQ(FindHint(), nullptr);
}

TEST_F(VexaMeterTest, ClicksReachTheOwner) {
  std::vector<std::string> events;
  Meter->OnClick = [&] { events.push_back("click"); };
  Meter->OnDblClick = [&] { events.push_back("double"); };
  Meter->OnMouseDown = [&](TMouseButton button, int x, int y) {
    events.push_back("down " + std::to_string(button) + " " + std::to_string(x) + "," +
                     std::to_string(y));
  };
  HWND window = Meter->Handle();
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 30));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(21, 31));
  SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 30));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 30));
  // Released outside the control: no click.
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 30));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(-5, 30));
  SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6));
  EXPECT_EQ(events, (std::vector<std::string>{"down 0 20,30", "click", "double", "down 0 20,30",
                                              "down 0 20,30", "down 1 5,6"}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(VexaMeterTest, FontSetsTheLabelRoom) {
  const int smallTop = Meter->PlotRect().Top;
  HFONT big = CreateFontA(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  SendMessageA(Meter->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Meter->Handle(), WM_GETFONT, 0, 0)), big);
  EXPECT_GT(Meter->PlotRect().Top, smallTop + 4);
  Meter->SetFont(nullptr);
  EXPECT_EQ(Meter->PlotRect().Top, smallTop);
  DeleteObject(big);
}

}  // namespace
