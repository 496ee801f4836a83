#pragma once

// A test build of the program whose stall time is three seconds, watching
// connections of the RAS stand-in, and its dialling window.
#include "e2e/dialup_fixture_win32.h"

// A connection whose received counter falls on every read.
inline const std::string kStalled = "entry=My ISP\nconn=7|My ISP|8192|100000|500|28800|0|1000\n";
inline const std::string kDialCaption = "Connecting to My ISP";

class RedialTest : public DialupTest {
 protected:
  RedialTest() : DialupTest("tallyline_shortstall.exe", "Dialup=1\r\nReconStall=1\r\n") {}

  HWND WaitForDialWindow(DWORD timeoutMs = 15000) {
    return WaitForWindow({kDialCaption, "TFrmDial", Pid}, timeoutMs);
  }

  static std::string Status(HWND dial) {
    const auto statics = FindChildren(dial, "Static");
    return statics.empty() ? "" : WindowText(statics[0]);
  }

  // The entry is up, on the connection of that handle when one is given.
  bool Connected(const std::string& handle = "") {
    const std::string line = "|My ISP|8192|";
    return Ras().find(handle.empty() ? line : "conn=" + handle + line) != std::string::npos;
  }
};
