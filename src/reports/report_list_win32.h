#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/list_view_win32.h"

// What the lists of the report windows share: their menu and the clipboard.

// What a report list's menu does. A list without a chart leaves the chart's
// actions empty, and its menu leaves their items out.
struct TReportListActions {
  std::function<void()> Copy;
  std::function<void()> Export;
  std::function<void()> CopyChart;
  std::function<void()> SaveChart;
};

// The menu of a report list, at x, y on the screen, over owner:
// "&Copy to Clipboard" (Ctrl+C, the selected rows), "&Export Report..",
// "Copy c&hart", "Save chart as &PNG..." ("as bit&map..." where no PNG can
// be written), "Select &All" (Ctrl+A) and "Sort &by"; runs what is chosen.
// What an action throws is shown in the standard error box, and the focus
// then goes back to the list.
void ShowReportListMenu(HWND owner, TPTListView& list, const TReportListActions& actions, int x,
                        int y);

// Text on the clipboard, owned by owner; the clipboard stays as it was when
// another program holds it.
void CopyTextToClipboard(HWND owner, const std::string& text);
