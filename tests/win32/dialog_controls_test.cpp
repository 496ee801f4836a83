// The controls the dialogs are built from, worked as a user works them: the
// colour button through the system's colour dialog, the list under its
// section headers with the mouse and the keyboard, the number by typing and
// with its arrows.
#include "ui/control_win32.h"

#include <gtest/gtest.h>

#include <colordlg.h>
#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <tuple>

#include "driver/window_driver_win32.h"
#include "ui/color_button_win32.h"
#include "ui/force_foreground_win32.h"
#include "ui/handle_guards_win32.h"
#include "ui/header_listbox_win32.h"
#include "ui/spin_edit_win32.h"
#include "win32/test_forms_win32.h"

namespace {

constexpr uint32_t kSystemColor = 0x80000000;

// Selects the whole text and types over it.
void TypeOver(HWND edit, const std::string& keys) {
  SendMessageA(edit, EM_SETSEL, 0, -1);
  for (const char key : keys) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(key), 1);
}

// Clicks the colour dialog's custom colour in row 1 (of 2), column 2 (of 8):
// the eleventh.
void ClickEleventhCustomColor(HWND dialog) {
  HWND colors = GetDlgItem(dialog, COLOR_CUSTOM1);
  RECT area;
  GetClientRect(colors, &area);
  POINT at{9 * area.right / 32, 5 * area.bottom / 8};
  MapWindowPoints(colors, dialog, &at, 1);
  PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

// "Text width" of each header section, joined by "|".
std::string SectionsOf(HWND header) {
  std::string sections;
  for (int i = 0; i < SendMessageA(header, HDM_GETITEMCOUNT, 0, 0); ++i) {
    char text[64] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    sections += (i ? "|" : "") + std::string(text) + " " + std::to_string(item.cxy);
  }
  return sections;
}

// The pixels of the client area that are not the background.
int InkIn(HWND window, RECT area, COLORREF background) {
  const TWindowDC dc(window);
  int ink = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) ink += GetPixel(dc.Get(), x, y) != background;
  return ink;
}

class DialogControlsTest : public testing::Test {
 protected:
  TControlArgs Args(int left, int top, int width, int height) const {
    TControlArgs args;
    args.Parent = Form.Handle();
    args.Left = left;
    args.Top = top;
    args.Width = width;
    args.Height = height;
    args.Font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return args;
  }

  // Clicks the button and answers the colour dialog from a second thread, as
  // a user would while the dialog runs its own message loop here.
  static void ClickAndAnswer(const TColorButton& button, const std::function<void(HWND)>& answer) {
    std::thread user([&] {
      if (HWND dialog = WaitForWindow({"", "#32770", GetCurrentProcessId()}, 10000)) {
        answer(dialog);
        if (!WaitUntilGone(dialog, 5000)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      }
    });
    SendMessageA(button.Handle(), BM_CLICK, 0, 0);
    user.join();
  }

  TTestForm Form{"TDialogControlsTestForm", "Controls", RECT{50, 50, 450, 350}};
};

TEST_F(DialogControlsTest, ColorButtonTakesOnlyAnotherColourChosenInTheDialog) {
  TColorButton button(Args(10, 10, 75, 25));
  button.SetColor(kSystemColor | COLOR_HIGHLIGHT);
  for (int i = 0; i < 11; ++i) button.CustomColors[i] = RGB(20 * i, 100, 200);
  int changes = 0;
  button.OnColorChange = [&] { ++changes; };

  ClickAndAnswer(button, [](HWND dialog) {
    ClickEleventhCustomColor(dialog);
    PressButton(dialog, "Cancel");
  });
  // OK on the colour the dialog starts at: the button's, resolved.
  ClickAndAnswer(button, [](HWND dialog) { PressButton(dialog, "OK"); });
  EXPECT_EQ(button.Color(), kSystemColor | COLOR_HIGHLIGHT);
  EXPECT_EQ(changes, 0);

  ClickAndAnswer(button, [](HWND dialog) {
    ClickEleventhCustomColor(dialog);
    PressButton(dialog, "OK");
  });
  EXPECT_EQ(button.Color(), RGB(200, 100, 200));
  EXPECT_EQ(changes, 1);
}

TEST_F(DialogControlsTest, HeaderListboxKeepsItsSectionsAndRowsInItsBounds) {
  int object = 0;
  THeaderListbox list(Args(10, 10, 300, 150), {{"Date", 80}, {"Time", 60}, {"Note", 0, true}});
  HWND header = FindChild(Form.Handle(), "SysHeader32");
  // A drag on a divider leaves the sections as they are.
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 5));
  SendMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 5));
  SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(120, 5));
  // The last section ends before the vertical scroll bar.
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(SectionsOf(header), "Date 80|Time 60|Note " + std::to_string(160 - bar));
  list.Add("1.2.\t10:00\tfirst", nullptr);
  EXPECT_EQ(list.Add("2.2.\t11:30", &object), 1);
  EXPECT_EQ(std::tuple(list.Count(), list.Text(0), list.Object(1), list.ItemIndex()),
            std::tuple(2, "1.2.\t10:00\tfirst", &object, -1));

  // The header on top, the list below; the last section takes the rest.
  list.SetBounds(20, 30, 400, 200);
  RECT top{}, bottom{};
  GetWindowRect(header, &top);
  GetWindowRect(list.Handle(), &bottom);
  EXPECT_EQ(std::tuple(top.right - top.left, top.bottom, bottom.right - bottom.left),
            std::tuple(400, bottom.top, 400));
  EXPECT_EQ(bottom.bottom - top.top, 200);
  EXPECT_EQ(SectionsOf(header), "Date 80|Time 60|Note " + std::to_string(260 - bar));
  list.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(header));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(DialogControlsTest, HeaderListboxReportsTheUsersSelectionsOnly) {
  int objects[3] = {};
  THeaderListbox list(Args(10, 10, 300, 150), {{"Name", 100}, {"Note", 0, true}});
  for (int& object : objects) list.Add("row\tnote", &object);
  int clicks = 0;
  list.OnClick = [&] { ++clicks; };
  list.SetItemIndex(1);

  ASSERT_TRUE(ForceForegroundWindow(Form.Handle(), false));
  const auto h = static_cast<int>(SendMessageA(list.Handle(), LB_GETITEMHEIGHT, 0, 0));
  ClickAt(list.Handle(), {20, 2 * h + h / 2});
  EXPECT_EQ(list.Object(list.ItemIndex()), &objects[2]);
  SendMessageA(list.Handle(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_EQ(clicks, 2);

  list.SetEnabled(false);
  ClickAt(list.Handle(), {20, h / 2});
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_EQ(clicks, 2);
}

// With the focus the list shows it: a focus rectangle (dots along a row's
// top edge) on the first row while none is selected, then the selected row
// in the highlight colour; without the focus, the selection is in the
// button face's colour.
TEST_F(DialogControlsTest, HeaderListboxShowsWhetherItHasTheFocus) {
  THeaderListbox list(Args(10, 10, 300, 150), {{"Name", 100}, {"Note", 0, true}});
  list.Add("first", nullptr);
  list.Add("second", nullptr);
  ASSERT_TRUE(ForceForegroundWindow(Form.Handle(), false));
  const auto h = static_cast<int>(SendMessageA(list.Handle(), LB_GETITEMHEIGHT, 0, 0));
  SetFocus(list.Handle());
  PumpMessages(100);
  EXPECT_GT(InkIn(list.Handle(), {0, 0, 250, 1}, GetSysColor(COLOR_WINDOW)), 50);
  list.SetItemIndex(1);
  PumpMessages(100);
  EXPECT_GT(InkIn(list.Handle(), {0, h, 250, h + 1}, GetSysColor(COLOR_HIGHLIGHT)), 50);
  EXPECT_EQ(InkIn(list.Handle(), {100, h + 2, 250, 2 * h - 2}, GetSysColor(COLOR_HIGHLIGHT)), 0);
  SetFocus(Form.Handle());
  PumpMessages(100);
  EXPECT_EQ(InkIn(list.Handle(), {0, h, 250, h + 1}, GetSysColor(COLOR_BTNFACE)), 0);
}

TEST_F(DialogControlsTest, SpinEditKeepsTheUsersNumberWithinItsLimits) {
  TSpinEdit spin(Args(10, 10, 80, 21), 5, 7);
  int changes = 0;
  spin.OnChange = [&] { ++changes; };
  HWND arrows = FindChild(Form.Handle(), UPDOWN_CLASSA);
  RECT r;
  GetClientRect(arrows, &r);
  const LPARAM downArrow = MAKELPARAM(r.right / 2, r.bottom * 3 / 4);

  SetFocus(spin.Handle());
  TypeOver(spin.Handle(), "90x");  // no letters
  EXPECT_EQ(std::tuple(WindowText(spin.Handle()), spin.Value()), std::tuple("90", 7));
  SetFocus(Form.Handle());
  EXPECT_EQ(WindowText(spin.Handle()), "7");
  TypeOver(spin.Handle(), "\b");
  EXPECT_EQ(spin.Value(), 5);
  EXPECT_EQ(changes, 3);

  // The up key steps from the minimum an empty text reads as, up to the
  // maximum; the down arrow back to the minimum.
  for (int i = 0; i < 3; ++i) SendMessageA(spin.Handle(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(spin.Value(), 7);
  for (int i = 0; i < 3; ++i) {
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, downArrow);
    SendMessageA(arrows, WM_LBUTTONUP, 0, downArrow);
  }
  EXPECT_EQ(spin.Value(), 5);
  EXPECT_EQ(changes, 7);

  spin.SetValue(100);
  EXPECT_EQ(WindowText(spin.Handle()), "7");
  EXPECT_EQ(changes, 7);
  spin.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(arrows));
}

// The three together, saved for the eye as dialog_controls.bmp in the folder
// TALLYLINE_SCREENSHOTS names.
TEST_F(DialogControlsTest, TheThreeControlsDrawTheirState) {
  TColorButton color(Args(12, 12, 75, 25));
  color.SetColor(kSystemColor | COLOR_HIGHLIGHT);
  TSpinEdit spin(Args(100, 14, 60, 21), 0, 999);
  spin.SetValue(42);
  TControlArgs bordered = Args(12, 50, 360, 150);
  bordered.ExStyle = WS_EX_CLIENTEDGE;
  THeaderListbox list(bordered, {{"Date", 80}, {"Time", 60}, {"Note", 0, true}});
  list.SetListColor(kSystemColor | COLOR_BTNFACE);
  list.Add("1.12.2026, a Tuesday\t\tthe date is clipped at its column", nullptr);
  list.Add("\t11:30\tno date", nullptr);
  list.Add("3.12.2026\t12:45\tselected", nullptr);
  list.SetItemIndex(2);
  ForceForegroundWindow(Form.Handle(), false);
  PumpMessages(300);

  // Inside the swatch's frame, the system colour resolved.
  EXPECT_EQ(InkIn(color.Handle(), {20, 10, 55, 15}, GetSysColor(COLOR_HIGHLIGHT)), 0);
  // Each field in its section's column, clipped there, on the list's colour
  // (also below the rows).
  const COLORREF back = GetSysColor(COLOR_BTNFACE);
  const auto h = static_cast<int>(SendMessageA(list.Handle(), LB_GETITEMHEIGHT, 0, 0));
  EXPECT_GT(InkIn(list.Handle(), {0, 0, 70, h}, back), 0);
  EXPECT_EQ(InkIn(list.Handle(), {80, 0, 140, h}, back), 0);
  EXPECT_EQ(InkIn(list.Handle(), {0, h, 70, 2 * h}, back), 0);
  EXPECT_GT(InkIn(list.Handle(), {80, h, 140, 2 * h}, back), 0);
  EXPECT_EQ(InkIn(list.Handle(), {0, 3 * h, 300, 4 * h}, back), 0);
  if (const char* folder = std::getenv("TALLYLINE_SCREENSHOTS")) {
    EXPECT_TRUE(SaveScreenshot(Form.Handle(), std::string("Z:") + folder + "/dialog_controls.bmp"));
  }
}

}  // namespace
