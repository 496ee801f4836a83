#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "reports/quota.h"
#include "reports/report_model.h"
#include "ui/dialog_win32.h"
#include "ui/handle_guards_win32.h"
#include "ui/list_view_win32.h"
#include "ui/tab_control_win32.h"

// The basic reports: the usage totals of every recorded day, by day, week,
// month and year on four tabs, and by billing period on a fifth while the
// quota is watched, each sortable by its columns, with a row copied to the
// clipboard or a tab exported as CSV from the lists' menu. It reads the
// month files once, when it opens, and writes only the export.
class TFrmReport : public TDialog {
 public:
  // folder: the program's folder, which holds "data"; quota: whether the
  // billing periods show, and on which day they start.
  TFrmReport(HWND owner, const std::string& folder, const TQuotaSettings& quota);

  // Asks where to export; empty when the user cancels. By default the
  // system's save dialog.
  std::function<std::string()> AskExportPath;

  // A tab's list: by TReportTab, then the billing periods' while the quota
  // is watched.
  int TabCount() const { return static_cast<int>(FLists.size()); }
  TPTListView& List(int tab) { return *FLists[tab]; }
  int ActiveTab() const { return PC->TabIndex(); }
  void mnuCopyClick();
  void ExporttoCSV1Click();

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateList(const char* firstColumn, const std::vector<TReportRow>& rows);
  void FormResize();
  void FitColumns(TPTListView& list);
  void LV_ColumnClick(TPTListView& list, int column);
  void ShowPopupMenu(int x, int y);
  bool PopupMenu1Command(UINT command);
  void TellWhatWasLeftOut();
  std::string SaveDialog1();

  TReport FReport;
  std::vector<TReportRow> FBillingPeriods;
  std::unique_ptr<TTabControl> PC;
  std::vector<std::unique_ptr<TPTListView>> FLists;
  TOwnedMenu PopupMenu1;
};
