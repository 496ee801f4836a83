// The Windows build of tallyline-cli, run as a console program.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/files.h"
#include "unit/scratch_dir.h"

namespace {

// Runs tallyline-cli with the arguments; its standard output and exit status.
std::pair<std::string, int> RunCli(const std::string& arguments) {
  const std::string command =
      "\"\"" + ExeFolder() + "tallyline-cli.exe\" " + arguments + " 2>nul\"";
  FILE* pipe = _popen(command.c_str(), "rb");
  std::string out;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = _pclose(pipe);
  return {out, status};
}

TEST(CliOnWindowsTest, PackedMonthFileDumpsBackWithWindowsLineBreaks) {
  TScratchDir dir;
  std::string month;
  for (int day = 46357; day < 46367; ++day)
    month += "[" + std::to_string(day) + "]\r\nHours=3600\r\nRecv=" + std::to_string(day * 7LL) +
             "\r\n\r\n";
  dir.Write("46357.dat", month);
  const std::string in = "\"" + dir.Path("46357.dat") + "\"";
  const std::string out = "\"" + dir.Path("packed.dat") + "\"";
  EXPECT_EQ(RunCli("pack " + in + " " + out + " --compress --password pw").second, 0);
  EXPECT_EQ(dir.Read("packed.dat").substr(0, 7), "ESTREAM");
  const auto [text, status] = RunCli("dump " + out + " --password pw");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(text, month);
  EXPECT_EQ(RunCli("dump " + out).second, 1);
}

TEST(CliOnWindowsTest, ReportWritesItsExportUnchanged) {
  TScratchDir dir;
  std::filesystem::create_directory(dir.Path("data"));
  dir.Write("data\\38718.dat", "[38718]\r\nHours=3600\r\nRecv=1048576\r\nXmit=2048\r\n");
  // Without the trailing backslash, which would escape the closing quote.
  const std::string folder = dir.Folder().substr(0, dir.Folder().size() - 1);
  const auto [csv, status] = RunCli("report monthly --csv --folder \"" + folder + "\"");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(csv, "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n01-01-2006,1048576,2048,1050624,3600\r\n");
}

// JSON keeps its line feeds: no CR LF for programs that read it.
TEST(CliOnWindowsTest, JsonComesOutByteForByte) {
  TScratchDir dir;
  std::filesystem::create_directory(dir.Path("data"));
  dir.Write("data\\38718.dat", "[38718]\r\nHours=3600\r\nRecv=1048576\r\nXmit=2048\r\n");
  const std::string folder = dir.Folder().substr(0, dir.Folder().size() - 1);
  const auto [json, status] = RunCli("report monthly --json --folder \"" + folder + "\"");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(json,
            "[\n{\"start\":\"2006-01-01\",\"received\":1048576,\"sent\":2048,\"total\":1050624,"
            "\"seconds\":3600}\n]\n");
}

TEST(CliOnWindowsTest, LogWritesItsExportUnchanged) {
  TScratchDir dir;
  dir.Write("Connection.log", "45672.4166666667,45672.4583333333,1,Work,1536,512\r\n");
  const std::string folder = dir.Folder().substr(0, dir.Folder().size() - 1);
  const auto [csv, status] = RunCli("log --csv --folder \"" + folder + "\"");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(csv,
            "ENTRY,START,END,SECONDS,RECEIVED,SENT,REASON\r\n"
            "Work,2025-01-15 10:00:00,2025-01-15 11:00:00,3600,1536,512,1\r\n");
}

}  // namespace
