// The real program in dial-up mode, watching connections of the RAS stand-in:
// calls counted, the connection log, and the totals flushed when a
// connection ends and when the program closes.
#include <sstream>

#include "e2e/dialup_fixture_win32.h"

namespace {

using namespace std::chrono_literals;

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

// The connection ends while a folder stands where the month file is; the
// file is back seconds later, and the program is closed. What the
// connection counted is in the month file under its entry, once.
TEST_F(DialupTest, AConnectionEndedWhileTheMonthFileWasInTheWayIsBookedOnce) {
  const std::string month = MonthFileName(Copy.Folder(), LocalNow());
  ASSERT_NO_FATAL_FAILURE(EndWhileTheMonthFileIsInTheWay(month));
  std::this_thread::sleep_for(3s);
  ASSERT_TRUE(RemoveDirectoryA(month.c_str()));
  ASSERT_TRUE(MoveFileA((month + ".away").c_str(), month.c_str()));
  CloseConfirmed();

  EXPECT_EQ(Today("My ISP-Recv"), 3000000);
  EXPECT_EQ(Today("My ISP-Xmit"), 500000);
  EXPECT_EQ(Today("Recv"), 3000000);
  EXPECT_EQ(Today("Xmit"), 500000);
  EXPECT_EQ(Today("My ISP-Calls"), 1);
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(",1,\"My ISP\",3000000,500000"), std::string::npos) << lines[0];
}

// The month file is still in the way when the program is closed: what the
// connection counted is kept on disk, booked once by the next start, and
// not again by the start after.
TEST_F(DialupTest, AConnectionOwedAtExitIsBookedByTheNextStartOnce) {
  const std::string month = MonthFileName(Copy.Folder(), LocalNow());
  ASSERT_NO_FATAL_FAILURE(EndWhileTheMonthFileIsInTheWay(month));
  PostMessageA(Window, WM_CLOSE, 0, 0);
  HWND question = WaitForWindow({"Tallyline", "#32770", Pid}, 10000);
  ASSERT_TRUE(question);
  PressButton(question, "OK");
  ASSERT_TRUE(Eventually([&] {
    HWND box = WaitForWindow({"Tallyline", "#32770", Pid}, 100);
    if (!box || DialogText(box).find("could not write") == std::string::npos) return false;
    EXPECT_NE(DialogText(box).find("written when Tallyline starts again"), std::string::npos);
    return PressButton(box, "OK");
  }));
  ASSERT_EQ(Copy.WaitForExit(Pid, 10000), 0);
  ASSERT_TRUE(RemoveDirectoryA(month.c_str()));
  ASSERT_TRUE(MoveFileA((month + ".away").c_str(), month.c_str()));

  for (int start = 0; start < 2; ++start) {
    Pid = Copy.Start();
    Window = WaitForWindow({kMainCaption, "", Pid}, 20000);
    ASSERT_TRUE(Window);
    std::this_thread::sleep_for(1500ms);
    CloseConfirmed();
    EXPECT_EQ(Today("My ISP-Recv"), 3000000);
    EXPECT_EQ(Today("Recv"), 3000000);
    EXPECT_EQ(Today("Xmit"), 500000);
    EXPECT_EQ(Today("Calls"), 1);
    EXPECT_EQ(LogLines().size(), 1u);
  }
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
