// The real program in dial-up mode, watching connections of the RAS stand-in:
// calls counted, the connection log, and the totals flushed when a
// connection ends and when the program closes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "driver/window_driver_win32.h"
#include "e2e/program_copy_win32.h"
#include "storage/ini_file.h"
#include "storage/text_lines.h"
#include "traffic/usage_book.h"

namespace {

using namespace std::chrono_literals;

class DialupTest : public testing::Test {
 protected:
  void SetUp() override {
    Copy.UseFakeRas();
    std::ofstream(Copy.Folder() + "settings.ini") << "[Settings]\r\nDialup=1\r\n";
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

  int64_t Today(const std::string& key) {
    TIniFile32 file(MonthFileName(Copy.Folder(), LocalNow()), false);
    return file.ReadInt64(std::to_string(static_cast<int>(LocalNow())), key, 0);
  }

  std::vector<std::string> LogLines() {
    std::ifstream in(Copy.Folder() + "Connection.log", std::ios::binary);
    return SplitLines(std::string(std::istreambuf_iterator<char>(in), {}));
  }

  // Closes the program as a user does: the close box, then OK.
  void CloseConfirmed() {
    PostMessageA(Window, WM_CLOSE, 0, 0);
    HWND box = WaitForWindow({"Tallyline", "#32770", Pid}, 10000);
    ASSERT_TRUE(box);
    PressButton(box, "OK");
    ASSERT_EQ(Copy.WaitForExit(Pid, 10000), 0);
  }

  // Waits until the condition holds, checking a few times a second.
  template <typename TCondition>
  static bool Eventually(TCondition condition) {
    for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(100ms))
      if (condition()) return true;
    return condition();
  }

  TProgramCopy Copy;
  DWORD Pid = 0;
  HWND Window = nullptr;
};

TEST_F(DialupTest, ConnectionsAreCountedLoggedAndBooked) {
  // A connection appears: one call for the entry and in all.
  SetRas("conn=7|My ISP|8192|1000|500|28800|0\n");
  ASSERT_TRUE(Eventually([&] { return Today("Calls") == 1; }));
  EXPECT_EQ(Today("My ISP-Calls"), 1);

  // Once both counters are known, traffic flows.
  std::this_thread::sleep_for(3500ms);
  SetRas("conn=7|My ISP|8192|501000|100500|28800|60000\n");
  std::this_thread::sleep_for(2500ms);

  // The connection ends: one log line, and the totals are in the month file.
  SetRas("");
  ASSERT_TRUE(Eventually([&] { return LogLines().size() == 1; }));
  std::istringstream fields(LogLines()[0]);
  std::vector<std::string> parts;
  for (std::string part; std::getline(fields, part, ',');) parts.push_back(part);
  ASSERT_EQ(parts.size(), 6u) << LogLines()[0];
  EXPECT_LT(std::stod(parts[0]), std::stod(parts[1]));
  EXPECT_EQ(parts[2], "1");
  EXPECT_EQ(parts[3], "\"My ISP\"");
  EXPECT_EQ(parts[4], "500000");
  EXPECT_EQ(parts[5], "100000");
  EXPECT_EQ(Today("Recv"), 500000);
  EXPECT_EQ(Today("Xmit"), 100000);
  EXPECT_EQ(Today("My ISP-Recv"), 500000);
  EXPECT_GT(Today("Hours"), 4);
  EXPECT_EQ(Today("Hours"), Today("My ISP"));

  // A second connection, still up when the program is closed.
  SetRas("conn=8|My ISP|8192|0|0|28800|0\n");
  ASSERT_TRUE(Eventually([&] { return Today("Calls") == 2; }));
  std::this_thread::sleep_for(3500ms);
  SetRas("conn=8|My ISP|8192|2048|1024|28800|0\n");
  std::this_thread::sleep_for(2500ms);
  CloseConfirmed();

  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[1].find(",2,\"My ISP\",2048,1024"), std::string::npos) << lines[1];
  // Nothing counted before the exit is lost.
  EXPECT_EQ(Today("Recv"), 500000 + 2048);
  EXPECT_EQ(Today("Xmit"), 100000 + 1024);
  EXPECT_EQ(Today("My ISP-Calls"), 2);
}

TEST_F(DialupTest, NoConnectionNoCallsAndNoLog) {
  std::this_thread::sleep_for(2500ms);
  CloseConfirmed();
  EXPECT_TRUE(LogLines().empty());
  EXPECT_EQ(Today("Calls"), 0);
}

// This month's file is damaged when the program starts.
class DamagedMonthTest : public DialupTest {
 protected:
  void BeforeStart() override {
    CreateDirectoryA((Copy.Folder() + "data").c_str(), nullptr);
    std::ofstream(MonthFileName(Copy.Folder(), LocalNow()), std::ios::binary) << Damaged;
  }
  const std::string Damaged = std::string("ESTREAM\x01", 8) + std::string(40, 'Z');
};

TEST_F(DamagedMonthTest, IsKeptAsideUntouchedAndANewFileCounts) {
  SetRas("conn=7|My ISP|8192|1000|500|28800|0\n");
  HWND notice = WaitForWindow({"Tallyline", "#32770", Pid}, 20000);
  ASSERT_TRUE(notice);
  EXPECT_NE(DialogText(notice).find(".damaged"), std::string::npos) << DialogText(notice);
  PressButton(notice, "OK");
  std::this_thread::sleep_for(3500ms);
  SetRas("conn=7|My ISP|8192|501000|100500|28800|60000\n");
  std::this_thread::sleep_for(2500ms);
  CloseConfirmed();

  std::ifstream aside(MonthFileName(Copy.Folder(), LocalNow()) + ".damaged", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(aside), {}), Damaged);
  EXPECT_EQ(Today("Recv"), 500000);
  EXPECT_EQ(Today("My ISP-Calls"), 1);
}

}  // namespace
