// tallyline-cli log: the connection log list, newest first, from the same
// model as the statistics window.
#include <cstdio>
#include <string>

#include "cli_commands.h"
#include "reports/connection_log.h"

const char* const kLogUsage = "       tallyline-cli log [--folder DIR] [--csv]\n";

int LogCommand(int argc, char** argv) {
  TFolderOptions options;
  ReadFolderOptions(argc, argv, options);
  RequireFolder(options.Folder);
  const TConnectionLog log = ReadConnectionLog(options.Folder);
  const int status = TellNotes(log.Notes);
  BinaryStandardOutput();
  if (options.Csv) {
    std::fputs(ConnectionLogCsv(log.Records).c_str(), stdout);
    return status;
  }
  for (const TConnectionRecord& record : log.Records) {
    std::string line = LogCell(record, 0);
    for (int column = 1; column < static_cast<int>(kLogColumns.size()); ++column)
      line += "\t" + LogCell(record, column);
    std::printf("%s\n", line.c_str());
  }
  return status;
}
