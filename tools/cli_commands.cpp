// What the commands over the program's folder share: their options and
// their standard output.
#include "cli_commands.h"

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

void BinaryStandardOutput() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}
