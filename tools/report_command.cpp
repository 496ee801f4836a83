// tallyline-cli report: the rows of the basic reports, from the same model
// as the window.
#include <cstdio>
#include <string>
#include <vector>

#include "cli_commands.h"
#include "reports/report_model.h"

const char* const kReportUsage =
    "       tallyline-cli report daily|weekly|monthly|yearly [--folder DIR] [--csv]\n";

namespace {

int TabOf(const std::string& name) {
  for (size_t i = 0; i < kReportTabNames.size(); ++i) {
    std::string lower = kReportTabNames[i];
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name == lower) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

int ReportCommand(int argc, char** argv) {
  if (argc < 1) throw EUsage("report", "needs daily, weekly, monthly or yearly");
  const int tab = TabOf(argv[0]);
  if (tab < 0) throw EUsage(argv[0], "is no report (daily, weekly, monthly or yearly)");
  TFolderOptions options;
  ReadFolderOptions(argc - 1, argv + 1, options);
  RequireFolder(options.Folder);
  const TReport report = LoadReport(options.Folder);
  const int status = TellNotes(report.Notes);
  BinaryStandardOutput();
  std::vector<const TReportRow*> rows;
  for (const TReportRow& row : report.Rows[tab]) rows.push_back(&row);
  if (options.Csv) {
    std::fputs(ReportCsv(rows).c_str(), stdout);
    return status;
  }
  for (const TReportRow* row : rows) {
    std::string line = row->Caption;
    for (int column = 1; column <= 4; ++column) line += "\t" + ReportCell(*row, column);
    std::printf("%s\n", line.c_str());
  }
  return status;
}
