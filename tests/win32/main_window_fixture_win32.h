#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "app/frm_main_win32.h"
#include "driver/window_driver_win32.h"
#include "unit/fake_link_source.h"
#include "unit/scratch_dir.h"
#include "win32/test_forms_win32.h"

// Shows a tab of the first tab control in window, as a click on it would.
inline void ShowTab(HWND window, int index) {
  HWND tabs = FindChild(window, "SysTabControl32");
  SendMessageA(tabs, TCM_SETCURSEL, index, 0);
  NMHDR click{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(window, WM_NOTIFY, click.idFrom, reinterpret_cast<LPARAM>(&click));
  PumpMessages(100);
}

// Saves name.bmp of the window into the screenshot folder, when one is set,
// once the window has painted what changed.
inline void Shoot(HWND window, const std::string& name) {
  PumpMessages(100);
  if (const char* folder = std::getenv("TALLYLINE_SCREENSHOTS"))
    SaveScreenshot(window, std::string(folder) + "\\" + name + ".bmp");
}

// The columns from the first to the last dark pixel of a rectangle of dc.
inline int InkWidth(HDC dc, const RECT& r) {
  int first = r.right, last = r.left - 1;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 300) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
    }
  return last - first + 1;
}

// How many pixel columns of text the screen shows in a cell of window fewer
// than the same text drawn whole in the window's font: 0 when it shows whole.
inline int ShownTextCut(HWND window, const RECT& cell, const std::string& text) {
  HDC screen = GetDC(window);
  const int shown = InkWidth(screen, cell);
  HDC memory = CreateCompatibleDC(screen);
  const RECT whole{0, 0, 400, cell.bottom - cell.top};
  HBITMAP bitmap = CreateCompatibleBitmap(screen, whole.right, whole.bottom);
  const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  const HGDIOBJ oldFont =
      SelectObject(memory, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  FillRect(memory, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  TextOutA(memory, 4, 0, text.data(), static_cast<int>(text.size()));
  const int drawn = InkWidth(memory, whole);
  SelectObject(memory, oldFont);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return drawn - shown;
}

// The same for a list view's cell.
inline int CellTextCut(HWND list, int row, int column) {
  char buffer[256] = "";
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  RECT cell{LVIR_LABEL, column, 0, 0};
  SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
  return ShownTextCut(list, cell, buffer);
}

// The main window created in this process in a scratch folder, measuring a
// fake link; the tests of the main window and of the windows it opens.
class TMainWindowTest : public testing::Test {
 protected:
  // A main window on the settings given; its own timer is stopped so that
  // the test decides when a second has passed.
  TFrmMain& Open(const std::string& settings = "") {
    Dir.Write("settings.ini", settings);
    return OpenAsIs();
  }
  // On whatever the folder holds: without a settings file, the first start.
  TFrmMain& OpenAsIs() {
    Form = std::make_unique<TFrmMain>(Dir.Folder(), &Link);
    KillTimer(Form->Handle(), TFrmMain::Timer1);
    PumpMessages();
    return *Form;
  }

  // Closes the window as the program's exit does (without the question).
  void Close() {
    Form.reset();
    PumpMessages();
  }

  // One second: the counters move on, then the tick and its display update.
  void Tick(uint32_t received, uint32_t sent) {
    Link.IfRows[0].dwInOctets = received;
    Link.IfRows[0].dwOutOctets = sent;
    Link.Advance(1000);
    Form->Timer1Timer();
    PumpMessages();
  }

  // Sends WM_CLOSE and answers the question from a second thread, as a user
  // would while the box runs its own message loop here.
  std::string CloseAnswering(const std::string& button) {
    std::string question;
    std::thread user([&] {
      HWND box = WaitForWindow({"Tallyline", "#32770", GetCurrentProcessId()}, 10000);
      if (!box) return;
      question = DialogText(box);
      PressButton(box, button);
    });
    SendMessageA(Form->Handle(), WM_CLOSE, 0, 0);
    user.join();
    return question;
  }

  void SetUp() override {
    TMibIfRow row = TFakeLinkSource::Row(2, "Test Adapter", {0, 1, 2, 3, 4, 5});
    row.dwSpeed = 28800;
    row.dwOperStatus = 5;  // operational: its speed is shown
    Link.IfRows = {row};
  }

  void TearDown() override {
    Form.reset();
    PumpMessages();
  }

  static constexpr const char* kAdapter = "[NIC]\r\nS=Test Adapter @ 00-01-02-03-04-05\r\n";
  TScratchDir Dir;
  TFakeLinkSource Link;
  std::unique_ptr<TFrmMain> Form;
};
