#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/control_win32.h"
#include "ui/handle_guards_win32.h"

struct THeaderSection {
  std::string Text;
  int Width = 0;
  bool TakesRest = false;  // as wide as the other sections leave (Width is not used)
  // As wide as the widest of its texts, the header's and the rows', in the
  // list's font (Width is not used).
  bool FitsText = false;
};

// A list box under a row of section headers: two windows, the header on top
// at the height its font needs and the list below, together within the
// bounds. An item's text is split at tabs into the sections' columns. The
// headers only label the columns: clicks do nothing there and the sections
// keep their widths, or fit their texts as the rows change. Room for the
// vertical scroll bar is kept to the right of the last section. While the
// list has the focus, the selected row is in the highlight colour and the
// focused row has a focus rectangle; without it the selection is in the
// button face's colour.
class THeaderListbox : public TControl {
 public:
  THeaderListbox(const TControlArgs& args, std::vector<THeaderSection> sections);

  void Clear();
  // Adds an item at the end and returns its index; the object stays the
  // caller's.
  int Add(const std::string& tabbedText, void* object);
  int Count() const;
  std::string Text(int index) const;
  void* Object(int index) const;
  int ItemIndex() const;  // -1 for none
  void SetItemIndex(int index);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  // The list's background; a system colour code (0x80000000 | COLOR_WINDOW)
  // is taken too.
  void SetListColor(COLORREF color);
  // These act on both windows.
  void SetBounds(int left, int top, int width, int height);
  void SetVisible(bool visible);

  // The user selected an item, with the mouse or the keyboard.
  std::function<void()> OnClick;

  // A check box at the start of each row, ticked as the owner says. Space on
  // the selected row, or a click on a row's box, asks the owner to toggle it.
  void SetChecks(const std::vector<bool>& checked);
  bool Checked(int index) const;
  std::function<void(int index)> OnToggle;

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DpiChanged(int fromDpi, int toDpi) override;

 private:
  void FitSections(int firstRow);
  void PlaceSections();
  void FitItemHeight();
  void DrawItem(const DRAWITEMSTRUCT& item) const;
  void DrawFields(HDC dc, const DRAWITEMSTRUCT& item) const;
  // A section's cell of a row, in the list's coordinates.
  RECT Cell(size_t section, const RECT& row) const;
  // The box of a row whose first cell is given.
  RECT CheckBox(const RECT& cell) const;
  // What the box and the gap after it take of the first cell.
  int CheckBoxSpace() const;

  std::vector<THeaderSection> FSections;
  TControl FHeader;
  COLORREF FListColor = 0;
  TGdiObject<HBRUSH> FListBrush;
  std::vector<bool> FChecks;  // empty: no check boxes
};
