#include "dialup/redial.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// A RAS of connections the test sets, and a record of what the redial did.
class TFakeDialPort : public TDialPort {
 public:
  std::optional<std::vector<TActiveConnection>> ListConnections() override { return Lines; }
  int Dial(const std::string& entry) override {
    Dialled.push_back(entry);
    if (DialThrows) throw std::runtime_error("no dial");
    return DialResult;
  }
  int HangUp(uint32_t handle) override {
    HungUp.push_back(handle);
    if (OnHangUp) OnHangUp();
    return 0;
  }
  int HangUpCurrent() override {
    ++HangUpsOfCurrent;
    if (OnHangUp) OnHangUp();
    return 0;
  }

  std::optional<std::vector<TActiveConnection>> Lines = std::vector<TActiveConnection>{};
  int DialResult = 0;
  bool DialThrows = false;
  std::function<void()> OnHangUp;
  std::vector<std::string> Dialled;
  std::vector<uint32_t> HungUp;
  int HangUpsOfCurrent = 0;
};

class TFakeRedialView : public TRedialView {
 public:
  void OpenDialWindow(const std::string& caption) override {
    Open = true;
    Caption = caption;
  }
  void SetDialStatus(const std::string& text) override { Status = text; }
  void CloseDialWindow() override { Open = false; }
  bool DialWindowOpen() const override { return Open; }
  void ArmTimer() override { ++TimersArmed; }
  void PostDial() override { ++DialsPosted; }

  bool Open = false;
  std::string Caption, Status;
  int TimersArmed = 0, DialsPosted = 0;
};

class RedialCycleTest : public testing::Test {
 protected:
  // The stall, the hang-up, a second later the dial, and its progress.
  void StallAndDial() {
    Port.Lines = {{7, kRasConnected, "My ISP"}};
    Port.OnHangUp = [this] { Port.Lines->clear(); };
    Redial.StallRequested("My ISP");
    Redial.TimerFired();
    ASSERT_EQ(View.DialsPosted, 1);
    Redial.DialRequested();
    Redial.Dialing();
  }

  TFakeDialPort Port;
  TFakeRedialView View;
  TRedial Redial{Port, View};
};

TEST_F(RedialCycleTest, AStallHangsUpTheFirstConnectedLineAndDialsItsEntry) {
  Port.Lines = {
      {3, 5, "Dialling Elsewhere"}, {7, kRasConnected, "My ISP"}, {9, kRasConnected, "Work"}};
  Redial.StallRequested("My ISP");
  EXPECT_EQ(Port.HungUp, (std::vector<uint32_t>{7}));
  Port.Lines->erase(Port.Lines->begin() + 1, Port.Lines->end());
  Redial.TimerFired();
  Redial.DialRequested();
  EXPECT_EQ(Port.Dialled, (std::vector<std::string>{"My ISP"}));
  Redial.Dialing();
  EXPECT_EQ(View.Caption, "Connecting to My ISP");
}

TEST_F(RedialCycleTest, ProgressTextsAndTheRetryAfterAnError) {
  StallAndDial();
  Redial.AsyncEvent(2, 0, "Connecting device");
  EXPECT_EQ(View.Status, "Status: Dialing..");
  Redial.AsyncEvent(5, 0, "Start authenticating");
  EXPECT_EQ(View.Status, "Status: Verifying user name and password..");
  Redial.AsyncEvent(5, 691, "Access denied");  // the fixed text stays
  EXPECT_EQ(View.Status, "Status: Verifying user name and password..");
  EXPECT_EQ(View.TimersArmed, 2);
  EXPECT_FALSE(Redial.Busy());
  Redial.TimerFired();
  Redial.DialRequested();
  Redial.Dialing();
  Redial.AsyncEvent(0, 633, "The port is already in use");
  EXPECT_EQ(View.Status, "Status: The port is already in use");
  EXPECT_EQ(View.TimersArmed, 3);
  Redial.TimerFired();
  Redial.DialRequested();
  Redial.AsyncEvent(kRasConnected, 0, "Connected");
  EXPECT_FALSE(View.Open);
  EXPECT_FALSE(Redial.Busy());
  EXPECT_EQ(Port.Dialled.size(), 3u);
}

TEST_F(RedialCycleTest, CancelStopsTheRedialsUntilTheNextStall) {
  StallAndDial();
  Port.OnHangUp = [this] { Redial.Cancel(); };  // pressed again while RAS lets go
  Redial.Cancel();
  Port.OnHangUp = nullptr;
  EXPECT_EQ(Port.HangUpsOfCurrent, 2);  // the dial's own, of the attempt before, and Cancel's
  EXPECT_FALSE(View.Open);
  Redial.AsyncEvent(2, 678, "No answer");  // late news of the cancelled dial
  Redial.TimerFired();
  EXPECT_EQ(View.DialsPosted, 1);
  EXPECT_EQ(View.TimersArmed, 1);
  Port.Lines = {{8, kRasConnected, "My ISP"}};
  Redial.StallRequested("My ISP");
  Port.Lines->clear();
  Redial.TimerFired();
  EXPECT_EQ(View.DialsPosted, 2);
}

// A dial first lets the previous attempt's line go, with the message loop
// running: a Cancel pressed meanwhile stops this dial and every later one.
TEST_F(RedialCycleTest, ACancelWhileThePreviousLineIsLetGoStopsTheDial) {
  StallAndDial();
  Redial.AsyncEvent(0, 678, "No answer");
  Redial.TimerFired();
  bool pressed = false;
  Port.OnHangUp = [&] {
    if (!pressed) {
      pressed = true;
      Redial.Cancel();
    }
  };
  Redial.DialRequested();
  EXPECT_TRUE(pressed);
  EXPECT_EQ(Port.Dialled.size(), 1u);
  EXPECT_FALSE(View.Open);
  EXPECT_FALSE(Redial.Busy());
  Redial.DialRequested();  // posted before the Cancel
  Redial.TimerFired();
  EXPECT_EQ(Port.Dialled.size(), 1u);
  EXPECT_EQ(View.DialsPosted, 2);
}

// A connected line listed outside a stall's own listing gives the entry to
// dial next.
TEST_F(RedialCycleTest, TheEntryToDialIsTheLastOneListedConnected) {
  StallAndDial();
  Redial.AsyncEvent(0, 678, "No answer");
  Port.Lines = {{9, kRasConnected, "Work"}};  // dialled by hand meanwhile
  Redial.TimerFired();
  EXPECT_EQ(View.DialsPosted, 1);  // a line is up: no dial
  Port.Lines->clear();
  Redial.StallRequested("");
  Redial.TimerFired();
  Redial.DialRequested();
  EXPECT_EQ(Port.Dialled, (std::vector<std::string>{"My ISP", "Work"}));
}

TEST_F(RedialCycleTest, EveryFailedDialReturnsToIdleAndRetries) {
  Port.DialResult = 623;  // unknown entry, or the dial call failing at once
  StallAndDial();
  EXPECT_FALSE(Redial.Busy());
  Redial.DialFailed();  // the component's own report of the same failure
  EXPECT_EQ(View.TimersArmed, 2);
  Port.DialResult = 0;
  Port.DialThrows = true;
  Redial.TimerFired();
  Redial.DialRequested();
  EXPECT_FALSE(Redial.Busy());
  EXPECT_EQ(View.TimersArmed, 3);
}

TEST_F(RedialCycleTest, NoNewStallOrHangUpWhileOneIsUnderWay) {
  Port.Lines = {{7, kRasConnected, "My ISP"}};
  // The display keeps updating while RAS releases the line.
  Port.OnHangUp = [this] { Redial.StallRequested("My ISP"); };
  Redial.StallRequested("My ISP");
  EXPECT_EQ(Port.HungUp.size(), 1u);
  Port.OnHangUp = nullptr;
  Port.Lines->clear();
  Redial.TimerFired();
  Redial.DialRequested();
  EXPECT_TRUE(Redial.Busy());
  Redial.StallRequested("My ISP");
  EXPECT_EQ(Port.HungUp.size(), 1u);
}

TEST_F(RedialCycleTest, TheWindowStaysWhileDiallingAndNoEntryMeansNoDial) {
  StallAndDial();
  Redial.NoConnection();  // the line is listed only once the dial completes
  EXPECT_TRUE(View.Open);
  Redial.AsyncEvent(kRasConnected, 0, "Connected");
  TRedial fresh(Port, View);
  Port.Lines = {{7, kRasConnected, ""}};
  Port.OnHangUp = [this] { Port.Lines->clear(); };
  fresh.StallRequested("");
  fresh.TimerFired();
  fresh.DialRequested();
  EXPECT_EQ(Port.Dialled.size(), 1u);  // only the first test dial
  EXPECT_FALSE(fresh.Busy());
}

}  // namespace
