// The list the report and statistics windows show, worked as they and their
// users work it.
#include "ui/list_view_win32.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "driver/window_driver_win32.h"
#include "ui/force_foreground_win32.h"
#include "ui/handle_guards_win32.h"
#include "win32/test_forms_win32.h"

namespace {

struct TRow {
  std::string Day;
  int Bytes;
};

// By bytes, ascending for a positive parameter, descending for a negative one.
int CompareBytes(const void* a, const void* b, int32_t parameter) {
  return parameter * (static_cast<const TRow*>(a)->Bytes - static_cast<const TRow*>(b)->Bytes);
}

RECT RowRect(const TPTListView& list, int row) {
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  SendMessageA(list.Handle(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

// Each header item's alignment and sort arrow.
std::vector<int> Formats(HWND header) {
  std::vector<int> formats;
  for (int i = 0; i < SendMessageA(header, HDM_GETITEMCOUNT, 0, 0); ++i) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    formats.push_back(item.fmt & (HDF_JUSTIFYMASK | HDF_SORTUP | HDF_SORTDOWN));
  }
  return formats;
}

class ListViewTest : public testing::Test {
 protected:
  TControlArgs Args() const {
    TControlArgs args;
    args.Parent = Form.Handle();
    args.Left = args.Top = 10;
    args.Width = 330;
    args.Height = 260;
    args.ExStyle = WS_EX_CLIENTEDGE;
    args.Font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return args;
  }
  // Days whose bytes come in a shuffled order: 1017, 8017, 3017, ... for 12.
  static std::vector<TRow> Rows(int count) {
    std::vector<TRow> rows;
    for (int i = 0; i < count; ++i) {
      const int day = 7 * i % count + 1;
      rows.push_back({std::to_string(day) + ".12.2026", 1000 * day + 17});
    }
    return rows;
  }
  static void AddAll(TPTListView& list, const std::vector<TRow>& rows) {
    for (const TRow& row : rows) list.AddItem(row.Day, &row);
  }

  TTestForm Form{"TListViewTestForm", "List view", RECT{50, 50, 410, 350}};
  const std::vector<TListColumn> Columns{{"Day", 100}, {"Received", 90, true}, {"Note", 100}};
};

TEST_F(ListViewTest, CellsAreAskedForOnlyWhenTheirRowsAreShown) {
  const std::vector<TRow> rows = Rows(100);
  TPTListView list(Args(), Columns);
  std::set<const void*> asked;
  list.OnGetText = [&](const void* data, int column) {
    asked.insert(data);
    return std::to_string(column) + ":" + static_cast<const TRow*>(data)->Day;
  };
  list.BeginUpdate();
  list.BeginUpdate();
  AddAll(list, rows);
  list.EndUpdate();
  PumpMessages(100);
  EXPECT_TRUE(asked.empty());  // painting waits for the outer update
  list.EndUpdate();
  PumpMessages(100);
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(*asked.begin(), &rows[0]);
  EXPECT_LE(*asked.rbegin(), &rows[list.VisibleRows()]);  // the row partly in view at most

  list.SetSelected(99);
  PumpMessages(100);
  EXPECT_TRUE(asked.count(&rows[99]));
  char text[64] = {};
  LVITEMA cell{0, 0, 2, 0, 0, text, sizeof text};
  SendMessageA(list.Handle(), LVM_GETITEMTEXTA, 99, reinterpret_cast<LPARAM>(&cell));
  EXPECT_EQ(text, "2:" + rows[99].Day);
}

// Banded and sorted by bytes, descending, saved for the eye as list_view.bmp
// in the folder TALLYLINE_SCREENSHOTS names.
TEST_F(ListViewTest, RowColoursFollowTheDisplayOrderAfterASort) {
  const COLORREF even = RGB(255, 248, 220), odd = RGB(220, 235, 255);
  const std::vector<TRow> rows = Rows(12);
  TPTListView list(Args(), Columns);
  list.OnGetText = [](const void* data, int column) {
    return column == 1 ? std::to_string(static_cast<const TRow*>(data)->Bytes) : "";
  };
  list.OnPTCustomDraw = [&](const void*, int position) { return position % 2 ? odd : even; };
  AddAll(list, rows);
  list.Sort(CompareBytes, -1);
  list.SortColumn = 1;
  list.SortDirection = false;
  list.ShowSortArrow();
  ForceForegroundWindow(Form.Handle(), false);
  PumpMessages(300);

  // The first two rows were added sixth and eleventh: colours by the order of
  // adding would be the other way round.
  const TWindowDC dc(list.Handle());
  for (int i = 0; i < 2; ++i) {
    const RECT row = RowRect(list, i);
    EXPECT_EQ(GetPixel(dc.Get(), 90, (row.top + row.bottom) / 2), i ? odd : even) << i;
  }
  if (const char* folder = std::getenv("TALLYLINE_SCREENSHOTS")) {
    EXPECT_TRUE(SaveScreenshot(Form.Handle(), std::string("Z:") + folder + "/list_view.bmp"));
  }
}

TEST_F(ListViewTest, HeaderClickSortsByTheComparisonAndShowsTheArrow) {
  const std::vector<TRow> rows{{"a", 3}, {"b", 1}, {"c", 2}};
  TPTListView list(Args(), Columns);
  AddAll(list, rows);
  std::vector<int> clicks;
  list.OnColumnClick = [&](int column) { clicks.push_back(column); };
  HWND header = FindChild(list.Handle(), WC_HEADERA);
  RECT item{};
  SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  const LPARAM middle = MAKELPARAM((item.left + item.right) / 2, item.bottom / 2);
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  SendMessageA(header, WM_LBUTTONUP, 0, middle);
  EXPECT_EQ(clicks, std::vector<int>{1});

  const auto order = [&] { return std::vector{list.Data(0), list.Data(1), list.Data(2)}; };
  list.Sort(CompareBytes, 1);
  EXPECT_EQ(order(), (std::vector<const void*>{&rows[1], &rows[2], &rows[0]}));
  list.Sort(CompareBytes, -1);
  EXPECT_EQ(order(), (std::vector<const void*>{&rows[0], &rows[2], &rows[1]}));
  // Thrown on from the sort, not through the list view's window procedure.
  const auto failing = [](const void*, const void*, int32_t) -> int { throw std::exception(); };
  EXPECT_THROW(list.Sort(failing, 0), std::exception);

  list.SortColumn = 1;
  list.ShowSortArrow();
  EXPECT_EQ(Formats(header), (std::vector<int>{HDF_LEFT, HDF_RIGHT | HDF_SORTUP, HDF_LEFT}));
  list.SortDirection = !list.SortDirection;
  list.ShowSortArrow();
  EXPECT_EQ(Formats(header), (std::vector<int>{HDF_LEFT, HDF_RIGHT | HDF_SORTDOWN, HDF_LEFT}));
  list.SortColumn = 2;
  list.ShowSortArrow();
  EXPECT_EQ(Formats(header), (std::vector<int>{HDF_LEFT, HDF_RIGHT, HDF_LEFT | HDF_SORTDOWN}));
}

TEST_F(ListViewTest, EditingInPlaceChangesOnlyTheCaption) {
  const std::vector<TRow> rows = Rows(2);
  TPTListView list(Args(), Columns);
  AddAll(list, rows);
  HWND edit = reinterpret_cast<HWND>(SendMessageA(list.Handle(), LVM_EDITLABELA, 1, 0));
  ASSERT_TRUE(edit);
  SetWindowTextA(edit, "renamed");
  PressKey(edit, VK_RETURN);
  PumpMessages(100);
  EXPECT_EQ(std::tuple(list.Caption(0), list.Caption(1)), std::tuple(rows[0].Day, "renamed"));
  EXPECT_EQ(list.Data(1), &rows[1]);
}

TEST_F(ListViewTest, RowsAreAsHighAsAsked) {
  TPTListView list(Args(), Columns, 30);
  list.AddItem("tall", nullptr);
  const RECT row = RowRect(list, 0);
  EXPECT_EQ(row.bottom - row.top, 30);
  RECT client{}, header{};
  GetClientRect(list.Handle(), &client);
  GetClientRect(FindChild(list.Handle(), WC_HEADERA), &header);
  EXPECT_EQ(list.VisibleRows(), (client.bottom - header.bottom) / 30);
}

// The key sends no position: the menu comes at the selected row.
TEST_F(ListViewTest, MenuKeyOpensTheContextMenuAtTheSelectedRow) {
  const std::vector<TRow> rows = Rows(3);
  TPTListView list(Args(), Columns);
  AddAll(list, rows);
  POINT menu{-1, -1};
  list.OnContextMenu = [&](int x, int y) { menu = {x, y}; };
  list.SetSelected(1);
  PressKey(list.Handle(), VK_APPS);
  PumpMessages(100);
  const RECT row = RowRect(list, 1);
  POINT expected{row.left, row.bottom};
  ClientToScreen(list.Handle(), &expected);
  EXPECT_EQ(std::tuple(menu.x, menu.y), std::tuple(expected.x, expected.y));
}

// Taking the focus, a list with no focused row gives it to its first row in
// view, unselected; one with a focused row keeps it there.
TEST_F(ListViewTest, TheFocusShowsOnTheFirstRowInView) {
  const std::vector<TRow> rows = Rows(100);
  TPTListView list(Args(), Columns);
  AddAll(list, rows);
  SendMessageA(list.Handle(), LVM_ENSUREVISIBLE, 60, FALSE);
  ASSERT_GT(list.TopRow(), 0);
  SetFocus(list.Handle());
  EXPECT_EQ(list.FocusedRow(), list.TopRow());
  EXPECT_EQ(list.Selected(), -1);
  SetFocus(Form.Handle());
  list.SetSelected(3);
  SetFocus(list.Handle());
  EXPECT_EQ(list.FocusedRow(), 3);
  list.SelectAll();
  EXPECT_EQ(list.SelectedRows().size(), rows.size());
}

}  // namespace
