#include "app/main_menus_win32.h"

namespace {

void Item(HMENU menu, UINT command, const char* caption) {
  AppendMenuA(menu, MF_STRING, command, caption);
}

void Separator(HMENU menu) {
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
}

// Start and Stop are a radio group; F8 is either, whichever is enabled. The
// label's menu has them without their keys, as it always had.
void StopWatchItems(HMENU menu, bool keys) {
  Item(menu, cmStopWatchStart, keys ? "&Start\tF8" : "&Start");
  Item(menu, cmStopWatchStop, keys ? "S&top\tF8" : "S&top");
  Separator(menu);
  Item(menu, cmStopWatchReset, keys ? "&Reset\tShift+F8" : "&Reset");
  MENUITEMINFOA radio{};
  radio.cbSize = sizeof radio;
  radio.fMask = MIIM_FTYPE;
  radio.fType = MFT_STRING | MFT_RADIOCHECK;
  SetMenuItemInfoA(menu, cmStopWatchStart, FALSE, &radio);
  SetMenuItemInfoA(menu, cmStopWatchStop, FALSE, &radio);
}

HMENU StopWatchSubmenu(HMENU menu) {
  HMENU items = CreatePopupMenu();
  StopWatchItems(items, true);
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(items), "Stop &Watch");
  return items;
}

}  // namespace

TMainMenus::TMainMenus()
    : MainMenu1(CreateMenu()),
      File1(CreatePopupMenu()),
      PopupMenu1(CreatePopupMenu()),
      PopupMenu2(CreatePopupMenu()),
      PopupMenu3(CreatePopupMenu()) {
  Item(File1, cmSetup, "&Setup\tF4");
  Separator(File1);
  Item(File1, cmShowStopWatch, "&Show Stop Watch\tF5");
  StopWatchMenus[1] = StopWatchSubmenu(File1);
  Item(File1, cmStatusbar, "Statusbar\tF6");
  Item(File1, cmBrowseMode, "&Browse Mode\tF7");
  Separator(File1);
  Item(File1, cmExit, "E&xit");
  HMENU reports = CreatePopupMenu();
  Item(reports, cmBasicReports, "&Basic\tF2");
  Item(reports, cmAdvancedStats, "&Advanced\tF3");
  HMENU about = CreatePopupMenu();
  Item(about, cmAbout, "&About..\tF1");
  AppendMenuA(MainMenu1, MF_POPUP, reinterpret_cast<UINT_PTR>(File1), "&File");
  AppendMenuA(MainMenu1, MF_POPUP, reinterpret_cast<UINT_PTR>(reports), "&Reports");
  AppendMenuA(MainMenu1, MF_POPUP, reinterpret_cast<UINT_PTR>(about), "&About");

  Item(PopupMenu3, cmBasicReports, "Basic Reports\tF2");
  Item(PopupMenu3, cmAdvancedStats, "Advanced Stats\tF3");
  Separator(PopupMenu3);
  Item(PopupMenu3, cmSetup, "&Setup\tF4");
  Separator(PopupMenu3);
  Item(PopupMenu3, cmShowStopWatch, "&Show Stop Watch\tF5");
  StopWatchMenus[2] = StopWatchSubmenu(PopupMenu3);
  Item(PopupMenu3, cmStatusbar, "Statusbar\tF6");
  Item(PopupMenu3, cmBrowseMode, "Browse Mode\tF7");
  Separator(PopupMenu3);
  Item(PopupMenu3, cmMinimize, "Minimize");
  Separator(PopupMenu3);
  Item(PopupMenu3, cmExit, "E&xit");

  Item(PopupMenu1, cmRestore, "&Restore");
  Separator(PopupMenu1);
  HMENU trayReports = CreatePopupMenu();
  Item(trayReports, cmBasicReports, "Basic");
  Item(trayReports, cmAdvancedStats, "Advanced");
  AppendMenuA(PopupMenu1, MF_POPUP, reinterpret_cast<UINT_PTR>(trayReports), "Reports");
  Separator(PopupMenu1);
  Item(PopupMenu1, cmExit, "E&xit");

  StopWatchItems(PopupMenu2, false);
  StopWatchMenus[0] = PopupMenu2;

  // Statusbar is checked in the window's design.
  SetMenuCheck(File1, cmStatusbar, true);
  SetMenuCheck(PopupMenu3, cmStatusbar, true);
}

TMainMenus::~TMainMenus() {
  // The bar frees its sub-menus; the pop-ups are freed on their own.
  DestroyMenu(MainMenu1);
  DestroyMenu(PopupMenu1);
  DestroyMenu(PopupMenu2);
  DestroyMenu(PopupMenu3);
}

HACCEL CreateMainAccelerators() {
  ACCEL keys[] = {{FVIRTKEY, VK_F1, cmAbout},
                  {FVIRTKEY, VK_F2, cmBasicReports},
                  {FVIRTKEY, VK_F3, cmAdvancedStats},
                  {FVIRTKEY, VK_F4, cmSetup},
                  {FVIRTKEY, VK_F5, cmShowStopWatch},
                  {FVIRTKEY, VK_F6, cmStatusbar},
                  {FVIRTKEY, VK_F7, cmBrowseMode},
                  {FVIRTKEY, VK_F8, cmStopWatchToggle},
                  {FVIRTKEY | FSHIFT, VK_F8, cmStopWatchReset}};
  return CreateAcceleratorTableA(keys, sizeof keys / sizeof keys[0]);
}

void SetMenuCheck(HMENU menu, UINT command, bool checked) {
  CheckMenuItem(menu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}
