#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/control_win32.h"
#include "ui/form_win32.h"

// The area of one tab: a child window that holds the tab's controls, so
// their notifications reach them through it, and Tab moves into it.
class TTabPage : public TForm {
 public:
  TTabPage(HWND parent, const RECT& bounds);
};

// Ctrl+Tab and Ctrl+Shift+Tab in a dialog with tabs: the next or the
// previous page, shown as a click on its tab shows it, with the focus on the
// page's first control (the tabs for a page without one). False for any
// other message, or a dialog without tabs.
bool SwitchTabsByKey(HWND dialog, const MSG& msg);

// Tabs over pages; choosing a tab shows its page and hides the others.
class TTabControl : public TControl {
 public:
  TTabControl(const TControlArgs& args, const std::vector<std::string>& tabs);

  // The parent window for the controls of a tab's page.
  HWND Page(int index) const { return FPages[index]->Handle(); }
  int TabIndex() const;
  void SetTabIndex(int index);
  // Moves the tabs and their pages together.
  void SetBounds(int left, int top, int width, int height);

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DpiChanged(int fromDpi, int toDpi) override;

 private:
  void ShowPage(int index);
  void PlacePages(int left, int top, int width, int height);
  std::vector<std::unique_ptr<TTabPage>> FPages;
};
