// The about box as the user meets it: opened over the application window,
// closed by its button and its keys, its links clicked.
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
#include "win32/test_forms_win32.h"

namespace {

class FrmAboutTest : public testing::Test {
 protected:
  TFrmAbout& Open() {
    Box = std::make_unique<TFrmAbout>(TApplication::Instance().Handle());
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
  }

  std::unique_ptr<TFrmAbout> Box;
  int Closed = 0;
};

TEST_F(FrmAboutTest, OpensOverItsOwnerAndCloseClosesIt) {
  HWND box = Open().Handle();
  EXPECT_EQ(Box->Caption(), "About Tallyline");
  EXPECT_TRUE(IsWindowVisible(box));
  EXPECT_EQ(GetWindow(box, GW_OWNER), TApplication::Instance().Handle());
  // Nothing is cut off: every control lies inside the box.
  RECT client;
  GetClientRect(box, &client);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
        << WindowText(child);
  }
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
// lies beside the program, and opens that file.
TEST_F(FrmAboutTest, ShowsTheVersionAndLinksToTheLicenceShippedBesideIt) {
  const std::string licence = ExeFolder() + "LICENSE.txt";
  for (const bool shipped : {false, true}) {
    if (shipped) std::fclose(std::fopen(licence.c_str(), "w"));
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
    EXPECT_EQ(opened, shipped ? std::vector<std::string>{licence} : std::vector<std::string>{});
    Box.reset();
    PumpMessages();
  }
  std::remove(licence.c_str());
}

}  // namespace
