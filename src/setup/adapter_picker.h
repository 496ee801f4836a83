#pragma once

#include <string>
#include <vector>

#include "traffic/adapter_choice.h"
#include "traffic/adapters.h"

// How the Network page counts adapters: the one selected, those ticked, or
// all that carry their own traffic.
enum TAdapterMode { amOne, amTicked, amAll };

// A row of the page's adapter list: a listed adapter, or a chosen one that
// the interface table lacks now (unplugged), so that a choice is never lost
// unseen.
struct TAdapterRow {
  TNicItem Item;
  std::string Key;
  bool Present = true;
};

// The Network page's adapters without the window: the rows, the way of
// counting and the ticks the user chose, what each row shows, and the
// choice Apply takes.
class TAdapterPicker {
 public:
  TAdapterPicker(const TAdapterList& list, const TAdapterChoice& choice);

  const std::vector<TAdapterRow>& Rows() const { return FRows; }
  TAdapterMode Mode() const { return FMode; }
  // Ticked starts from the ticks of the last set, or else from what the
  // mode left showed.
  void SetMode(TAdapterMode mode);
  int Selected() const { return FSelected; }  // -1 for none
  // With one adapter, the selected row is the one counted.
  void Select(int row);
  // The tick a row shows: counted under the mode as it is.
  bool Counted(int row) const;
  // Ticks or unticks a row, in a set that starts from the ticks shown: a
  // tick under one adapter or all of them makes a set of those and this one.
  void Toggle(int row);
  // The list's "Counted" column: "yes", "no", why all adapters leave the row
  // out, or that it is absent.
  std::string Status(int row) const;
  // A sentence on a row that is absent, or that all adapters leave out;
  // empty for the others.
  std::string Explanation(int row) const;
  // What Apply writes: no keys with one adapter and no row selected, or a
  // set with no tick.
  TAdapterChoice Choice() const;

 private:
  std::vector<std::string> ShownTicks() const;
  int RowOf(const std::string& key) const;

  std::vector<TAdapterRow> FRows;
  TAdapterMode FMode = amOne;
  int FSelected = -1;
  std::vector<std::string> FTicked;  // in the order ticked
};
