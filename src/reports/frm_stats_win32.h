#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "reports/connection_log.h"
#include "reports/stats_model.h"
#include "ui/buttons_win32.h"
#include "ui/combo_box_win32.h"
#include "ui/date_picker_win32.h"
#include "ui/dialog_win32.h"
#include "ui/edit_win32.h"
#include "ui/label_win32.h"
#include "ui/list_view_win32.h"
#include "ui/tab_control_win32.h"

// The advanced statistics: on "Details", a day and a month or a range of
// days, for one dial-up entry and for all; on "Dialup Connection Log", every
// connection of the log, sortable, its rows copied and exported as CSV from
// its menu. It reads the files and writes only what the user saves.
class TFrmStats : public TDialog {
 public:
  // folder: the program's folder. lastEntry: the entry last chosen, kept by
  // the owner for the whole run so that a new window comes back to it.
  TFrmStats(HWND owner, const std::string& folder, std::string& lastEntry);

  // The cells of a grid row: 0 and 1 the individual "Day" and period rows,
  // 2 and 3 the combined ones.
  std::vector<std::string> RowTexts(int row) const;
  const std::vector<std::string>& Entries() const { return FEntries; }
  TPTListView& LV3() { return *FLV3; }

  // Asks where to save the log; empty when the user cancels. By default the
  // system's save dialog, suggesting a name after the month of the
  // selected (or newest) connection.
  std::function<std::string()> AskExportPath;
  // The log list's menu: its selected rows to the clipboard, a line each,
  // and its rows in the order shown as a CSV file.
  void LV3CopyClick();
  void LV3ExportClick();

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  // The eight read-only cells of a group: a "Day" row and a period row.
  struct TGrid {
    std::array<std::unique_ptr<TEdit>, 8> Cells;
    std::unique_ptr<TLabel> PeriodLabel;
  };

  void CreateDetails(HWND page);
  void CreateGrid(HWND page, int top, TGrid& grid);
  void CreateLog(HWND page);
  void FormCreate();
  void NewDateClick();
  void ModeClick();
  void cIspClick();
  void ShowTotals();
  TStatsChoice Choice() const;
  void LV3ColumnClick(int column);
  std::string SuggestedName() const;
  void Note(const TReadNotes& notes);
  void TellNotes();

  std::string FFolder;
  std::string& FLastEntry;
  TConnectionLog FLog;
  std::vector<std::string> FEntries;
  std::set<std::string> FTold;       // what readings noted, told or to be told
  std::vector<std::string> FUntold;  // of those, what waits to be told

  std::unique_ptr<TTabControl> PageControl1;
  std::vector<std::unique_ptr<TControl>> FStatics;  // frames and captions
  std::unique_ptr<TRadioButton> r1, r2;
  std::unique_ptr<TDatePicker> DpMonth, StartDate, EndDate;
  std::unique_ptr<TComboBox> cIsp;
  TGrid FIndividual, FCombined;
  std::unique_ptr<TPTListView> FLV3;
  std::unique_ptr<TButton> bClose;
};
