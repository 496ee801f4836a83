#include "traffic/owed_file.h"

#include <cstdio>
#include <cstdlib>
#include <random>

#include "storage/file_helpers.h"
#include "storage/ini_file.h"
#include "storage/text_lines.h"

namespace {

constexpr const char* kPrefix = "owed-";

// A date-time to the last bit, so that the amounts go to the hour they
// were counted in.
std::string TimeText(TDateTime time) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", time);
  return text;
}

std::string Line(const std::string& key, const std::string& value) {
  return key + "=" + value + "\r\n";
}

// The file's text without its generation: a section per record, the log's
// lines numbered.
std::string RecordsText(const TOwed& owed) {
  std::string text;
  for (size_t i = 0; i < owed.Calls.size(); ++i) {
    const TOwedCall& call = owed.Calls[i];
    text += "[Call" + std::to_string(i + 1) + "]\r\n" + Line("Day", TimeText(call.Day)) +
            Line("Entry", call.Entry);
  }
  for (size_t i = 0; i < owed.Totals.size(); ++i) {
    const TOwedTotals& t = owed.Totals[i];
    text += "[Totals" + std::to_string(i + 1) + "]\r\n" + Line("Counted", TimeText(t.Counted)) +
            Line("Entry", t.Entry) + Line("Seconds", std::to_string(t.Seconds)) +
            Line("Received", std::to_string(t.Received)) + Line("Sent", std::to_string(t.Sent));
  }
  if (owed.Log.empty()) return text;
  text += "[Log]\r\n";
  const std::vector<std::string> lines = SplitCrLfLines(owed.Log);
  for (size_t i = 0; i < lines.size(); ++i) text += Line(std::to_string(i + 1), lines[i]);
  return text;
}

TDateTime TimeOf(TIniFile32& file, const std::string& section, const char* key) {
  return std::strtod(file.ReadString(section, key, "0").c_str(), nullptr);
}

}  // namespace

std::string OwedMarker(const std::string& generation) {
  return "Hours.Owed." + generation;
}

TOwedFile::TOwedFile(const std::string& dataFolder, const std::string& run)
    : FPath(dataFolder + kPrefix + run + ".ini"), FLockPath(dataFolder + kPrefix + run + ".lock") {}

bool TOwedFile::Keep(const TOwed& owed) {
  if (owed.Empty()) {
    if (!FGeneration.empty()) Remove();
    return true;
  }
  const std::string text = RecordsText(owed);
  if (!FGeneration.empty() && text == FText) return true;
  if (!Hold()) return false;
  const std::string generation = UniqueName();
  if (!ReplaceFileText(FPath, "[Owed]\r\n" + Line("Generation", generation) + text)) return false;
  FGeneration = generation;
  FText = text;
  return true;
}

bool TOwedFile::Hold() {
  if (!FLock) FLock = TFile::CreateAlways(FLockPath);
  return FLock.has_value();
}

TOwed TOwedFile::Read() {
  TOwed owed;
  if (!FileExists(FPath)) return owed;
  TIniFile32 file(FPath, false);
  FGeneration = file.ReadString("Owed", "Generation", "");
  for (const std::string& section : file.ReadSections()) {
    const std::string entry = file.ReadString(section, "Entry", "");
    if (section.rfind("Call", 0) == 0) owed.Calls.push_back({TimeOf(file, section, "Day"), entry});
    if (section.rfind("Totals", 0) == 0)
      owed.Totals.push_back({TimeOf(file, section, "Counted"), entry,
                             static_cast<uint32_t>(file.ReadInt64(section, "Seconds", 0)),
                             file.ReadInt64(section, "Received", 0),
                             file.ReadInt64(section, "Sent", 0)});
  }
  for (const std::string& key : file.ReadSection("Log"))
    owed.Log += file.ReadString("Log", key, "") + "\r\n";
  FText = RecordsText(owed);
  return owed;
}

void TOwedFile::Remove() {
  if (!RemoveFile(FPath) && FileExists(FPath)) return;
  FGeneration.clear();
  FText.clear();
  FLock.reset();
  RemoveFile(FLockPath);
}

std::vector<std::string> OwedRuns(const std::string& dataFolder) {
  std::vector<std::string> files, runs;
  FindFiles(dataFolder, std::string(kPrefix) + "*.ini", files);
  for (const std::string& file : files) {
    const size_t start = file.rfind(kPrefix) + std::string(kPrefix).size();
    runs.push_back(file.substr(start, file.size() - start - 4));
  }
  return runs;
}

std::string UniqueName() {
  // The clock and where this process placed a variable too: some runtimes'
  // random device gives the same numbers in every process.
  static uint64_t mix = 0;
  static std::mt19937_64 random{std::random_device{}() ^
                                static_cast<uint64_t>(LocalNow() * 864000000.0) ^
                                reinterpret_cast<uintptr_t>(&mix)};
  char name[17];
  std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(random()));
  return name;
}
