#include "reports/report_list_win32.h"

#include <cstring>

#include "ui/common_dialogs_win32.h"
#include "ui/form_win32.h"
#include "ui/handle_guards_win32.h"
#include "ui/image_file_win32.h"

namespace {

enum : UINT { cmCopy = 1, cmExport, cmCopyChart, cmSaveChart, cmSelectAll, cmSortBy = 100 };

void Run(HWND owner, const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    ShowException(owner, e.what());
  }
}

}  // namespace

void ShowReportListMenu(HWND owner, TPTListView& list, const TReportListActions& actions, int x,
                        int y) {
  const TOwnedMenu menu(CreatePopupMenu());
  const UINT copy = list.Selected() >= 0 ? MF_STRING : MF_STRING | MF_GRAYED;
  AppendMenuA(menu.Get(), copy, cmCopy, "&Copy to Clipboard\tCtrl+C");
  AppendMenuA(menu.Get(), MF_STRING, cmExport, "&Export Report..");
  if (actions.CopyChart) {
    AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.Get(), MF_STRING, cmCopyChart, "Copy c&hart");
    AppendMenuA(menu.Get(), MF_STRING, cmSaveChart,
                CanWritePng() ? "Save chart as &PNG..." : "Save chart as bit&map...");
  }
  AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.Get(), MF_STRING, cmSelectAll, "Select &All\tCtrl+A");
  list.AppendSortMenu(menu.Get(), cmSortBy);
  const auto command = static_cast<UINT>(TrackPopupMenu(
      menu.Get(), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, owner, nullptr));
  switch (command) {
    case cmCopy: Run(owner, actions.Copy); break;
    case cmExport: Run(owner, actions.Export); break;
    case cmCopyChart: Run(owner, actions.CopyChart); break;
    case cmSaveChart: Run(owner, actions.SaveChart); break;
    case cmSelectAll: list.SelectAll(); break;
    default: list.SortMenuCommand(command, cmSortBy);
  }
}

void CopyTextToClipboard(HWND owner, const std::string& text) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}
