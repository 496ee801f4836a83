// What the commands over the program's folder share: their options and
// their standard output.
#include "cli_commands.h"

#include <cctype>
#include <cstdio>

#include "platform/date_time.h"
#include "platform/files.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

bool TArguments::Take(const char* option, size_t count) {
  if (AtEnd() || FArgs[FNext] != option || FArgs.size() - FNext - 1 < count) return false;
  FValues.assign(FArgs.begin() + FNext + 1, FArgs.begin() + FNext + 1 + count);
  FNext += 1 + count;
  return true;
}

bool ReadFolderOptions(int argc, char** argv, TFolderOptions& options,
                       const std::function<bool(TArguments&)>& other) {
  TArguments args(argc, argv);
  while (!args.AtEnd()) {
    if (args.Take("--csv"))
      options.Csv = true;
    else if (args.Take("--folder", 1))
      options.Folder = FolderArgument(args.Values()[0]);
    else if (!other || !other(args))
      return false;
  }
  return true;
}

std::string FolderArgument(std::string folder) {
  if (folder.empty()) folder = ".";
  if (folder.back() != PathDelim && folder.back() != '/') folder += PathDelim;
  return folder;
}

std::optional<int> ParseDay(const std::string& text) {
  const std::string pattern = "0000-00-00";
  if (text.size() != pattern.size()) return std::nullopt;
  for (size_t i = 0; i < text.size(); ++i)
    if (pattern[i] == '0' ? !std::isdigit(static_cast<unsigned char>(text[i]))
                          : text[i] != pattern[i])
      return std::nullopt;
  const int year = std::stoi(text.substr(0, 4)), month = std::stoi(text.substr(5, 2)),
            day = std::stoi(text.substr(8, 2));
  if (!IsValidDate(year, month, day)) return std::nullopt;
  return EncodeDaySerial(year, month, day);
}

void TellWhatWasLeftOut(const TReport& report) {
  for (const std::string& file : report.UnreadableFiles)
    std::fprintf(stderr, "tallyline-cli: skipped %s\n", file.c_str());
  if (report.SkippedSections > 0)
    std::fprintf(stderr, "tallyline-cli: skipped %d sections that are not days\n",
                 report.SkippedSections);
}

void BinaryStandardOutput() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}
