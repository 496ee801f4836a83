#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "reports/report_model.h"

// The commands of tallyline-cli beyond dump and pack, each given the
// arguments after its name. Each returns the exit status: 0 when it did its
// work, 1 when a file could not be read, 2 on a usage error.

// report daily|weekly|monthly|yearly [--folder DIR] [--csv]
int ReportCommand(int argc, char** argv);
extern const char* const kReportUsage;

// stats [--folder DIR] (--month YYYY-MM-DD | --range YYYY-MM-DD YYYY-MM-DD)
//       [--entry NAME] [--csv]
int StatsCommand(int argc, char** argv);
extern const char* const kStatsUsage;

// log [--folder DIR] [--csv]
int LogCommand(int argc, char** argv);
extern const char* const kLogUsage;

// quota [--folder DIR] [--today YYYY-MM-DD] [--csv]
int QuotaCommand(int argc, char** argv);
extern const char* const kQuotaUsage;

// A command's arguments, taken from the left.
class TArguments {
 public:
  TArguments(int argc, char** argv) : FArgs(argv, argv + argc) {}
  bool AtEnd() const { return FNext == FArgs.size(); }
  // Takes the next argument and the count arguments after it (its values)
  // when it is option and that many follow.
  bool Take(const char* option, size_t count = 0);
  // The values of the option taken last.
  const std::vector<std::string>& Values() const { return FValues; }

 private:
  std::vector<std::string> FArgs;
  size_t FNext = 0;
  std::vector<std::string> FValues;
};

// The folder argument as the program's folder: with a trailing delimiter.
std::string FolderArgument(std::string folder);

// The options of the commands over the program's folder.
struct TFolderOptions {
  std::string Folder = FolderArgument(".");  // --folder DIR
  bool Csv = false;                          // --csv
};

// Reads the arguments into options: --folder DIR and --csv, and any other
// through other, which takes it from the arguments or returns false. False
// on a usage error: an argument that none takes, or a value missing.
bool ReadFolderOptions(int argc, char** argv, TFolderOptions& options,
                       const std::function<bool(TArguments&)>& other = {});

// The day serial of a date written YYYY-MM-DD; none for anything else.
std::optional<int> ParseDay(const std::string& text);

// Tells on standard error what a report left out: files it could not read,
// sections that are not days.
void TellWhatWasLeftOut(const TReport& report);

// Standard output without the line-break translation of Windows.
void BinaryStandardOutput();
