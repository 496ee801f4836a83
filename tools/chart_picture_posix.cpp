#include "chart_picture.h"

#include "cli_commands.h"

// The pictures are drawn and encoded by Windows.
void WriteChartPicture(const TChart&, const TChartLook&, int, int, const std::string& path) {
  throw EFileProblem(path, "charts are drawn by Windows only (run tallyline-cli.exe)");
}
