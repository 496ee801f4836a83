#pragma once

// The real program in dial-up mode, started in a scratch folder with the RAS
// stand-in beside it, and what the tests read and set around it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "driver/window_driver_win32.h"
#include "e2e/program_copy_win32.h"
#include "storage/ini_file.h"
#include "storage/text_lines.h"
#include "traffic/usage_book.h"

class DialupTest : public testing::Test {
 protected:
  // program: the build of the program to run, from beside the tests.
  explicit DialupTest(const std::string& program = "tallyline.exe",
                      const std::string& settings = "Dialup=1\r\n")
      : Copy(program), Settings(settings) {}

  void SetUp() override {
    Copy.UseFakeRas();
    std::ofstream(Copy.Folder() + "settings.ini") << "[Settings]\r\n" << Settings;
    BeforeStart();
    Pid = Copy.Start();
    Window = WaitForWindow({kMainCaption, "", Pid}, 20000);
    ASSERT_TRUE(Window);
  }

  virtual void BeforeStart() {}

  // Sets the stand-in's connections, under the lock its readers take.
  void SetRas(const std::string& content) {
    HANDLE lock = CreateMutexA(nullptr, FALSE, "TallylineFakeRasFile");
    WaitForSingleObject(lock, INFINITE);
    std::ofstream(Copy.FakeRasFile(), std::ios::trunc) << content;
    ReleaseMutex(lock);
    CloseHandle(lock);
  }

  // The stand-in's file as it stands, with what it wrote itself.
  std::string Ras() {
    HANDLE lock = CreateMutexA(nullptr, FALSE, "TallylineFakeRasFile");
    WaitForSingleObject(lock, INFINITE);
    std::ifstream in(Copy.FakeRasFile(), std::ios::binary);
    std::string content(std::istreambuf_iterator<char>(in), {});
    ReleaseMutex(lock);
    CloseHandle(lock);
    return content;
  }

  int64_t Today(const std::string& key) {
    TIniFile32 file(MonthFileName(Copy.Folder(), LocalNow()), false);
    return file.ReadInt64(std::to_string(static_cast<int>(LocalNow())), key, 0);
  }

  std::vector<std::string> LogLines() {
    std::ifstream in(Copy.Folder() + "Connection.log", std::ios::binary);
    return SplitLines(std::string(std::istreambuf_iterator<char>(in), {}));
  }

  // A connection of "My ISP" counts 3,000,000 bytes received and 500,000
  // sent, then ends while a folder stands where the month file is (its file
  // is kept as MONTH.away): the notice of the file, and the log line.
  void EndWhileTheMonthFileIsInTheWay(const std::string& month) {
    using namespace std::chrono_literals;
    SetRas("conn=7|My ISP|8192|0|0|28800|0\n");
    ASSERT_TRUE(Eventually([&] { return Today("Calls") == 1; }));
    std::this_thread::sleep_for(3500ms);
    SetRas("conn=7|My ISP|8192|3000000|500000|28800|60000\n");
    std::this_thread::sleep_for(2500ms);
    ASSERT_TRUE(MoveFileA(month.c_str(), (month + ".away").c_str()));
    ASSERT_TRUE(CreateDirectoryA(month.c_str(), nullptr));
    SetRas("");
    HWND notice = WaitForWindow({"Tallyline", "#32770", Pid}, 20000);
    ASSERT_TRUE(notice);
    EXPECT_NE(DialogText(notice).find("cannot write"), std::string::npos) << DialogText(notice);
    PressButton(notice, "OK");
    ASSERT_TRUE(Eventually([&] { return LogLines().size() == 1; }));
  }

  // Closes the program as a user does: the close box, then OK.
  void CloseConfirmed() {
    PostMessageA(Window, WM_CLOSE, 0, 0);
    HWND box = WaitForWindow({"Tallyline", "#32770", Pid}, 10000);
    ASSERT_TRUE(box);
    PressButton(box, "OK");
    ASSERT_EQ(Copy.WaitForExit(Pid, 10000), 0);
  }

  // Saves NAME.bmp of the window into the folder TALLYLINE_SCREENSHOTS names, if any.
  static void Screenshot(HWND window, const std::string& name) {
    if (const char* folder = std::getenv("TALLYLINE_SCREENSHOTS"))
      SaveScreenshot(window, std::string("Z:") + folder + "/" + name + ".bmp");
  }

  // Waits until the condition holds, checking ten times a second.
  template <typename TCondition>
  static bool Eventually(TCondition condition, int timeoutMs = 10000) {
    for (int i = 0; i < timeoutMs / 100;
         ++i, std::this_thread::sleep_for(std::chrono::milliseconds(100)))
      if (condition()) return true;
    return condition();
  }

  TProgramCopy Copy;
  std::string Settings;
  DWORD Pid = 0;
  HWND Window = nullptr;
};
