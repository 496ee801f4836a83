// tallyline-cli log: the connection log list, newest first, from the same
// model as the statistics window.
#include <cstdio>
#include <string>
#include <vector>

#include "cli_commands.h"
#include "formatting/date_format.h"
#include "platform/ansi_text.h"
#include "reports/connection_log.h"
#include "reports/json_text.h"

const char* const kLogUsage = "       tallyline-cli log [--folder DIR] [--csv|--json]\n";

namespace {

// A time as the export writes it: to the millisecond, then the second.
std::string TimeText(TDateTime time) {
  return FormatDateTimePicture(RoundToMilliseconds(time), "yyyy-MM-dd HH:mm:ss");
}

// The record as an object, with the export's columns as keys; the entry's
// name comes from the ANSI code page.
std::string RecordJson(const TConnectionRecord& r) {
  return TJsonObject()
      .String("entry", AnsiToUtf8(r.Entry))
      .String("start", TimeText(r.StartTime))
      .String("end", TimeText(r.EndTime))
      .Number("seconds", ConnectionSeconds(r))
      .Raw("received", JsonWholeNumber(r.Received))
      .Raw("sent", JsonWholeNumber(r.Transmitted))
      .Number("reason", r.EndReason)
      .Text();
}

}  // namespace

int LogCommand(int argc, char** argv) {
  TFolderOptions options;
  ReadFolderOptions(argc, argv, options);
  RequireFolder(options.Folder);
  const TConnectionLog log = ReadConnectionLog(options.Folder);
  const int status = TellNotes(log.Notes);
  if (options.Json) {
    std::vector<std::string> objects;
    for (const TConnectionRecord& record : log.Records) objects.push_back(RecordJson(record));
    PrintJson(JsonArray(objects));
    return status;
  }
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
