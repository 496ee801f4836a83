// The tray icon against Wine's real shell, on the real application window.
#include "controls/vexa_tray_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "driver/window_driver_win32.h"
#include "ui/application_win32.h"
#include "ui/force_foreground_win32.h"
#include "ui/form_win32.h"
#include "ui/handle_guards_win32.h"
#include "win32/test_forms_win32.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

// What one call told the shell.
struct TShellCall {
  DWORD Message;
  DWORD Size;
  UINT Flags;
  UINT CallbackMessage;
  COLORREF Colour;  // of the icon's middle pixel
  std::string Tip;
};

COLORREF IconColour(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return CLR_INVALID;
  TGdiObject<HBITMAP> colour(info.hbmColor), mask(info.hbmMask);
  TMemoryDC dc;
  TSelection selection(dc.Get(), colour.Get());
  return GetPixel(dc.Get(), 8, 8);
}

struct TImageListDeleter {
  void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
using TImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, TImageListDeleter>;

// Three plain images: red, green, blue.
TImageList MakeImages() {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24, 3, 0);
  TWindowDC screen(nullptr);
  for (COLORREF colour : {kRed, kGreen, kBlue}) {
    TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 16, 16));
    TGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    TMemoryDC dc;
    TSelection selection(dc.Get(), bitmap.Get());
    const RECT r{0, 0, 16, 16};
    FillRect(dc.Get(), &r, brush.Get());
    selection = TSelection();
    ImageList_Add(list, bitmap.Get(), nullptr);
  }
  return TImageList(list);
}

// Where the colour shows inside r on the screen; empty when it does not.
RECT FindOnScreen(COLORREF colour, const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
  void* bits = nullptr;
  TWindowDC screen(nullptr);
  TGdiObject<HBITMAP> bitmap(
      CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  TMemoryDC dc;
  TSelection selection(dc.Get(), bitmap.Get());
  BitBlt(dc.Get(), 0, 0, width, height, screen.Get(), r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const uint32_t*>(bits);
  const uint32_t wanted = GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
  RECT found{};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if ((pixels[y * width + x] & 0xFFFFFF) == wanted) {
        const RECT pixel{r.left + x, r.top + y, r.left + x + 1, r.top + y + 1};
        UnionRect(&found, &found, &pixel);
      }
  return found;
}

// Runs the action once from whatever message loop runs after delayMs.
std::function<void()> gLater;
void CALLBACK RunLaterTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  std::exchange(gLater, nullptr)();
}
void RunLater(DWORD delayMs, std::function<void()> action) {
  gLater = std::move(action);
  SetTimer(nullptr, 0, delayMs, RunLaterTimer);
}

class TOwnerForm : public TTestForm {
 public:
  TOwnerForm()
      : TTestForm("TTrayOwnerForm", "tray owner", {200, 150, 500, 350},
                  TApplication::Instance().Handle()) {}
};

class VexaTrayTest : public testing::Test {
 protected:
  VexaTrayTest() {
    Tray->ShellNotify = [this](DWORD message, NOTIFYICONDATAA* data) {
      Calls.push_back({message, data->cbSize, data->uFlags, data->uCallbackMessage,
                       IconColour(data->hIcon), data->szTip});
      return !(RefuseAdd && message == NIM_ADD) && Shell_NotifyIconA(message, data);
    };
    Tray->SetImageList(Images.get());
    Tray->SetDisplayMode(dmImageList);
    Tray->ID = 7;
  }

  ~VexaTrayTest() override {
    Tray.reset();
    ToShell(NIM_DELETE);  // whatever a failed test left there
    if (IsIconic(App)) ShowWindow(App, SW_RESTORE);
    ShowWindow(App, SW_SHOWNOACTIVATE);
    PumpMessages(0);
  }

  // Asked of the shell itself: a record it knows can be modified.
  bool ShellHasIcon() { return ToShell(NIM_MODIFY); }
  // As a restarted shell would.
  void ShellForgetsIcon() { ASSERT_TRUE(ToShell(NIM_DELETE)); }
  bool ToShell(DWORD message) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = App;
    data.uID = 7;
    return Shell_NotifyIconA(message, &data);
  }

  void TrayMouse(UINT mouseMessage) { SendMessageA(App, WM_TRAYNOTIFY, 7, mouseMessage); }
  // A click as a shell that took the icon's version reports it: the mouse
  // message, then the one that also stands for the keyboard.
  void TrayClick(UINT mouseMessage, UINT alsoFromKeys) {
    TrayMouse(mouseMessage);
    TrayMouse(alsoFromKeys);
  }

  HWND App = TApplication::Instance().Handle();
  TImageList Images = MakeImages();
  TOwnerForm Owner;
  std::vector<TShellCall> Calls;
  bool RefuseAdd = false;
  std::unique_ptr<TVexaTray> Tray = std::make_unique<TVexaTray>(Owner.Handle());
};

TEST(VexaTrayRecordTest, SizeFollowsTheShellVersion) {
  const struct {
    int Version;
    bool Replacement;
    int Size;
  } cases[] = {{600, false, 504}, {601, false, 488}, {500, false, 488},
               {499, false, 88},  {400, false, 88},  {600, true, 88}};
  for (const auto& c : cases)
    EXPECT_EQ(NotifyIconRecordSize(c.Version, c.Replacement), c.Size) << c.Version;
}

TEST_F(VexaTrayTest, AddsModifiesAndRemovesThroughTheShell) {
  Tray->SetToolTip("Tallyline");
  Tray->SetEnabled(true);
  ASSERT_TRUE(Tray->InTray());
  EXPECT_TRUE(ShellHasIcon());
  const int size = NotifyIconRecordSize(ShellVersion(), false);
  EXPECT_EQ(Tray->RecordSize(), size);
  ASSERT_GE(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].Message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(Calls[0].Size, static_cast<DWORD>(size));
  EXPECT_EQ(Calls[0].Flags, 7u);
  EXPECT_EQ(Calls[0].CallbackMessage, 28032u);
  EXPECT_EQ(Calls[0].Colour, kRed);
  EXPECT_EQ(Calls[0].Tip, "Tallyline");
  EXPECT_EQ(Calls.size(), size == 88 ? 1u : 2u);  // and NIM_SETVERSION

  Tray->SetImageIndex(1);
  EXPECT_EQ(Calls.back().Message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(Calls.back().Colour, kGreen);

  // The removal waits for a change of mind.
  Tray->SetEnabled(false);
  bool waiting = false;
  RunLater(100, [&] { waiting = Tray->InTray(); });
  PumpMessages(300);
  EXPECT_TRUE(waiting);
  EXPECT_FALSE(Tray->InTray());
  EXPECT_FALSE(ShellHasIcon());
}

TEST_F(VexaTrayTest, EnabledAgainWithinTheRemovalWindowKeepsTheIcon) {
  const std::function<void()> enableAgain[] = {
      [&] { Tray->SetEnabled(true); },                         // before the removal starts waiting
      [&] { RunLater(50, [&] { Tray->SetEnabled(true); }); },  // while it waits
  };
  for (const auto& again : enableAgain) {
    Tray->SetEnabled(true);
    Tray->SetEnabled(false);
    again();
    PumpMessages(300);
    EXPECT_TRUE(Tray->Enabled());
    EXPECT_TRUE(Tray->InTray());
    EXPECT_TRUE(ShellHasIcon());
  }
}

TEST_F(VexaTrayTest, DestroyedWhileTheRemovalWaitsIsLeftAlone) {
  bool gone = false;
  int handledAfterwards = 0;
  Tray->OnMessage = [&](UINT, WPARAM, LPARAM, LRESULT&) { handledAfterwards += gone; };
  Tray->SetEnabled(true);
  Tray->SetEnabled(false);
  RunLater(50, [&] {
    Tray.reset();
    gone = true;
  });
  PumpMessages(300);
  EXPECT_EQ(handledAfterwards, 0);
  EXPECT_FALSE(ShellHasIcon());
}

TEST_F(VexaTrayTest, RefusedAddsAndLostIcons) {
  RefuseAdd = true;
  Tray->SetEnabled(true);
  EXPECT_FALSE(Tray->Enabled());
  RefuseAdd = false;
  Tray->SetEnabled(true);
  ShellForgetsIcon();
  Calls.clear();
  EXPECT_TRUE(Tray->UpdateIcon());  // an add in place of the modify
  EXPECT_TRUE(ShellHasIcon());
  ASSERT_GE(Calls.size(), 2u);
  EXPECT_EQ(Calls[1].Message, static_cast<DWORD>(NIM_ADD));
}

TEST_F(VexaTrayTest, TaskbarCreatedPutsBackTheCurrentImageAndTip) {
  Tray->SetEnabled(true);
  Tray->SetImageIndex(2);
  Tray->SetToolTip("Tallyline\rD/L: 1.50 MB");
  ShellForgetsIcon();

  SendMessageA(App, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(ShellHasIcon());
  EXPECT_TRUE(Tray->InTray());
  const auto add = std::find_if(Calls.rbegin(), Calls.rend(),
                                [](const TShellCall& c) { return c.Message == NIM_ADD; });
  ASSERT_NE(add, Calls.rend());
  EXPECT_EQ(add->Colour, kBlue);
  EXPECT_EQ(add->Tip, "Tallyline\rD/L: 1.50 MB");
}

TEST_F(VexaTrayTest, ANewTipReachesTheShellAtTheNextMouseOverOrUpdate) {
  Tray->SetEnabled(true);
  const std::string seventy(70, 'x');
  Tray->SetToolTip(seventy);
  EXPECT_EQ(Tray->ToolTip(), std::string(62, 'x') + "..");
  EXPECT_EQ(Tray->ShownTip(), "");
  POINT seen{};
  Tray->OnMouseMove = [&](int x, int y) { seen = {x, y}; };
  SetCursorPos(40, 30);
  const size_t before = Calls.size();
  TrayMouse(WM_MOUSEMOVE);
  EXPECT_EQ(seen.x, 40);
  EXPECT_EQ(seen.y, 30);
  ASSERT_EQ(Calls.size(), before + 1);
  EXPECT_EQ(Calls.back().Tip, Tray->ToolTip());
  EXPECT_EQ(Tray->ShownTip(), Tray->ToolTip());
  TrayMouse(WM_MOUSEMOVE);  // nothing new to say
  EXPECT_EQ(Calls.size(), before + 1);

  Tray->SetToolTip("");
  Tray->SetImageIndex(1);
  EXPECT_EQ(Calls.back().Tip, "");
}

TEST_F(VexaTrayTest, MinimizeToTrayAndRestore) {
  RECT bounds;
  GetWindowRect(Owner.Handle(), &bounds);
  int minimized = 0, restored = 0;
  bool canRestore = false;
  Tray->OnMinimize = [&] { ++minimized; };
  Tray->OnRestore = [&] { ++restored; };
  Tray->OnCanRestore = [&] { return canRestore; };

  Tray->MinimizeToTray();
  EXPECT_TRUE(Tray->Minimized());
  EXPECT_TRUE(Tray->Enabled());
  EXPECT_FALSE(IsWindowVisible(Owner.Handle()));
  EXPECT_FALSE(IsWindowVisible(App));
  EXPECT_EQ(minimized, 1);

  // Refused, by the tray and by the system menu alike.
  EXPECT_FALSE(Tray->Restore());
  SendMessageA(App, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsWindowVisible(App));
  EXPECT_TRUE(Tray->Minimized());

  SetWindowPos(Owner.Handle(), nullptr, 10, 10, 50, 50, SWP_NOZORDER | SWP_NOACTIVATE);
  canRestore = true;
  EXPECT_TRUE(Tray->Restore());
  EXPECT_FALSE(Tray->Minimized());
  EXPECT_TRUE(IsWindowVisible(App));
  EXPECT_FALSE(IsIconic(App));
  EXPECT_TRUE(IsWindowVisible(Owner.Handle()));
  EXPECT_EQ(GetForegroundWindow(), Owner.Handle());
  RECT now;
  GetWindowRect(Owner.Handle(), &now);
  EXPECT_TRUE(EqualRect(&now, &bounds));
  EXPECT_EQ(restored, 1);
}

TEST_F(VexaTrayTest, RestoreOnAnotherScreenSizeLeavesThePlacementToTheSystem) {
  Tray->MinimizeToTray();
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = 1024;
  mode.dmPelsHeight = 768;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
  SetWindowPos(Owner.Handle(), nullptr, 10, 20, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  Tray->Restore();
  ChangeDisplaySettingsA(nullptr, 0);
  RECT now;
  GetWindowRect(Owner.Handle(), &now);
  EXPECT_EQ(now.left, 10);
  EXPECT_EQ(now.top, 20);
}

TEST_F(VexaTrayTest, ThePasswordLocksTheRestore) {
  Tray->AllowPassword = true;
  Tray->OnSetPassword = [](std::string& password) { password = "secret"; };
  std::string typed;
  Tray->OnVerifyPassword = [&](const std::string& password) { return typed == password; };
  ForceForegroundWindow(Owner.Handle(), false);
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;  // the lock is set by minimising with Ctrl held
  SetKeyboardState(keys);
  Tray->MinimizeToTray();
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);

  SendMessageA(App, WM_SYSCOMMAND, SC_RESTORE, 0);  // only through the tray
  EXPECT_TRUE(Tray->Minimized());
  typed = "guess";
  EXPECT_FALSE(Tray->Restore());
  EXPECT_TRUE(Tray->Minimized());
  typed = "secret";
  EXPECT_TRUE(Tray->Restore());
  EXPECT_FALSE(Tray->Minimized());
}

TEST_F(VexaTrayTest, MinimisingTheApplicationGoesToTheTrayWithAutoMinimize) {
  Tray->AutoMinimize = true;
  TApplication::Instance().Minimize();
  EXPECT_TRUE(Tray->InTray());
  EXPECT_TRUE(Tray->Minimized());
  EXPECT_FALSE(IsWindowVisible(App));
  SendMessageA(App, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(Tray->Minimized());
  EXPECT_TRUE(IsWindowVisible(Owner.Handle()));
}

TEST_F(VexaTrayTest, ClicksOnTheIcon) {
  int clicks = 0, doubleClicks = 0;
  Tray->OnClick = [&] { ++clicks; };
  Tray->OnDblClick = [&] { ++doubleClicks; };
  Tray->MinimizeToTray();
  TrayClick(WM_LBUTTONUP, NIN_SELECT);
  EXPECT_TRUE(Tray->Minimized());
  Tray->AutoRestore = true;
  TrayClick(WM_LBUTTONUP, NIN_SELECT);
  EXPECT_FALSE(Tray->Minimized());
  EXPECT_TRUE(IsWindowVisible(Owner.Handle()));
  EXPECT_EQ(clicks, 2);
  TrayMouse(WM_LBUTTONDBLCLK);
  EXPECT_EQ(doubleClicks, 1);
  // Enter or Space on the focused icon.
  Tray->MinimizeToTray();
  TrayMouse(NIN_KEYSELECT);
  EXPECT_FALSE(Tray->Minimized());
  EXPECT_EQ(clicks, 3);
}

TEST_F(VexaTrayTest, RightClickPopsTheMenuUpAtTheCursor) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "&Restore");
  Tray->PopupMenu = menu;
  POINT clicked{};
  Tray->OnRightClick = [&](int x, int y) { clicked = {x, y}; };
  SetCursorPos(300, 400);
  RECT shown{};
  RunLater(100, [&] {
    GetWindowRect(FindWindowA("#32768", nullptr), &shown);
    EndMenu();
  });
  Tray->SetEnabled(true);
  TrayClick(WM_RBUTTONUP, WM_CONTEXTMENU);
  EXPECT_EQ(shown.left, 300);
  EXPECT_EQ(shown.top, 400);
  EXPECT_EQ(clicked.x, 300);
  EXPECT_EQ(clicked.y, 400);
  DestroyMenu(menu);
}

TEST_F(VexaTrayTest, AnimationCyclesTheImages) {
  Tray->SetEnabled(true);
  Tray->Interval = 20;
  int frames = 0;
  Tray->OnAnimate = [&] {
    if (++frames == 4) Tray->SetAnimate(false);
  };
  Calls.clear();
  Tray->SetAnimate(true);
  for (int i = 0; i < 100 && Tray->Animate(); ++i) PumpMessages(20);
  PumpMessages(100);
  ASSERT_EQ(Calls.size(), 4u);
  const COLORREF expected[] = {kRed, kGreen, kBlue, kRed};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Calls[i].Colour, expected[i]) << i;
}

TEST_F(VexaTrayTest, StartMinimizedKeepsTheOwnerHidden) {
  EXPECT_FALSE(Tray->Loaded());
  EXPECT_TRUE(IsWindowVisible(Owner.Handle()));
  Tray->StartMinimized = tmsYes;
  EXPECT_TRUE(Tray->Loaded());
  EXPECT_FALSE(IsWindowVisible(Owner.Handle()));
  EXPECT_TRUE(Tray->InTray());
  EXPECT_FALSE(IsWindowVisible(App));
}

TEST_F(VexaTrayTest, ShowsInTheDesktopTrayWithItsTip) {
  Tray->SetImageIndex(2);
  Tray->SetToolTip("Tallyline\rD/L: 1.50 MB\rU/L: 220 KB");
  Tray->SetEnabled(true);
  PumpMessages(300);
  HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
  ASSERT_TRUE(taskbar && IsWindowVisible(taskbar));
  RECT bar;
  GetWindowRect(taskbar, &bar);
  const RECT icon = FindOnScreen(kBlue, bar);
  EXPECT_EQ(icon.right - icon.left, 16);
  EXPECT_EQ(icon.bottom - icon.top, 16);

  // To look at it with its tip, name a folder for the screenshot.
  if (const char* folder = std::getenv("TALLYLINE_SHOTS")) {
    SetCursorPos(icon.left + 8, icon.top + 8);
    PumpMessages(2000);
    SaveScreenshot(nullptr, std::string(folder) + "\\vexa_tray.bmp");
  }
}

}  // namespace
