#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "reports/quota.h"
#include "reports/report_chart_win32.h"
#include "reports/report_model.h"
#include "reports/save_names.h"
#include "ui/dialog_win32.h"
#include "ui/handle_guards_win32.h"
#include "ui/list_view_win32.h"
#include "ui/tab_control_win32.h"

// The basic reports: the usage totals of every recorded day, by day, week,
// month and year, the hours of a day, and by billing period while the quota
// is watched, a tab each; each list sortable by its columns under a chart
// of its rows, with rows copied to the clipboard, a tab exported as CSV,
// its chart copied or saved, and its order chosen from the lists' menu. It
// reads the month files once, when it opens (a day's hours when the day is
// chosen), and writes only what the user saves.
class TFrmReport : public TDialog {
 public:
  // folder: the program's folder, which holds "data"; quota: whether the
  // billing periods show, and on which day they start; look: the graph's
  // colours, for the charts.
  TFrmReport(HWND owner, const std::string& folder, const TQuotaSettings& quota,
             const TChartLook& look);

  // Asks where to save; empty when the user cancels. By default the
  // system's save dialog, for the export's CSV and for the chart's picture,
  // suggesting a name after the tab and the period of its selected (or
  // newest) row.
  std::function<std::string()> AskExportPath;
  std::function<std::string()> AskChartPath;

  // A tab's list and chart: daily, weekly, monthly, yearly, hourly (the
  // hours of the day chosen in the daily list, or of the last day), then the
  // billing periods' while the quota is watched.
  static constexpr int kHourlyTab = kHourlyList;
  static constexpr int kBillingPeriodsTab = kBillingPeriodsList;
  int TabCount() const { return static_cast<int>(FLists.size()); }
  TPTListView& List(int tab) { return *FLists[tab]; }
  TReportChart& Chart(int tab) { return *FCharts[tab]; }
  int ActiveTab() const { return PC->TabIndex(); }
  void mnuCopyClick();
  void ExporttoCSV1Click();
  void CopyChartClick();
  void SaveChartClick();

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void DpiChanged(int fromDpi) override;

 private:
  TPTListView& CreateList(std::vector<TListColumn> columns, TPTListView::TCompare compare);
  void CreateReportList(const char* firstColumn, const std::vector<TReportRow>& rows);
  void CreateBillingList();
  TChart ChartOf(int tab) const;
  void ShowHoursOf(int day);
  void FormResize();
  void FitColumns(TPTListView& list);
  void FitBillingColumns();
  void WidenForBillingColumns();
  void LV_ColumnClick(TPTListView& list, TPTListView::TCompare compare, int column);
  void ShowPopupMenu(TPTListView& list, int x, int y);
  std::string SuggestedName(const char* extension) const;
  void TellWhatWasLeftOut();

  std::string FFolder;
  TReport FReport;
  std::vector<TReportRow> FHourly;
  int FHourlyDay = 0;  // the day whose hours show; 0: none yet
  std::vector<TBillingPeriodRow> FBillingPeriods;
  TQuotaSettings FQuota;
  TChartLook FLook;
  std::unique_ptr<TTabControl> PC;
  std::vector<std::unique_ptr<TPTListView>> FLists;
  std::vector<std::unique_ptr<TReportChart>> FCharts;  // by tab, with their lists
};
