// The about box as the user meets it: opened over the application window,
// closed by its button and its keys, its links clicked or reached with Tab
// and opened by their keys.
#include "setup/frm_about_win32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/product.h"
#include "driver/window_driver_win32.h"
#include "platform/files.h"
#include "ui/application_win32.h"
#include "ui/force_foreground_win32.h"
#include "ui/handle_guards_win32.h"
#include "win32/test_forms_win32.h"
#include "win32/typing_win32.h"

namespace {

// Every control lies inside the box: nothing is cut off.
void ExpectInside(HWND box) {
  RECT client;
  GetClientRect(box, &client);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
        << WindowText(child);
  }
}

// The pixels along a control's top edge that are not the button face's: the
// dots of a focus rectangle.
int FocusDots(HWND control) {
  const TWindowDC dc(control);
  RECT r;
  GetClientRect(control, &r);
  int dots = 0;
  for (LONG x = 0; x < r.right; ++x) dots += GetPixel(dc.Get(), x, 0) != GetSysColor(COLOR_BTNFACE);
  return dots;
}

class FrmAboutTest : public testing::Test {
 protected:
  TFrmAbout& Open(const std::string& webAddress = kAppWebAddress) {
    Box = std::make_unique<TFrmAbout>(TApplication::Instance().Handle(), webAddress);
    Box->OnClosed = [this] { ++Closed; };
    PumpMessages();
    return *Box;
  }

  // A key as the program's loop hands it on: to the dialogs first.
  void PressDialogKey(WPARAM key) {
    MSG msg{};
    msg.hwnd = Box->Handle();
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    TApplication::Instance().DialogMessage(msg);
    PumpMessages();
  }

  void TearDown() override {
    Box.reset();
    PumpMessages();
    std::remove(Licence.c_str());
  }

  const std::string Licence = ExeFolder() + "LICENSE.txt";
  std::unique_ptr<TFrmAbout> Box;
  int Closed = 0;
};

TEST_F(FrmAboutTest, OpensOverItsOwnerAndCloseClosesIt) {
  HWND box = Open().Handle();
  EXPECT_EQ(Box->Caption(), "About Tallyline");
  EXPECT_TRUE(IsWindowVisible(box));
  EXPECT_EQ(GetWindow(box, GW_OWNER), TApplication::Instance().Handle());
  ExpectInside(box);
  if (const char* folder = std::getenv("TALLYLINE_SCREENSHOTS")) {
    PumpMessages(300);
    EXPECT_TRUE(SaveScreenshot(box, std::string("Z:") + folder + "/about_box.bmp"));
  }

  ASSERT_TRUE(PressButton(box, "Close"));
  PumpMessages();
  EXPECT_EQ(Closed, 1);
  EXPECT_FALSE(IsWindow(box));
}

TEST_F(FrmAboutTest, EnterAndEscCloseIt) {
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    HWND box = Open().Handle();
    PressDialogKey(key);
    EXPECT_FALSE(IsWindow(box)) << "key " << key;
  }
  EXPECT_EQ(Closed, 2);
}

// The version and the licence; the licence is a link only where its text
// lies beside the program, and opens that file. Without a web address there
// is no line for it: Tab goes from the licence on to Close.
TEST_F(FrmAboutTest, ShowsTheVersionAndLinksToTheLicenceShippedBesideIt) {
  for (const bool shipped : {false, true}) {
    if (shipped) std::fclose(std::fopen(Licence.c_str(), "w"));
    TFrmAbout& box = Open();
    EXPECT_NE(FindChildWithText(box.Handle(), std::string("Version ") + kAppVersion), nullptr);
    EXPECT_EQ(WindowText(box.Label5().Handle()), "MIT licence");
    std::vector<std::string> opened;
    box.OpenAddress = [&](const std::string& path) { opened.push_back(path); };
    const HWND link = box.Label5().Handle();
    SetCursor(nullptr);
    SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, 0));
    EXPECT_EQ(GetCursor() == LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)), shipped);
    PostMessageA(link, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));  // not a click
    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    PumpMessages();
    EXPECT_EQ(opened, shipped ? std::vector<std::string>{Licence} : std::vector<std::string>{});
    EXPECT_EQ(GetNextDlgTabItem(box.Handle(), link, FALSE),
              FindChildWithText(box.Handle(), "Close"));
    Box.reset();
    PumpMessages();
  }
}

// From Close, Tab goes to the licence, then to the web address (the box
// widened to show it whole), and back; the link with the focus shows it,
// and Enter or Space opens it.
TEST_F(FrmAboutTest, TabReachesTheLinksAndEnterOrSpaceOpensThem) {
  std::fclose(std::fopen(Licence.c_str(), "w"));
  const std::string web = "https://tallyline.example.org/downloads/latest";
  TFrmAbout& box = Open(web);
  ExpectInside(box.Handle());
  std::vector<std::string> opened;
  box.OpenAddress = [&](const std::string& path) { opened.push_back(path); };
  ASSERT_TRUE(ForceForegroundWindow(box.Handle(), false));
  PumpMessages(100);
  const HWND close = FindChildWithText(box.Handle(), "Close");
  const HWND licence = box.Label5().Handle(), address = FindChildWithText(box.Handle(), web);
  ASSERT_EQ(GetFocus(), close);

  Press(VK_TAB);
  ASSERT_EQ(GetFocus(), licence);
  PumpMessages(100);
  EXPECT_GT(FocusDots(licence), 0);
  if (const char* folder = std::getenv("TALLYLINE_SCREENSHOTS"))
    SaveScreenshot(box.Handle(), std::string("Z:") + folder + "/about_keys.bmp");
  Press(VK_RETURN);
  Press(VK_SPACE);
  EXPECT_EQ(opened, (std::vector<std::string>{Licence, Licence}));
  EXPECT_EQ(Closed, 0);

  Press(VK_TAB);
  ASSERT_EQ(GetFocus(), address);
  PumpMessages(100);
  EXPECT_EQ(FocusDots(licence), 0);
  EXPECT_GT(FocusDots(address), 0);
  Press(VK_RETURN);
  EXPECT_EQ(opened.back(), web);

  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), close);
}

}  // namespace
