// The real program, started from scratch folders: the one-copy-per-path
// warning, and the confirmation before it closes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "driver/window_driver_win32.h"
#include "e2e/program_copy_win32.h"

namespace {

constexpr DWORD kStartTimeout = 20000;

HWND MainWindowOf(DWORD pid) {
  return WaitForWindow({kMainCaption, "", pid}, kStartTimeout);
}

HWND BoxOf(DWORD pid, const std::string& caption) {
  return WaitForWindow({caption, "#32770", pid}, kStartTimeout);
}

// Every file and folder under root with its size and time stamp.
std::map<std::string, std::pair<uintmax_t, std::filesystem::file_time_type>> Snapshot(
    const std::string& root) {
  std::map<std::string, std::pair<uintmax_t, std::filesystem::file_time_type>> entries;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root))
    entries[e.path().string()] = {e.is_regular_file() ? e.file_size() : 0, e.last_write_time()};
  return entries;
}

TEST(SingleInstanceTest, SecondCopyWarnsAndCancelEndsItBeforeItWritesAnythingAndShowsTheFirst) {
  TProgramCopy copy;
  const DWORD first = copy.Start();
  ASSERT_TRUE(MainWindowOf(first));
  ASSERT_TRUE(std::filesystem::is_directory(copy.Folder() + "data"));
  // Anything the second copy created would show up again.
  std::filesystem::remove(copy.Folder() + "data");
  const auto before = Snapshot(copy.Folder());

  // The running copy is out of the way, in the tray or minimised.
  HWND running = MainWindowOf(first);
  ShowWindow(running, SW_MINIMIZE);
  const DWORD second = copy.Start();
  HWND box = BoxOf(second, "Oops!");
  ASSERT_TRUE(box);
  EXPECT_EQ(DialogText(box), "Tallyline already running!!");
  // Enter presses the default button, Cancel; the running copy comes back.
  ASSERT_TRUE(PressKey(box, VK_RETURN));
  EXPECT_EQ(copy.WaitForExit(second, kStartTimeout), 0);
  for (int i = 0; i < 50 && GetForegroundWindow() != running; ++i) Sleep(100);
  EXPECT_EQ(GetForegroundWindow(), running);
  EXPECT_TRUE(IsWindowVisible(running) && !IsIconic(running));

  EXPECT_TRUE(copy.IsRunning(first));
  EXPECT_EQ(FindTopWindows({kMainCaption, "", 0}).size(), 1u);
  EXPECT_EQ(Snapshot(copy.Folder()), before);
}

TEST(SingleInstanceTest, OkStartsASecondWorkingCopy) {
  TProgramCopy copy;
  const DWORD first = copy.Start();
  ASSERT_TRUE(MainWindowOf(first));
  const DWORD second = copy.Start();
  HWND box = BoxOf(second, "Oops!");
  ASSERT_TRUE(box);
  ASSERT_TRUE(PressButton(box, "OK"));
  ASSERT_TRUE(MainWindowOf(second));
  EXPECT_TRUE(copy.IsRunning(first));
  EXPECT_EQ(FindTopWindows({kMainCaption, "", 0}).size(), 2u);
}

TEST(SingleInstanceTest, CopiesInDifferentFoldersDoNotSeeEachOther) {
  TProgramCopy one, other;
  const DWORD first = one.Start();
  ASSERT_TRUE(MainWindowOf(first));
  const DWORD second = other.Start();
  // The main window only appears once no warning stands in the way.
  ASSERT_TRUE(MainWindowOf(second));
  EXPECT_TRUE(FindTopWindows({"Oops!", "", 0}).empty());
}

class CloseTest : public testing::Test {
 protected:
  void SetUp() override {
    Pid = Copy.Start();
    Window = MainWindowOf(Pid);
    ASSERT_TRUE(Window);
  }

  HWND AskToClose() {
    PostMessageA(Window, WM_CLOSE, 0, 0);
    return BoxOf(Pid, "Tallyline");
  }

  TProgramCopy Copy;
  DWORD Pid = 0;
  HWND Window = nullptr;
};

TEST_F(CloseTest, FirstWindowHasItsDesignCaptionAndBounds) {
  // The first start, for the eye (TALLYLINE_SCREENSHOTS names a folder).
  if (const char* folder = std::getenv("TALLYLINE_SCREENSHOTS")) {
    Sleep(1500);
    SaveScreenshot(nullptr, std::string("Z:") + folder + "/main_first_start.bmp");
  }
  RECT r;
  ASSERT_TRUE(GetWindowRect(Window, &r));
  EXPECT_EQ(r.left, 492);
  EXPECT_EQ(r.top, 369);
  EXPECT_EQ(r.right - r.left, 584);
  EXPECT_EQ(r.bottom - r.top, 282);
  EXPECT_TRUE(std::filesystem::is_directory(Copy.Folder() + "data"));
}

TEST_F(CloseTest, CancelKeepsTheProgramAndTouchesNoFile) {
  const auto before = Snapshot(Copy.Folder());
  HWND box = AskToClose();
  ASSERT_TRUE(box);
  EXPECT_EQ(DialogText(box),
            "Are you sure you want to close Tallyline?\n"
            "This will prevent Tallyline from keeping stats!");
  ASSERT_TRUE(PressButton(box, "Cancel"));
  ASSERT_TRUE(WaitUntilGone(box, 5000));
  EXPECT_TRUE(IsWindow(Window));
  EXPECT_TRUE(Copy.IsRunning(Pid));
  EXPECT_EQ(Snapshot(Copy.Folder()), before);
}

// F8 starts and stops the stopwatch, Shift+F8 resets it, from the keyboard.
TEST_F(CloseTest, F8StartsTheStopWatchWhoseCountsSurviveTheExit) {
  ASSERT_TRUE(TypeKey(Window, VK_F8));
  Sleep(3500);
  HWND box = AskToClose();
  ASSERT_TRUE(box);
  ASSERT_TRUE(PressButton(box, "OK"));
  ASSERT_EQ(Copy.WaitForExit(Pid, kStartTimeout), 0);
  const auto stopWatch = [this](const char* key) {
    return GetPrivateProfileIntA("StopWatch", key, -1, (Copy.Folder() + "settings.ini").c_str());
  };
  EXPECT_EQ(stopWatch("E"), 1);
  EXPECT_EQ(stopWatch("V"), 1);
  const int counted = stopWatch("D");
  EXPECT_GE(counted, 2);

  // The next run goes on counting until F8 stops it, which writes at once.
  Pid = Copy.Start();
  Window = MainWindowOf(Pid);
  ASSERT_TRUE(Window);
  Sleep(2500);
  ASSERT_TRUE(TypeKey(Window, VK_F8));
  Sleep(500);
  EXPECT_EQ(stopWatch("E"), 0);
  EXPECT_GE(stopWatch("D"), counted + 1);

  // Shift+F8 asks first; Enter resets.
  ASSERT_TRUE(TypeKey(Window, VK_F8, {VK_SHIFT}));
  HWND confirm = BoxOf(Pid, "Confirm");
  ASSERT_TRUE(confirm);
  EXPECT_EQ(DialogText(confirm), "Reset Stop Watch, Are you sure?");
  ASSERT_TRUE(TypeKey(confirm, VK_RETURN));
  ASSERT_TRUE(WaitUntilGone(confirm, 5000));
  box = AskToClose();
  ASSERT_TRUE(box);
  ASSERT_TRUE(PressButton(box, "OK"));
  ASSERT_EQ(Copy.WaitForExit(Pid, kStartTimeout), 0);
  EXPECT_EQ(stopWatch("D"), 0);
}

TEST_F(CloseTest, OkEndsTheProgram) {
  HWND box = AskToClose();
  ASSERT_TRUE(box);
  ASSERT_TRUE(PressButton(box, "OK"));
  EXPECT_EQ(Copy.WaitForExit(Pid, kStartTimeout), 0);
  EXPECT_FALSE(IsWindow(Window));
}

}  // namespace
