#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "reports/read_notes.h"

// The commands of tallyline-cli beyond dump and pack, each given the
// arguments after its name. Each returns the exit status: 0 when it read
// everything asked for, 1 when a file could not be read whole (the rest is
// still printed). A usage error throws EUsage; a folder or file that cannot be
// used at all throws EFileProblem.

// A usage error: the argument, and what is wrong with it.
struct EUsage : std::runtime_error {
  EUsage(const std::string& argument, const std::string& reason)
      : std::runtime_error(argument + ": " + reason) {}
  // Wrong for want of an argument.
  explicit EUsage(const std::string& reason) : std::runtime_error(reason) {}
};

// A file or folder that cannot be used; the message names it and the reason.
struct EFileProblem : std::runtime_error {
  EFileProblem(const std::string& path, const std::string& reason)
      : std::runtime_error(path + ": " + reason) {}
};

// The usage asked for, with --help or -h where an option may stand.
struct EHelp : std::exception {};
bool IsHelpOption(const std::string& argument);

// report daily|weekly|monthly|yearly|hourly|top [--day YYYY-MM-DD] [--count N]
//        [--entry KEY] [--folder DIR] [--csv|--json]
int ReportCommand(int argc, char** argv);
extern const char* const kReportUsage;

// stats [--folder DIR] (--month YYYY-MM-DD | --range YYYY-MM-DD YYYY-MM-DD)
//       [--entry NAME] [--csv|--json]
int StatsCommand(int argc, char** argv);
extern const char* const kStatsUsage;

// chart daily|weekly|monthly|yearly|hourly [--day D] [--from D --to D]
//       [--entry KEY] [--width W] [--height H] [--folder DIR] --out FILE.png
int ChartCommand(int argc, char** argv);
extern const char* const kChartUsage;

// log [--folder DIR] [--csv|--json]
int LogCommand(int argc, char** argv);
extern const char* const kLogUsage;

// quota [--folder DIR] [--today YYYY-MM-DD] [--csv|--json]
int QuotaCommand(int argc, char** argv);
extern const char* const kQuotaUsage;

// A command's arguments, taken from the left; "--" ends the options.
class TArguments {
 public:
  TArguments(int argc, char** argv);
  bool AtEnd() const { return FNext == FArgs.size(); }
  // Takes the next argument and the count arguments after it (its values)
  // when it is option; a usage error when fewer follow.
  bool Take(const char* option, size_t count = 0);
  // Takes the next argument when it is no option: after "--" any, before it
  // one that neither begins with "--" nor asks for help.
  bool TakePlain();
  // Throws for the next argument, which nothing took: EHelp when it asks for
  // help, else the usage error.
  [[noreturn]] void Unexpected() const;
  // The values of the option taken last.
  const std::vector<std::string>& Values() const { return FValues; }

 private:
  // Moves on by count arguments, and past a "--" that ends the options.
  void Advance(size_t count);

  std::vector<std::string> FArgs;
  size_t FNext = 0;
  bool FOptionsEnded = false;
  std::vector<std::string> FValues;
};

// The folder argument, not empty, as the program's folder: with a trailing
// delimiter.
std::string FolderArgument(std::string folder);

// The options of the commands over the program's folder.
struct TFolderOptions {
  std::string Folder = FolderArgument(".");  // --folder DIR
  bool Csv = false;                          // --csv
  bool Json = false;                         // --json
};

// Reads the arguments into options: --folder DIR, --csv or --json, and any other
// through other, which takes it from the arguments or returns false. A usage
// error for an argument that none takes, or a value missing.
void ReadFolderOptions(int argc, char** argv, TFolderOptions& options,
                       const std::function<bool(TArguments&)>& other = {});
// An EFileProblem when the folder (with its trailing delimiter) is none, or
// not the program's: it holds none of its files.
void RequireFolder(const std::string& folder);

// A report's list by its name in lower case: a TReportTab, or kHourlyList
// for "hourly"; -1 for none.
int ReportListNamed(const std::string& name);

// Takes --entry KEY into entry, once and not empty.
bool TakeEntry(TArguments& args, std::string& entry);

// The day serial of the date option's value written YYYY-MM-DD; a usage
// error for anything else.
int ParseDay(const std::string& option, const std::string& text);

// Tells on standard error what a reader noted; the exit status: 1 when a
// file could not be read whole, else 0.
int TellNotes(const TReadNotes& notes);

// Standard output without the line-break translation of Windows.
void BinaryStandardOutput();
// Writes a JSON document to standard output, ending with a line break.
void PrintJson(const std::string& json);
