#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/control_win32.h"
#include "ui/handle_guards_win32.h"

struct TListColumn {
  std::string Caption;
  int Width = 90;
  bool RightAligned = false;
};

// Rows under column headers: the system's list view in its report style,
// with grid lines and whole-row selection. A row is a caption (the first
// column, which the user may edit in place) and a pointer to the caller's
// data, kept by the control; the other cells are asked for (OnGetText)
// whenever they are shown and never stored. Rows are named by their display
// position, which a sort changes.
class TPTListView : public TControl {
 public:
  // Rows are rowHeight pixels high, or as high as the font needs for 0.
  TPTListView(const TControlArgs& args, const std::vector<TListColumn>& columns, int rowHeight = 0);

  // Adds a row at the end and returns its position; data stays the caller's.
  int AddItem(const std::string& caption, const void* data);
  void Clear();
  int Count() const;
  const void* Data(int index) const;
  std::string Caption(int index) const;   // as shown, edited in place perhaps
  int Selected() const;                   // the first selected row; -1 for none
  std::vector<int> SelectedRows() const;  // every selected row, in display order
  void SetSelected(int index);            // the only one selected, scrolled into view; -1 for none
  void SelectAll();                       // as Ctrl+A does
  int FocusedRow() const;                 // the row with the focus rectangle; -1 for none
  void SetColumnWidth(int column, int width);
  void SetColumnCaption(int column, const std::string& caption);
  int ColumnWidth(int column) const;
  int ColumnCount() const;
  // How wide column must be to show every row's text in it whole, and its
  // caption with the sort arrow beside it, in the list's font.
  int TextWidth(int column) const;
  int VisibleRows() const;  // how many whole rows fit in view
  int TopRow() const;       // the display position of the first row in view
  // Painting waits from the first BeginUpdate to the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();

  // The text of a row's cell in column 1 and on.
  std::function<std::string(const void* data, int column)> OnGetText;
  // A row's background, asked for before it paints, with its display position.
  std::function<COLORREF(const void* data, int position)> OnPTCustomDraw;
  // The user clicked a column's header.
  std::function<void(int column)> OnColumnClick;
  // Ctrl+C in the list. (Ctrl+A selects every row.)
  std::function<void()> OnCopy;
  // The selection, the order or the rows in view may have changed; called
  // once the list has taken the change in.
  std::function<void()> OnViewChange;

  // Orders the rows by compare over their data, which receives parameter
  // too (negative: a before b); rows that compare equal keep their order.
  using TCompare = int (*)(const void* a, const void* b, int32_t parameter);
  void Sort(TCompare compare, int32_t parameter);
  // Where ShowSortArrow puts the arrow: up in SortColumn's header while
  // SortDirection holds, down otherwise; -1 for no column.
  int SortColumn = -1;
  bool SortDirection = true;
  void ShowSortArrow();
  // "Sort &by" at the end of menu: a submenu with an item per column, by its
  // caption, the sort column's checked; an item's command is firstCommand +
  // its column. SortMenuCommand runs such a command as a click on that
  // column's header runs (OnColumnClick), and is false for any other.
  void AppendSortMenu(HMENU menu, UINT firstCommand) const;
  bool SortMenuCommand(UINT command, UINT firstCommand);

  // A right click or the menu key (or Shift+F10), in screen coordinates: at
  // the pointer, or for a key at the selected row (at the focused one when
  // none is selected, at the list's corner when none is focused either).
  std::function<void(int x, int y)> OnContextMenu;

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DpiChanged(int fromDpi, int toDpi) override;

 private:
  struct TRow {
    std::string Caption;
    const void* Data;
  };
  void SetRowHeight(int rowHeight);
  void ShowRowCount();
  bool CustomDraw(NMLVCUSTOMDRAW& draw, LRESULT& result) const;
  void GetText(LVITEMA& item) const;
  std::string CellText(int row, int column) const;
  bool EndLabelEdit(const LVITEMA& item);
  POINT MenuKeyPoint() const;
  HWND Header() const;
  void ViewChanged();
  void ShowFocus();

  std::vector<TRow> FRows;             // in display order
  std::vector<std::string> FCaptions;  // by column
  std::vector<bool> FRightAligned;
  int FUpdates = 0;
  TOwnedImageList FRowImages;  // none, only their height: the rows'
  int FRowHeight = 0;          // 0: as high as the font needs
  bool FViewChangePosted = false;
};
