// tallyline-cli run as a program: what it prints, its exit status, and that
// a failure writes nothing.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <map>

#include "base/product.h"
#include "platform/date_time.h"
#include "platform/files.h"
#include "reports/connection_log.h"
#include "reports/quota.h"
#include "reports/report_model.h"
#include "reports/stats_model.h"
#include "traffic/usage_book.h"
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
    Dir.Write("nul.dat", std::string("[1]\r\nA=1\r\n\0[2]\r\nB=2\r\n", 21));
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
        FailureCase{"PackOverUnreadable", "pack @plain.dat @secret.dat --compress", "password"},
        FailureCase{"PackOverTextAfterANul", "pack @plain.dat @nul.dat ", "NUL byte"},
        FailureCase{"PackIntoNoFolder", "pack @plain.dat @absent/out.dat ", "cannot be written"}),
    [](const auto& info) { return info.param.Name; });

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  EXPECT_EQ(Run("").Status, 2);
  EXPECT_EQ(Run("dump").Status, 2);
  EXPECT_EQ(Run("dump a b").Status, 2);
  EXPECT_EQ(Run("pack a").Status, 2);
  EXPECT_EQ(Run("dump a --bogus").Status, 2);
  EXPECT_EQ(Run("frobnicate a").Status, 2);
  EXPECT_EQ(Run("--version extra").Status, 2);
  EXPECT_EQ(Run("stats --folder x").Status, 2);  // neither --month nor --range
  EXPECT_EQ(Run("stats --month 2025-02-30").Status, 2);
  EXPECT_EQ(Run("stats --month 2025-2-3").Status, 2);
  EXPECT_EQ(Run("stats --range 2025-01-01").Status, 2);
  EXPECT_EQ(Run("stats --month 2025-01-01 --range 2025-01-01 2025-01-02").Status, 2);
  EXPECT_EQ(Run("log --folder").Status, 2);
  EXPECT_EQ(Run("quota --today 2025-02-29").Status, 2);
  EXPECT_EQ(Run("quota --month 2025-02-01").Status, 2);
  const TRun run = Run("stats --month");
  EXPECT_EQ(run.Status, 2);
  EXPECT_NE(run.Err.find("tallyline-cli stats"), std::string::npos) << run.Err;
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

// Month files of January and February 2025 with the days 10, 15 and 31 of
// January and 1 and 20 of February booked, "Work" only on the 31st.
class CliStatsTest : public CliTest {
 protected:
  CliStatsTest() {
    std::filesystem::create_directory(Dir.Path("data"));
    Dir.Write("data/" + std::to_string(EncodeDaySerial(2025, 1, 1)) + ".dat",
              Day(1, 10, "Home ISP", {1000, 1, 1, 1, 1000, 1, 1, 1}) +
                  Day(1, 15, "Home ISP", {7200, 3, 5000, 600, 3600, 2, 4000, 500}) +
                  Day(1, 31, "Work", {100, 1, 10, 1, 100, 1, 10, 1}));
    Dir.Write("data/" + std::to_string(EncodeDaySerial(2025, 2, 1)) + ".dat",
              Day(2, 1, "Home ISP", {50, 1, 7, 3, 50, 1, 7, 3}) +
                  Day(2, 20, "Home ISP", {20, 1, 2, 2, 20, 1, 2, 2}));
  }

  // A day's section: seconds, calls, received and sent in all, then of entry.
  static std::string Day(int month, int day, const std::string& entry,
                         const std::array<int, 8>& figures) {
    const std::string keys[] = {"Hours", "Calls",          "Recv",          "Xmit",
                                entry,   entry + "-Calls", entry + "-Recv", entry + "-Xmit"};
    std::string text = "[" + std::to_string(EncodeDaySerial(2025, month, day)) + "]\r\n";
    for (size_t i = 0; i < figures.size(); ++i)
      text += keys[i] + "=" + std::to_string(figures[i]) + "\r\n";
    return text + "\r\n";
  }

  // What the command prints for the model's entries and totals.
  static std::string StatsText(const std::vector<std::string>& entries, const TStatsTotals& t) {
    std::string text;
    for (const std::string& entry : entries) text += "entry\t" + entry + "\n";
    const std::pair<const char*, TStatsFigures> rows[] = {
        {"entry-day", t.EntryDay.value_or(TStatsFigures{})},
        {"entry-period", t.EntryPeriod},
        {"all-day", t.AllDay},
        {"all-period", t.AllPeriod}};
    for (const auto& [name, figures] : rows) {
      text += name;
      for (const std::string& cell : StatsRowTexts(figures)) text += "\t" + cell;
      text += "\n";
    }
    return text;
  }
};

TEST_F(CliStatsTest, PrintsTheModelsGridsWithTheEntryNamedWhenOffered) {
  TStatsReader reader(Dir.Folder());
  const TStatsChoice range{true, 0, EncodeDaySerial(2025, 1, 15), EncodeDaySerial(2025, 2, 1)};
  ASSERT_EQ(reader.Entries(range), (std::vector<std::string>{"Home ISP", "Work"}));
  // The name as typed, in another case: the list's entry still.
  const TRun text = Run("stats --range 2025-01-15 2025-02-01 --entry 'home isp' --folder " + Q(""));
  EXPECT_EQ(text.Status, 0);
  EXPECT_EQ(text.Out, StatsText(reader.Entries(range), reader.Totals(range, "Home ISP")));
  EXPECT_EQ(text.Err, "");

  // February offers only "Home ISP"; unlike the window, no other entry stands in.
  const TStatsChoice month{false, EncodeDaySerial(2025, 2, 20)};
  TStatsTotals zeros = reader.Totals(month, "");
  zeros.EntryDay = TStatsFigures{};
  const TRun other = Run("stats --folder " + Q("") + " --month 2025-02-20 --entry Work");
  EXPECT_EQ(other.Status, 0);
  EXPECT_EQ(other.Out, StatsText({"Home ISP"}, zeros));
}

TEST_F(CliStatsTest, CsvIsFiveLinesOfPlainIntegers) {
  const TRun run =
      Run("stats --csv --range 2025-01-15 2025-02-01 --entry 'Home ISP' --folder " + Q(""));
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out,
            "ROW,SECONDS,CALLS,RECEIVED,SENT\r\n"
            "entry-day,3600,2,4000,500\r\n"
            "entry-period,3650,3,4007,503\r\n"
            "all-day,7200,3,5000,600\r\n"
            "all-period,7350,5,5017,604\r\n");
}

TEST_F(CliStatsTest, QuotaPrintsTheModelsFiguresAlsoWhenNotEnabled) {
  Dir.Write("settings.ini", "[Quota]\r\nEnabled=1\r\nLimit=8000\r\nStartDay=15\r\n");
  TQuotaSettings quota;
  {
    TIniFile32 settings(Dir.Path("settings.ini"), true);
    quota = ReadQuotaSettings(settings);
  }
  const TQuotaFigures figures = ReadQuotaFigures(Dir.Folder(), quota, EncodeDaySerial(2025, 2, 10));
  ASSERT_EQ(figures.Used, 5600 + 11 + 10);  // 15 and 31 January, 1 February
  const TRun csv = Run("quota --csv --today 2025-02-10 --folder " + Q(""));
  EXPECT_EQ(csv.Status, 0);
  EXPECT_EQ(csv.Out, QuotaCsv(figures));
  EXPECT_EQ(csv.Err, "");

  Dir.Write("settings.ini", "[Quota]\r\nLimit=8000\r\nStartDay=15\r\n");
  const TRun text = Run("quota --folder " + Q("") + " --today 2025-02-10");
  EXPECT_EQ(text.Status, 0);
  EXPECT_NE(text.Out.find(QuotaTipLine(figures) + "\n"), std::string::npos) << text.Out;
  EXPECT_EQ(text.Err, "tallyline-cli: the quota is not enabled\n");
}

TEST_F(CliTest, LogPrintsTheListNewestFirstAndItsExport) {
  const auto line = [](TDateTime start, const std::string& entry) {
    return ConnectionLogLine(start, start + 0.1, 1, entry, 1536, 512, '.') + "\r\n";
  };
  Dir.Write("Connection.log", line(46001.25, "Home ISP") + line(46003.5, "Work") +
                                  "46004.5,soon,1,Damaged,5,6\r\n" + line(46002.75, "Home ISP"));
  const TConnectionLog log = ReadConnectionLog(Dir.Folder());
  ASSERT_EQ(log.Records.size(), 3u);
  std::string rows;
  for (const TConnectionRecord& record : log.Records)
    for (int column = 0; column < 5; ++column)
      rows += LogCell(record, column) + (column < 4 ? "\t" : "\n");
  const TRun text = Run("log --folder " + Q(""));
  EXPECT_EQ(text.Status, 0);
  EXPECT_EQ(text.Out, rows);
  EXPECT_EQ(text.Err, "tallyline-cli: skipped 1 damaged lines\n");
  EXPECT_EQ(Run("log --csv --folder " + Q("")).Out, ConnectionLogCsv(log.Records));
}

TEST_F(CliTest, VersionComesFromTheProject) {
  const TRun run = Run("--version");
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, std::string("Tallyline ") + kAppVersion + "\n");
}

}  // namespace
