#pragma once

#include <windows.h>

// The main window's commands, as menu item identifiers.
enum TMainCommand : UINT {
  cmSetup = 100,
  cmShowStopWatch,
  cmStatusbar,
  cmBrowseMode,
  cmExit,
  cmBasicReports,
  cmAdvancedStats,
  cmAbout,
  cmMinimize,
  cmRestore,
  cmStopWatchStart,
  cmStopWatchStop,
  cmStopWatchReset,
  cmStopWatchLabel,   // a button pressed on the stopwatch bar's label or picture
  cmStopWatchToggle,  // F8: start a stopped stopwatch, stop a running one
};

// The menu bar and the pop-up menus, with their captions, access keys and
// shortcut texts. The menus are freed with the object.
struct TMainMenus {
  TMainMenus();
  ~TMainMenus();
  TMainMenus(const TMainMenus&) = delete;
  TMainMenus& operator=(const TMainMenus&) = delete;

  HMENU MainMenu1;   // the menu bar
  HMENU File1;       // its "&File" menu
  HMENU PopupMenu1;  // the tray icon's
  HMENU PopupMenu2;  // the stopwatch's
  HMENU PopupMenu3;  // the graph's
  // The stopwatch's items: on its label (PopupMenu2), and under "Stop &Watch"
  // in the "&File" menu and in the graph's.
  HMENU StopWatchMenus[3];
};

// F1 to F8 and Shift+F8 for the commands that have them.
HACCEL CreateMainAccelerators();

void SetMenuCheck(HMENU menu, UINT command, bool checked);
