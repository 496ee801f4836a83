// What the commands over the program's folder share: their options and
// their standard output.
#include "cli_commands.h"

#include <cctype>
#include <cstdio>

#include "base/product.h"
#include "platform/date_time.h"
#include "platform/files.h"
#include "reports/save_names.h"

#ifdef _WIN32
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

bool IsHelpOption(const std::string& argument) {
  return argument == "--help" || argument == "-h";
}

TArguments::TArguments(int argc, char** argv) : FArgs(argv, argv + argc) {
  Advance(0);
}

void TArguments::Advance(size_t count) {
  FNext += count;
  if (!FOptionsEnded && !AtEnd() && FArgs[FNext] == "--") {
    FOptionsEnded = true;
    ++FNext;
  }
}

bool TArguments::Take(const char* option, size_t count) {
  if (FOptionsEnded || AtEnd() || FArgs[FNext] != option) return false;
  if (FArgs.size() - FNext - 1 < count)
    throw EUsage(option,
                 count == 1 ? "needs a value" : "needs " + std::to_string(count) + " values");
  FValues.assign(FArgs.begin() + FNext + 1, FArgs.begin() + FNext + 1 + count);
  Advance(1 + count);
  return true;
}

bool TArguments::TakePlain() {
  if (AtEnd()) return false;
  const std::string& arg = FArgs[FNext];
  if (!FOptionsEnded && (arg.rfind("--", 0) == 0 || IsHelpOption(arg))) return false;
  FValues.assign(1, arg);
  Advance(1);
  return true;
}

void TArguments::Unexpected() const {
  const std::string& arg = FArgs[FNext];
  if (!FOptionsEnded && IsHelpOption(arg)) throw EHelp();
  const bool option = !FOptionsEnded && arg.rfind('-', 0) == 0;
  throw EUsage(arg, option ? "unknown option" : "unexpected argument");
}

namespace {

// The folder as the user finds it: the current one by its full name.
std::string FolderName(const std::string& path) {
  char current[4096];
  return path == "." && getcwd(current, sizeof current) ? current : path;
}

// --csv or --json: one output at a time.
void ChooseFormat(bool& chosen, bool other, const char* option) {
  if (other) throw EUsage(option, "only one of --csv and --json");
  chosen = true;
}

}  // namespace

void ReadFolderOptions(int argc, char** argv, TFolderOptions& options,
                       const std::function<bool(TArguments&)>& other) {
  TArguments args(argc, argv);
  while (!args.AtEnd()) {
    if (args.Take("--csv"))
      ChooseFormat(options.Csv, options.Json, "--csv");
    else if (args.Take("--json"))
      ChooseFormat(options.Json, options.Csv, "--json");
    else if (args.Take("--folder", 1))
      options.Folder = FolderArgument(args.Values()[0]);
    else if (!other || !other(args))
      args.Unexpected();
  }
}

// A folder that is not there is a mistake, most likely a typing one; one
// without any of the program's files is another folder, whose empty
// history would mislead.
void RequireFolder(const std::string& folder) {
  const std::string path = folder.substr(0, folder.size() - 1);
  if (!PathExists(folder) || FileExists(path)) throw EFileProblem(path, "no such folder");
  for (const char* name : {"data", "Connection.log", "settings.ini"})
    if (PathExists(folder + name)) return;
  const std::string notOurs = std::string("not ") + kAppTitle + "'s folder";
  throw EFileProblem(FolderName(path),
                     notOurs + " (no data, Connection.log or settings.ini in it)");
}

int ReportListNamed(const std::string& name) {
  if (name == "hourly") return kHourlyList;
  for (size_t i = 0; i < kReportTabNames.size(); ++i) {
    std::string lower = kReportTabNames[i];
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name == lower) return static_cast<int>(i);
  }
  return -1;
}

bool TakeEntry(TArguments& args, std::string& entry) {
  if (!args.Take("--entry", 1)) return false;
  if (!entry.empty()) throw EUsage("--entry", "only once");
  entry = args.Values()[0];
  // Empty would be the totals, which are asked for without --entry.
  if (entry.empty()) throw EUsage("--entry", "needs a value");
  return true;
}

std::string FolderArgument(std::string folder) {
  // Empty would read the current folder, which is asked for without --folder.
  if (folder.empty()) throw EUsage("--folder", "needs a value");
  if (folder.back() != PathDelim && folder.back() != '/') folder += PathDelim;
  return folder;
}

int ParseDay(const std::string& option, const std::string& text) {
  const std::string pattern = "0000-00-00";
  const EUsage notADate(option, text + " is not a date (YYYY-MM-DD)");
  if (text.size() != pattern.size()) throw notADate;
  for (size_t i = 0; i < text.size(); ++i)
    if (pattern[i] == '0' ? !std::isdigit(static_cast<unsigned char>(text[i]))
                          : text[i] != pattern[i])
      throw notADate;
  const int year = std::stoi(text.substr(0, 4)), month = std::stoi(text.substr(5, 2)),
            day = std::stoi(text.substr(8, 2));
  if (!IsValidDate(year, month, day)) throw notADate;
  return EncodeDaySerial(year, month, day);
}

int TellNotes(const TReadNotes& notes) {
  for (const std::string& text : notes.Texts())
    std::fprintf(stderr, "tallyline-cli: %s\n", text.c_str());
  return notes.Failed() ? 1 : 0;
}

void BinaryStandardOutput() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

void PrintJson(const std::string& json) {
  BinaryStandardOutput();
  std::fputs((json + "\n").c_str(), stdout);
}
