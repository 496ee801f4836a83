// tallyline-cli run as a program: what it prints, its exit status, and that
// a failure writes nothing.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "base/product.h"
#include "platform/files.h"
#include "reports/report_model.h"
#include "unit/scratch_dir.h"

namespace {

struct TRun {
  int Status;
  std::string Out;
  std::string Err;
};

class CliTest : public testing::Test {
 protected:
  TRun Run(const std::string& arguments) {
    const std::string err = Dir.Path("stderr.txt");
    const std::string command = ExeFolder() + "tallyline-cli " + arguments + " 2>" + err;
    FILE* pipe = popen(command.c_str(), "r");
    TRun run{};
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.Out.append(buffer, n);
    run.Status = WEXITSTATUS(pclose(pipe));
    run.Err = Dir.Read("stderr.txt");
    std::filesystem::remove(err);
    return run;
  }

  std::string Q(const std::string& name) { return "'" + Dir.Path(name) + "'"; }

  // Every file in the folder with its content.
  std::map<std::string, std::string> Files() {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(Dir.Folder()))
      files[e.path().filename().string()] = Dir.Read(e.path().filename().string());
    return files;
  }

  // A month file long enough for compression to pay, and how dump prints it.
  static std::string MonthFile(const char* lineBreak) {
    std::string text;
    for (int day = 46357; day < 46387; ++day)
      text += "[" + std::to_string(day) + "]" + lineBreak + "Hours=3600" + lineBreak +
              "Recv=" + std::to_string(day * 4711LL) + lineBreak + lineBreak;
    return text;
  }

  TScratchDir Dir;
  const std::string Month = MonthFile("\r\n");
  const std::string Dumped = MonthFile("\n");
};

TEST_F(CliTest, DumpPrintsThePlainText) {
  Dir.Write("46357.dat", Month);
  const TRun run = Run("dump " + Q("46357.dat"));
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, Dumped);
  EXPECT_EQ(run.Err, "");
}

TEST_F(CliTest, PackWritesContainersThatDumpReadsBack) {
  Dir.Write("46357.dat", Month);
  for (const char* options : {"--compress", "--password secret", "--compress --password secret"}) {
    const TRun pack = Run("pack " + Q("46357.dat") + " " + Q("packed.dat") + " " + options);
    ASSERT_EQ(pack.Status, 0) << options << ": " << pack.Err;
    EXPECT_EQ(Dir.Read("packed.dat").substr(0, 7), "ESTREAM") << options;
    const std::string password =
        std::string(options).find("secret") != std::string::npos ? " --password secret" : "";
    const TRun dump = Run("dump " + Q("packed.dat") + password);
    EXPECT_EQ(dump.Status, 0) << options << ": " << dump.Err;
    EXPECT_EQ(dump.Out, Dumped) << options;
    std::filesystem::remove(Dir.Path("packed.dat"));
  }
}

struct FailureCase {
  const char* Name;
  const char* Arguments;
  const char* Reason;
};

class CliFailureTest : public CliTest, public testing::WithParamInterface<FailureCase> {
 protected:
  void SetUp() override {
    Dir.Write("plain.dat", Month);
    ASSERT_EQ(Run("pack " + Q("plain.dat") + " " + Q("secret.dat") + " --password pw").Status, 0);
    ASSERT_EQ(Run("pack " + Q("plain.dat") + " " + Q("packed.dat") + " --compress").Status, 0);
    std::string damaged = Dir.Read("packed.dat");
    damaged[damaged.size() / 2] ^= 0x10;
    Dir.Write("damaged.dat", damaged);
  }
};

TEST_P(CliFailureTest, NamesTheFileAndTheReasonAndWritesNothing) {
  std::string arguments = GetParam().Arguments;
  for (size_t at; (at = arguments.find("@")) != std::string::npos;) {
    const size_t end = arguments.find(' ', at);
    const std::string name = arguments.substr(at + 1, end - at - 1);
    arguments.replace(at, end - at, Q(name));
  }
  const auto before = Files();
  const TRun run = Run(arguments);
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
  EXPECT_NE(run.Err.find(Dir.Folder()), std::string::npos) << run.Err;
  EXPECT_NE(run.Err.find(GetParam().Reason), std::string::npos) << run.Err;
  EXPECT_EQ(Files(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, CliFailureTest,
    testing::Values(
        FailureCase{"MissingFile", "dump @absent.dat ", "no such file"},
        FailureCase{"NoPassword", "dump @secret.dat ", "password"},
        FailureCase{"WrongPassword", "dump @secret.dat --password px", "checksum"},
        FailureCase{"DamagedContainer", "dump @damaged.dat ", "checksum"},
        FailureCase{"PackFromDamaged", "pack @damaged.dat @out.dat --compress", "checksum"},
        FailureCase{"PackOverUnreadable", "pack @plain.dat @secret.dat --compress", "password"}),
    [](const auto& info) { return info.param.Name; });

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  EXPECT_EQ(Run("").Status, 2);
  EXPECT_EQ(Run("dump").Status, 2);
  EXPECT_EQ(Run("dump a b").Status, 2);
  EXPECT_EQ(Run("pack a").Status, 2);
  EXPECT_EQ(Run("dump a --bogus").Status, 2);
  EXPECT_EQ(Run("frobnicate a").Status, 2);
  EXPECT_EQ(Run("--version extra").Status, 2);
}

TEST_F(CliTest, ReportPrintsTheModelsRowsAndItsExport) {
  std::filesystem::create_directory(Dir.Path("data"));
  Dir.Write("data/38687.dat",
            "[38716]\r\nHours=60\r\nRecv=100\r\nXmit=10\r\n\r\n"
            "[38718]\r\nHours=90000\r\nRecv=1048576\r\nXmit=2048\r\n\r\n"
            "[notes]\r\nRecv=5\r\n");
  const TReport report = LoadReport(Dir.Folder());
  for (int tab = rtDaily; tab <= rtYearly; ++tab) {
    std::string lower = kReportTabNames[tab];
    lower[0] = static_cast<char>(std::tolower(lower[0]));
    std::string rows;
    std::vector<const TReportRow*> pointers;
    for (const TReportRow& row : report.Rows[tab]) {
      rows += row.Caption;
      for (int column = 1; column <= 4; ++column) rows += "\t" + ReportCell(row, column);
      rows += "\n";
      pointers.push_back(&row);
    }
    const TRun text = Run("report " + lower + " --folder " + Q(""));
    EXPECT_EQ(text.Status, 0) << lower;
    EXPECT_EQ(text.Out, rows) << lower;
    EXPECT_NE(text.Err.find("skipped 1 sections"), std::string::npos) << lower;
    EXPECT_EQ(Run("report " + lower + " --csv --folder " + Q("")).Out, ReportCsv(pointers));
  }
  EXPECT_EQ(Run("report hourly").Status, 2);
  EXPECT_EQ(Run("report daily --folder").Status, 2);
}

TEST_F(CliTest, VersionComesFromTheProject) {
  const TRun run = Run("--version");
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, std::string("Tallyline ") + kAppVersion + "\n");
}

}  // namespace
