#include "setup/adapter_picker.h"

#include <algorithm>
#include <array>

namespace {

struct TKindTexts {
  const char* Status;
  const char* Reason;
};
// By TAdapterKind.
constexpr std::array<TKindTexts, 5> kKindTexts = {{
    {"yes", ""},
    {"no: loopback", "The loopback interface carries what the computer sends itself."},
    {"no: tunnel", "A tunnel's traffic crosses another adapter as well."},
    {"no: virtual",
     "Windows marks it as no hardware (a VPN or virtual switch adapter): its traffic "
     "crosses another adapter as well."},
    {"no: filter", "A filter layer that Windows lists again for the same adapter."},
}};

// A chosen adapter the table lacks: its description and hardware address
// from its key.
TAdapterRow AbsentRow(const std::string& key) {
  TAdapterRow row;
  row.Key = key;
  row.Present = false;
  const size_t at = key.rfind(" @ ");
  row.Item.Description = at == std::string::npos ? key : key.substr(0, at);
  if (at != std::string::npos) row.Item.MAC = key.substr(at + 3);
  return row;
}

}  // namespace

TAdapterPicker::TAdapterPicker(const TAdapterList& list, const TAdapterChoice& choice) {
  for (const TNicItem& item : list.Items) FRows.push_back({item, AdapterKey(item), true});
  for (const std::string& key : choice.Keys)
    if (RowOf(key) < 0) FRows.push_back(AbsentRow(key));
  FTicked = choice.Keys;
  FMode = choice.All ? amAll : choice.Keys.size() > 1 ? amTicked : amOne;
  FSelected = choice.Keys.empty() ? -1 : RowOf(choice.Keys.front());
}

int TAdapterPicker::RowOf(const std::string& key) const {
  const auto found = std::find_if(FRows.begin(), FRows.end(),
                                  [&](const TAdapterRow& row) { return row.Key == key; });
  return found == FRows.end() ? -1 : static_cast<int>(found - FRows.begin());
}

std::vector<std::string> TAdapterPicker::ShownTicks() const {
  std::vector<std::string> keys;
  for (int row = 0; row < static_cast<int>(FRows.size()); ++row)
    if (Counted(row)) keys.push_back(FRows[row].Key);
  return keys;
}

void TAdapterPicker::SetMode(TAdapterMode mode) {
  if (mode == amTicked && FMode != amTicked && FTicked.empty()) FTicked = ShownTicks();
  FMode = mode;
}

void TAdapterPicker::Select(int row) {
  FSelected = row >= 0 && row < static_cast<int>(FRows.size()) ? row : -1;
}

bool TAdapterPicker::Counted(int row) const {
  const TAdapterRow& r = FRows[row];
  switch (FMode) {
    case amOne: return row == FSelected;
    case amTicked: return std::find(FTicked.begin(), FTicked.end(), r.Key) != FTicked.end();
    case amAll: return r.Present && r.Item.Kind == TAdapterKind::Own;
  }
  return false;
}

void TAdapterPicker::Toggle(int row) {
  if (row < 0 || row >= static_cast<int>(FRows.size())) return;
  if (FMode != amTicked) {
    FTicked = ShownTicks();
    FMode = amTicked;
  }
  const std::string& key = FRows[row].Key;
  const auto ticked = std::find(FTicked.begin(), FTicked.end(), key);
  if (ticked == FTicked.end())
    FTicked.push_back(key);
  else
    FTicked.erase(ticked);
}

std::string TAdapterPicker::Status(int row) const {
  if (!FRows[row].Present) return "absent";
  if (Counted(row)) return "yes";
  return FMode == amAll ? kKindTexts[static_cast<size_t>(FRows[row].Item.Kind)].Status : "no";
}

std::string TAdapterPicker::Explanation(int row) const {
  if (row < 0 || row >= static_cast<int>(FRows.size())) return std::string();
  const TAdapterRow& r = FRows[row];
  if (!r.Present) return "Not connected now: counted again as soon as it is back.";
  if (r.Item.Kind == TAdapterKind::Own) return std::string();
  return std::string(kKindTexts[static_cast<size_t>(r.Item.Kind)].Reason) +
         (Counted(row) ? " Counted because it is ticked."
                       : " All adapters leaves it out; tick it to count it all the same.");
}

TAdapterChoice TAdapterPicker::Choice() const {
  TAdapterChoice choice;
  choice.All = FMode == amAll;
  if (FMode == amOne && FSelected >= 0) choice.Keys = {FRows[FSelected].Key};
  if (FMode == amTicked) choice.Keys = FTicked;
  return choice;
}
