// tallyline-cli: the program's files without its window.
//
//   tallyline-cli dump FILE [--password P]
//       prints the text of a settings or month file, plain or container
//   tallyline-cli pack IN OUT [--compress] [--password P]
//       writes the text of IN to OUT in the container form
//   tallyline-cli report daily|weekly|monthly|yearly [--folder DIR] [--csv]
//       prints the rows of the basic reports over the month files in DIR\data
//       (DIR: the program's folder, by default the current one), or their
//       export with --csv
//   tallyline-cli stats [--folder DIR] (--month YYYY-MM-DD | --range YYYY-MM-DD YYYY-MM-DD)
//                       [--entry NAME] [--csv]
//       prints the entries offered and the day and period totals of the
//       statistics window for the month of a day or a range of days, the entry
//       rows for the entry named (zeros when it is not offered), or the totals
//       as plain numbers with --csv
//   tallyline-cli log [--folder DIR] [--csv]
//       prints the connection log newest first, or its export with --csv
//   tallyline-cli quota [--folder DIR] [--today YYYY-MM-DD] [--csv]
//       prints the billing period that holds the day (by default today) and
//       the data quota's figures, as the settings in DIR set the quota, or
//       one line of plain values with --csv
//   tallyline-cli --version
//       prints the program's name and version
//
// Exit status 0 on success, 1 when a file cannot be read or written (a line
// on standard error names the file and the reason, and nothing is written),
// 2 on a usage error.
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

// Raised for a file that cannot be used; the message gives the reason.
struct EFileProblem : std::runtime_error {
  EFileProblem(const std::string& file, const std::string& reason)
      : std::runtime_error(file + ": " + reason) {}
};

int Usage() {
  std::fputs(
      "usage: tallyline-cli dump FILE [--password P]\n"
      "       tallyline-cli pack IN OUT [--compress] [--password P]\n"
      "       tallyline-cli --version\n",
      stderr);
  for (const char* usage : {kReportUsage, kStatsUsage, kLogUsage, kQuotaUsage})
    std::fputs(usage, stderr);
  return 2;
}

// The commands that read their own arguments.
const std::map<std::string, int (*)(int, char**)> kCommands = {{"report", ReportCommand},
                                                               {"stats", StatsCommand},
                                                               {"log", LogCommand},
                                                               {"quota", QuotaCommand}};

bool ParseOptions(int argc, char** argv, TOptions& options) {
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--compress") {
      options.Compress = true;
    } else if (arg == "--password" && i + 1 < argc) {
      options.Password = argv[++i];
    } else if (arg.rfind("--", 0) == 0) {
      return false;
    } else {
      options.Files.push_back(arg);
    }
  }
  return true;
}

// Reads a file through the file class, which never writes one it cannot read.
void Load(TIniFile32& file, const std::string& password) {
  file.Password = password;
  file.Refresh();
  if (!file.Loaded()) throw EFileProblem(file.FileName(), file.LastLoadError());
}

std::vector<std::string> ReadLines(const std::string& path, const std::string& password) {
  if (!FileExists(path)) throw EFileProblem(path, "no such file");
  TIniFile32 file(path, true);
  Load(file, password);
  return file.Lines();
}

int Dump(const TOptions& options) {
  for (const std::string& line : ReadLines(options.Files[0], options.Password))
    std::printf("%s\n", line.c_str());
  return 0;
}

int Pack(const TOptions& options) {
  const std::string text = JoinLines(ReadLines(options.Files[0], options.Password));
  TIniFile32 out(options.Files[1], true);
  // An existing target must be readable, all of it: it is never written over blindly.
  if (PathExists(out.FileName())) {
    Load(out, options.Password);
    if (out.Damaged()) throw EFileProblem(out.FileName(), out.LastLoadError());
  }
  out.Compressed = options.Compress;
  out.Encrypted = !options.Password.empty();
  out.Password = options.Password;
  out.SetText(text);
  out.UpdateFile();
  if (out.Modified())
    throw EFileProblem(out.FileName(), "cannot be written (no such folder, read-only or in use)");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  if (command == "--version" && argc == 2) {
    std::printf("%s %s\n", kAppTitle, kAppVersion);
    return 0;
  }
  const auto own = kCommands.find(command);
  TOptions options;
  if (own == kCommands.end() && !ParseOptions(argc, argv, options)) return Usage();
  try {
    if (own != kCommands.end()) {
      const int status = own->second(argc - 2, argv + 2);
      return status == 2 ? Usage() : status;
    }
    if (command == "dump" && options.Files.size() == 1 && !options.Compress) return Dump(options);
    if (command == "pack" && options.Files.size() == 2) return Pack(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tallyline-cli: %s\n", e.what());
    return 1;
  }
  return Usage();
}
