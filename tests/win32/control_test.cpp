// Child controls owned by objects: the parent reflects their notifications
// to them, and they outlive a parent that is destroyed first.
#include "ui/control_win32.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/handle_guards_win32.h"
#include "ui/label_win32.h"
#include "ui/scroll_bar_win32.h"
#include "win32/test_forms_win32.h"

namespace {

class ControlTest : public testing::Test {
 protected:
  TControlArgs Args() {
    TControlArgs args;
    args.Parent = Form->Handle();
    args.Width = 200;
    args.Height = 20;
    return args;
  }
  LRESULT Send(UINT msg, WPARAM wParam, const TControl& from) {
    return SendMessageA(Form->Handle(), msg, wParam, reinterpret_cast<LPARAM>(from.Handle()));
  }

  std::unique_ptr<TTestForm> Form =
      std::make_unique<TTestForm>("TControlTestForm", "Controls", RECT{50, 50, 350, 200});
};

TEST_F(ControlTest, LabelColoursItselfOnlyOnceGivenColours) {
  TLabel plain(Args()), coloured(Args());
  coloured.SetColors(RGB(255, 255, 255), RGB(0, 0, 128));
  const TMemoryDC dc;
  const auto brush = reinterpret_cast<HBRUSH>(
      Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()), coloured));
  LOGBRUSH logBrush{};
  ASSERT_TRUE(GetObjectA(brush, sizeof logBrush, &logBrush));
  EXPECT_EQ(logBrush.lbColor, RGB(0, 0, 128));
  EXPECT_EQ(GetTextColor(dc.Get()), RGB(255, 255, 255));
  // The same background keeps its brush; the plain label gets the system's.
  coloured.SetColors(RGB(0, 0, 0), RGB(0, 0, 128));
  EXPECT_EQ(Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()), coloured),
            reinterpret_cast<LRESULT>(brush));
  EXPECT_NE(Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()), plain),
            reinterpret_cast<LRESULT>(brush));
}

TEST_F(ControlTest, ScrollBarStaysInItsRangeAndReportsOnlyMoves) {
  TScrollBar bar(Args());
  bar.SetMax(100);
  bar.LargeChange = 60;
  int changes = 0;
  bar.OnChange = [&] { ++changes; };
  bar.SetPosition(30);
  Send(WM_HSCROLL, SB_PAGELEFT, bar);
  EXPECT_EQ(bar.Position(), 0);
  Send(WM_HSCROLL, SB_LINELEFT, bar);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(50);
  Send(WM_HSCROLL, SB_PAGERIGHT, bar);
  EXPECT_EQ(bar.Position(), 100);
  EXPECT_EQ(changes, 3);
  Send(WM_HSCROLL, SB_ENDSCROLL, bar);
  EXPECT_EQ(changes, 3);
}

TEST_F(ControlTest, ControlOutlivesTheParentThatTookItsWindow) {
  TLabel label(Args());
  label.OnMouseDown = [] {};
  Form.reset();
  EXPECT_EQ(label.Handle(), nullptr);
  EXPECT_EQ(TControl::FromHandle(nullptr), nullptr);
}

}  // namespace
