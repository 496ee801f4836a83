#include "traffic/adapter_choice.h"

#include <algorithm>

namespace {

constexpr const char* kSection = "NIC";

// "S" for the first key of a set, then "S2", "S3", ...
std::string KeyName(size_t position) {
  return position == 0 ? "S" : "S" + std::to_string(position + 1);
}

}  // namespace

bool TAdapterChoice::Chooses(const std::string& key) const {
  return std::find(Keys.begin(), Keys.end(), key) != Keys.end();
}

TAdapterChoice ReadAdapterChoice(TIniFile32& settings) {
  TAdapterChoice choice;
  choice.All = settings.ReadBool(kSection, "All", false);
  for (size_t position = 0;; ++position) {
    const std::string key = settings.ReadString(kSection, KeyName(position), "");
    if (key.empty()) break;
    if (!choice.Chooses(key)) choice.Keys.push_back(key);
  }
  return choice;
}

void WriteAdapterChoice(TIniFile32& settings, const TAdapterChoice& choice) {
  // A file that never counted all adapters stays as the one-adapter days wrote it.
  if (choice.All || !settings.ReadString(kSection, "All", "").empty())
    settings.WriteBool(kSection, "All", choice.All);
  if (choice.All || choice.Keys.empty()) return;
  for (size_t position = 0; position < choice.Keys.size(); ++position)
    settings.WriteString(kSection, KeyName(position), choice.Keys[position]);
  for (size_t position = choice.Keys.size();
       !settings.ReadString(kSection, KeyName(position), "").empty(); ++position)
    settings.DeleteKey(kSection, KeyName(position));
}
