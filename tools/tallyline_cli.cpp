// tallyline-cli: the program's files without its window.
//
//   tallyline-cli dump FILE [--password P]
//       prints the text of a settings or month file, plain or container
//   tallyline-cli pack IN OUT [--compress] [--password P]
//       writes the text of IN to OUT in the container form
//   tallyline-cli report daily|weekly|monthly|yearly [--folder DIR] [--csv|--json]
//       prints the rows of the basic reports over the month files in DIR\data
//       (DIR: the program's folder, by default the current one), or their
//       export with --csv; the report and the options in any order
//   tallyline-cli report hourly [--day YYYY-MM-DD] [--folder DIR] [--csv|--json]
//       prints the hours of the day (by default today); a day without hours
//       is said on standard error and is no failure
//   tallyline-cli report top [--count N] [--folder DIR] [--csv|--json]
//       prints the N days (by default 10) with the largest totals, largest first
//   --entry KEY after any report: the same rows of that one entry (a
//       phone-book entry or an adapter's key) instead of the totals; an entry
//       without figures is said on standard error and is no failure
//   tallyline-cli chart daily|weekly|monthly|yearly|hourly [--day YYYY-MM-DD]
//                       [--from YYYY-MM-DD --to YYYY-MM-DD] [--entry KEY]
//                       [--width W] [--height H] [--folder DIR] --out FILE.png
//       writes the chart of the report window's tab as a PNG file (by
//       default 640 x 240 pixels): the days, weeks, months or years from
//       --from to --to, by default those the window shows first (the month,
//       year or years of the newest row), or the hours of --day (today by
//       default); on Windows only
//   tallyline-cli stats [--folder DIR] (--month YYYY-MM-DD | --range YYYY-MM-DD YYYY-MM-DD)
//                       [--entry NAME] [--csv|--json]
//       prints the entries offered and the day and period totals of the
//       statistics window for the month of a day or a range of days, the entry
//       rows for the entry named (zeros when it is not offered), or the totals
//       as plain numbers with --csv
//   tallyline-cli log [--folder DIR] [--csv|--json]
//       prints the connection log newest first, or its export with --csv
//   tallyline-cli quota [--folder DIR] [--today YYYY-MM-DD] [--csv|--json]
//       prints the billing period that holds the day (by default today) and
//       the data quota's figures, as the settings in DIR set the quota, or
//       one line of plain values with --csv
//
// --json prints one JSON document instead, ending with a line break: the
// export's columns as keys in lower case (a report row's "start" is its first
// day, yyyy-mm-dd, and a row of hours adds "THH:00"), numbers as numbers,
// texts in UTF-8.
//   tallyline-cli --version
//       prints the program's name and version
//   tallyline-cli --help (or -h, where an option may stand)
//       prints the usage
// "--" ends the options: what follows is plain arguments.
//
// Data goes to standard output, notices to standard error. Exit status 0
// when everything asked for was read and written; 1 when a file or folder
// cannot be read or written, or only in part (a line on standard error
// names it and the reason; what could be read is still printed, and pack
// writes nothing), when the folder is not the program's, or when standard
// output cannot be written; 2 on a usage error, told first in a line
// "tallyline-cli: ARGUMENT: REASON", then the usage.
#include <csignal>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/product.h"
#include "cli_commands.h"
#include "platform/files.h"
#include "storage/ini_file.h"
#include "storage/text_lines.h"

namespace {

struct TOptions {
  std::vector<std::string> Files;
  std::string Password;
  bool Compress = false;
};

void PrintUsage(FILE* to) {
  std::fputs(
      "usage: tallyline-cli dump FILE [--password P]\n"
      "       tallyline-cli pack IN OUT [--compress] [--password P]\n"
      "       tallyline-cli --version\n"
      "       tallyline-cli --help\n",
      to);
  for (const char* usage : {kReportUsage, kChartUsage, kStatsUsage, kLogUsage, kQuotaUsage})
    std::fputs(usage, to);
  std::fputs(
      "DIR is the program's folder, with data, Connection.log or settings.ini;\n"
      "without --folder, the current folder.\n",
      to);
}

// The commands that read their own arguments.
const std::map<std::string, int (*)(int, char**)> kCommands = {{"report", ReportCommand},
                                                               {"chart", ChartCommand},
                                                               {"stats", StatsCommand},
                                                               {"log", LogCommand},
                                                               {"quota", QuotaCommand}};

// dump's one file, or pack's two, and their options.
TOptions ReadOptions(int argc, char** argv, size_t files) {
  TOptions options;
  TArguments args(argc - 2, argv + 2);
  while (!args.AtEnd()) {
    if (files == 2 && args.Take("--compress"))
      options.Compress = true;
    else if (args.Take("--password", 1))
      options.Password = args.Values()[0];
    else if (options.Files.size() < files && args.TakePlain())
      options.Files.push_back(args.Values()[0]);
    else
      args.Unexpected();
  }
  if (options.Files.size() < files)
    throw EUsage(argv[1], files == 1 ? "needs a FILE" : "needs IN and OUT");
  return options;
}

// Reads a file, which must be there, through the file class, which never
// writes one it cannot read.
void Load(TIniFile32& file, const std::string& password) {
  const std::string& path = file.FileName();
  if (!FileExists(path))
    throw EFileProblem(path, PathExists(path) ? "is a folder" : "no such file");
  file.Password = password;
  file.Refresh();
  if (!file.Loaded()) throw EFileProblem(path, file.LastLoadError());
}

// The same for a file that must be read whole.
void LoadWhole(TIniFile32& file, const std::string& password) {
  Load(file, password);
  if (file.Damaged()) throw EFileProblem(file.FileName(), file.LastLoadError());
}

// What could be read is printed; text after a NUL byte is named as damage.
int Dump(const TOptions& options) {
  TIniFile32 file(options.Files[0], true);
  Load(file, options.Password);
  for (const std::string& line : file.Lines()) std::printf("%s\n", line.c_str());
  TReadNotes notes;
  NoteDamage(file, notes);
  return TellNotes(notes);
}

// Packing part of a file would lose the rest.
int Pack(const TOptions& options) {
  TIniFile32 in(options.Files[0], true);
  LoadWhole(in, options.Password);
  TIniFile32 out(options.Files[1], true);
  // An existing target must be readable, all of it: it is never written over blindly.
  if (PathExists(out.FileName())) LoadWhole(out, options.Password);
  out.Compressed = options.Compress;
  out.Encrypted = !options.Password.empty();
  out.Password = options.Password;
  out.SetText(JoinLines(in.Lines()));
  out.UpdateFile();
  if (out.Modified())
    throw EFileProblem(out.FileName(), "cannot be written (no such folder, read-only or in use)");
  return 0;
}

int Run(int argc, char** argv) {
  if (argc < 2) throw EUsage("a command is needed");
  const std::string command = argv[1];
  if (IsHelpOption(command)) throw EHelp();
  if (command == "--version") {
    if (const TArguments args(argc - 2, argv + 2); !args.AtEnd()) args.Unexpected();
    std::printf("%s %s\n", kAppTitle, kAppVersion);
    return 0;
  }
  if (const auto own = kCommands.find(command); own != kCommands.end())
    return own->second(argc - 2, argv + 2);
  if (command == "dump") return Dump(ReadOptions(argc, argv, 1));
  if (command == "pack") return Pack(ReadOptions(argc, argv, 2));
  throw EUsage(command, "unknown command");
}

}  // namespace

int main(int argc, char** argv) {
#ifndef _WIN32
  // A closed pipe is a write that fails, told like any other.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  int status;
  try {
    status = Run(argc, argv);
  } catch (const EHelp&) {
    PrintUsage(stdout);
    status = 0;
  } catch (const EUsage& e) {
    std::fprintf(stderr, "tallyline-cli: %s\n", e.what());
    PrintUsage(stderr);
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tallyline-cli: %s\n", e.what());
    return 1;
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fputs("tallyline-cli: standard output cannot be written\n", stderr);
    return 1;
  }
  return status;
}
