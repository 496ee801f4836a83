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
#include "unit/scratch_dir.h"

namespace {

struct TRun {
  int Status;
  std::string Out;
  std::string Err;
};

class CliTest : public testing::Test {
 protected:
  // Run in the folder given, else in the test's.
  TRun Run(const std::string& arguments, const std::string& folder = "") {
    const std::string err = Dir.Path("stderr.txt");
    const std::string command = (folder.empty() ? "" : "cd '" + folder + "' && ") + ExeFolder() +
                                "tallyline-cli " + arguments + " 2>" + err;
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
    for (const auto& e : std::filesystem::directory_iterator(Dir.Folder())) {
      const std::string name = e.path().filename().string();
      files[name] = e.is_directory() ? "(folder)" : Dir.Read(name);
    }
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
  // "-h" as an option's value is that value, not a call for help.
  ASSERT_EQ(Run("pack " + Q("46357.dat") + " " + Q("packed.dat") + " --password -h").Status, 0);
  EXPECT_EQ(Run("dump --password -h " + Q("packed.dat")).Out, Dumped);
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
    std::filesystem::create_directory(Dir.Path("data"));
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
        FailureCase{"PackFromTextAfterANul", "pack @nul.dat @out.dat ", "NUL byte"},
        FailureCase{"PackOverUnreadable", "pack @plain.dat @secret.dat --compress", "password"},
        FailureCase{"PackOverTextAfterANul", "pack @plain.dat @nul.dat ", "NUL byte"},
        FailureCase{"PackIntoNoFolder", "pack @plain.dat @absent/out.dat ", "cannot be written"},
        FailureCase{"DumpAFolder", "dump @data ", "is a folder"}),
    [](const auto& info) { return info.param.Name; });

// Each usage error says first what was wrong with which argument, then the
// usage; --help is no error.
TEST_F(CliTest, UsageErrorsNameTheArgumentAndExitWithTwo) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "a command is needed"},
      {"dump", "dump: needs a FILE"},
      {"dump a b", "b: unexpected argument"},
      {"pack a", "pack: needs IN and OUT"},
      {"dump a --bogus", "--bogus: unknown option"},
      {"frobnicate a", "frobnicate: unknown command"},
      {"--version extra", "extra: unexpected argument"},
      {"stats --folder x", "stats: needs --month or --range"},
      {"stats --month 2026-13-01", "--month: 2026-13-01 is not a date (YYYY-MM-DD)"},
      {"stats --month 2025-2-3", "--month: 2025-2-3 is not a date (YYYY-MM-DD)"},
      {"stats --range 2025-01-01", "--range: needs 2 values"},
      {"stats --range 2025-01-31 2025-01-01", "--range: 2025-01-01 is before 2025-01-31"},
      {"stats --month 2025-01-01 --range 2025-01-01 2025-01-02",
       "--range: only one of --month and --range"},
      {"log --folder", "--folder: needs a value"},
      {"quota --today 2026-02-30", "--today: 2026-02-30 is not a date (YYYY-MM-DD)"},
      {"quota --month 2025-02-01", "--month: unknown option"},
      {"report", "report: needs daily, weekly, monthly, yearly, hourly or top"},
      {"report hours", "hours: is no report (daily, weekly, monthly, yearly, hourly or top)"},
      {"report daily --csv --json", "--json: only one of --csv and --json"},
      {"log --json --csv", "--csv: only one of --csv and --json"},
      {"report top --count 0", "--count: 0 is not a count (a whole number from 1)"},
      {"report top --count -3", "--count: -3 is not a count (a whole number from 1)"},
      {"report top --count 2x", "--count: 2x is not a count (a whole number from 1)"},
      {"report hourly --day 2026-02-30", "--day: 2026-02-30 is not a date (YYYY-MM-DD)"},
      {"report daily --day 2026-03-05", "--day: only for report hourly"},
      {"report hourly --count 3", "--count: only for report top"},
      {"report daily --entry", "--entry: needs a value"},
      {"report top --entry ''", "--entry: needs a value"},
      {"report daily --entry a --entry b", "--entry: only once"},
      {"stats --month 2025-01-01 --day 2025-01-01", "--day: unknown option"},
      {"report daily --folder ''", "--folder: needs a value"},
      {"report --csv daily weekly", "weekly: unexpected argument"},
      {"log -- --csv", "--csv: unexpected argument"},
      {"chart daily", "chart: needs --out FILE.png"},
      {"chart top --out a.png", "top: is no chart (daily, weekly, monthly, yearly or hourly)"},
      {"chart daily --out a.png --day 2026-12-07",
       "--day: only for chart hourly (--from and --to for the others)"},
      {"chart hourly --out a.png --from 2026-12-07 --to 2026-12-08",
       "--from: not for chart hourly (--day)"},
      {"chart weekly --out a.png --to 2026-12-07", "--to: needs --from and --to together"},
      {"chart daily --out a.png --from 2026-12-08 --to 2026-12-07", "--to: comes before --from"},
      {"chart daily --out a.png --from 1990-01-01 --to 2026-12-07",
       "--to: too long a range for a chart (10000 bars at most)"},
      {"chart monthly --out a.png --width 63", "--width: 63 is not a size (64 to 4096 pixels)"},
      {"chart monthly --out a.png --height 4097",
       "--height: 4097 is not a size (64 to 4096 pixels)"},
      {"chart monthly --out a.png --csv", "--csv: a chart is a picture"}};
  for (const auto& [arguments, reason] : cases) {
    const TRun run = Run(arguments);
    EXPECT_EQ(run.Status, 2) << arguments;
    EXPECT_EQ(run.Out, "") << arguments;
    EXPECT_EQ(run.Err.substr(0, run.Err.find('\n')), std::string("tallyline-cli: ") + reason);
    EXPECT_NE(run.Err.find("\nusage: tallyline-cli dump FILE"), std::string::npos) << arguments;
  }
  for (const char* help : {"--help", "-h", "report --help"}) {
    const TRun run = Run(help);
    EXPECT_EQ(run.Status, 0) << help;
    EXPECT_EQ(run.Out.substr(0, 32), "usage: tallyline-cli dump FILE [") << help;
    EXPECT_NE(run.Out.find("tallyline-cli quota [--folder DIR]"), std::string::npos) << help;
    EXPECT_NE(run.Out.find("without --folder, the current folder"), std::string::npos) << help;
    EXPECT_EQ(run.Err, "") << help;
  }
  // After "--" nothing is an option: "-h" is a file's name.
  const TRun file = Run("dump -- -h");
  EXPECT_EQ(file.Status, 1);
  EXPECT_EQ(file.Err, "tallyline-cli: -h: no such file\n");
}

// The charts are drawn and encoded by Windows: here the command says so and
// writes nothing.
TEST_F(CliTest, ChartSaysItNeedsWindows) {
  std::filesystem::create_directory(Dir.Path("data"));
  const TRun run = Run("chart daily --out " + Q("chart.png") + " --folder " + Q(""));
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err, "tallyline-cli: " + Dir.Path("chart.png") +
                         ": charts are drawn by Windows only (run tallyline-cli.exe)\n");
  EXPECT_FALSE(FileExists(Dir.Path("chart.png")));
}

TEST_F(CliTest, ReportPrintsTheRowsOfEachListAndItsExport) {
  std::filesystem::create_directory(Dir.Path("data"));
  Dir.Write("data/38687.dat",
            "[38716]\r\nHours=60\r\nRecv=100\r\nXmit=10\r\n\r\n"
            "[38718]\r\nHours=90000\r\nRecv=1048576\r\nXmit=2048\r\n\r\n"
            "[notes]\r\nRecv=5\r\n");
  const std::pair<const char*, const char*> lists[] = {
      {"daily",
       "12/30/2005\t100 bytes\t10 bytes\t110 bytes\t01:00\n"
       "1/1/2006\t1.00 MB\t2 KB\t1.00 MB\t25:00:00\n"},
      {"weekly", "2005 / 52\t1.00 MB\t2 KB\t1.00 MB\t25:01:00\n"},
      {"monthly",
       "2005 / Dec\t100 bytes\t10 bytes\t110 bytes\t01:00\n"
       "2006 / Jan\t1.00 MB\t2 KB\t1.00 MB\t25:00:00\n"},
      {"yearly",
       "2005\t100 bytes\t10 bytes\t110 bytes\t01:00\n"
       "2006\t1.00 MB\t2 KB\t1.00 MB\t25:00:00\n"}};
  for (const auto& [list, rows] : lists) {
    const TRun text = Run(std::string("report ") + list + " --folder " + Q(""));
    EXPECT_EQ(text.Status, 0) << list;
    EXPECT_EQ(text.Out, rows) << list;
    EXPECT_EQ(text.Err,
              "tallyline-cli: 1 sections of the month files are not days and were left out.\n");
  }
  EXPECT_EQ(Run("report --csv --folder " + Q("") + " weekly").Out,
            "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n12-30-2005,1048676,2058,1050734,90060\r\n");
  const TRun json = Run("report monthly --json --folder " + Q(""));
  EXPECT_EQ(json.Status, 0);
  EXPECT_EQ(
      json.Out,
      "[\n{\"start\":\"2005-12-30\",\"received\":100,\"sent\":10,\"total\":110,\"seconds\":60},\n"
      "{\"start\":\"2006-01-01\",\"received\":1048576,\"sent\":2048,\"total\":1050624,"
      "\"seconds\":90000}\n]\n");
}

// March 2026: the 5th with two hours booked, the other days booked before
// hours were.
class CliHoursTest : public CliTest {
 protected:
  CliHoursTest() {
    std::filesystem::create_directory(Dir.Path("data"));
    const auto day = [](int d, const std::string& keys) {
      return "[" + std::to_string(EncodeDaySerial(2026, 3, d)) + "]\r\n" + keys + "\r\n";
    };
    Dir.Write("data/" + std::to_string(EncodeDaySerial(2026, 3, 1)) + ".dat",
              day(1, "Hours=10\r\nRecv=100\r\n") +
                  day(5,
                      "Hours=7200\r\nRecv=3000\r\nXmit=300\r\nHours.13=3600\r\nRecv.13=2000\r\n"
                      "Xmit.13=200\r\nHours.14=3600\r\nRecv.14=1000\r\nXmit.14=100\r\n") +
                  day(6, "Hours=60\r\nRecv=5000\r\nXmit=7\r\n") +
                  day(7, "Hours=30\r\nRecv=4000\r\n"));
  }
};

TEST_F(CliHoursTest, HourlyPrintsTheHoursOfTheDayAsked) {
  const std::string args = " --day 2026-03-05 --folder " + Q("");
  const TRun text = Run("report hourly" + args);
  EXPECT_EQ(text.Status, 0);
  EXPECT_EQ(text.Out,
            "13:00\t1 KB\t200 bytes\t2 KB\t01:00:00\n"
            "14:00\t1,000 bytes\t100 bytes\t1 KB\t01:00:00\n");
  EXPECT_EQ(text.Err, "");
  EXPECT_EQ(Run("report hourly --csv" + args).Out,
            "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n03-05-2026 13:00,2000,200,2200,3600\r\n"
            "03-05-2026 14:00,1000,100,1100,3600\r\n");
  EXPECT_EQ(Run("report hourly --json" + args).Out,
            "[\n{\"start\":\"2026-03-05T13:00\",\"received\":2000,\"sent\":200,\"total\":2200,"
            "\"seconds\":3600},\n"
            "{\"start\":\"2026-03-05T14:00\",\"received\":1000,\"sent\":100,\"total\":1100,"
            "\"seconds\":3600}\n]\n");
}

// A day booked without hours, or not at all, is said and is no failure.
TEST_F(CliHoursTest, HourlyOfADayWithoutHoursSaysSo) {
  for (const char* date : {"2026-03-06", "2026-04-01"}) {
    const std::string args = std::string(" --day ") + date + " --folder " + Q("");
    const std::string said = std::string("tallyline-cli: ") + date + " has no hourly figures\n";
    const std::pair<const char*, const char*> outputs[] = {
        {"", ""}, {" --csv", "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n"}, {" --json", "[]\n"}};
    for (const auto& [option, out] : outputs) {
      const TRun run = Run("report hourly" + args + option);
      EXPECT_EQ(run.Status, 0) << date << option;
      EXPECT_EQ(run.Out, out) << date << option;
      EXPECT_EQ(run.Err, said) << date << option;
    }
  }
}

TEST_F(CliHoursTest, TopPrintsTheLargestDaysFirst) {
  const TRun text = Run("report top --count 2 --folder " + Q(""));
  EXPECT_EQ(text.Status, 0);
  EXPECT_EQ(text.Out,
            "3/6/2026\t4 KB\t7 bytes\t4 KB\t01:00\n"
            "3/7/2026\t3 KB\t0 bytes\t3 KB\t00:30\n");
  EXPECT_EQ(Run("report top --csv --count 3 --folder " + Q("")).Out,
            "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n03-06-2026,5000,7,5007,60\r\n"
            "03-07-2026,4000,0,4000,30\r\n03-05-2026,3000,300,3300,7200\r\n");
  // Ten by default: all four days.
  const TRun json = Run("report top --json --folder " + Q(""));
  EXPECT_EQ(
      json.Out,
      "[\n{\"start\":\"2026-03-06\",\"received\":5000,\"sent\":7,\"total\":5007,\"seconds\":60},\n"
      "{\"start\":\"2026-03-07\",\"received\":4000,\"sent\":0,\"total\":4000,\"seconds\":30},\n"
      "{\"start\":\"2026-03-05\",\"received\":3000,\"sent\":300,\"total\":3300,"
      "\"seconds\":7200},\n"
      "{\"start\":\"2026-03-01\",\"received\":100,\"sent\":0,\"total\":100,\"seconds\":10}\n]\n");
}

// Month files of January and February 2025 with the days 10, 15 and 31 of
// January and 1 and 20 of February booked, "Work" only on the 31st.
class CliStatsTest : public CliTest {
 protected:
  CliStatsTest() {
    std::filesystem::create_directory(Dir.Path("data"));
    Dir.Write(January, Day(1, 10, "Home ISP", {1000, 1, 1, 1, 1000, 1, 1, 1}) +
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

  const std::string January = "data/" + std::to_string(EncodeDaySerial(2025, 1, 1)) + ".dat";
};

TEST_F(CliStatsTest, PrintsTheGridsWithTheEntryNamedWhenOffered) {
  // The name as typed, in another case: the list's entry still.
  const TRun text = Run("stats --range 2025-01-15 2025-02-01 --entry 'home isp' --folder " + Q(""));
  EXPECT_EQ(text.Status, 0);
  EXPECT_EQ(text.Out,
            "entry\tHome ISP\nentry\tWork\n"
            "entry-day\t01:00:00\t2\t3 KB\t500 bytes\n"
            "entry-period\t01:00:50\t3\t3 KB\t503 bytes\n"
            "all-day\t02:00:00\t3\t4 KB\t600 bytes\n"
            "all-period\t02:02:30\t5\t4 KB\t604 bytes\n");
  EXPECT_EQ(text.Err, "");

  // February offers only "Home ISP"; unlike the window, no other entry stands in.
  const TRun other = Run("stats --folder " + Q("") + " --month 2025-02-20 --entry Work");
  EXPECT_EQ(other.Status, 0);
  EXPECT_EQ(other.Out,
            "entry\tHome ISP\n"
            "entry-day\t00:00\t0\t0 bytes\t0 bytes\n"
            "entry-period\t00:00\t0\t0 bytes\t0 bytes\n"
            "all-day\t00:20\t1\t2 bytes\t2 bytes\n"
            "all-period\t01:10\t2\t9 bytes\t5 bytes\n");
}

// The entry's own figures, matched in any case, from its first day booked;
// an entry without any is said and is no failure.
TEST_F(CliStatsTest, ReportOfAnEntryListsItsOwnFigures) {
  const TRun csv = Run("report monthly --csv --entry 'home isp' --folder " + Q(""));
  EXPECT_EQ(csv.Status, 0);
  EXPECT_EQ(csv.Out,
            "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n01-10-2025,4001,501,4502,4600\r\n"
            "02-01-2025,9,5,14,70\r\n");
  EXPECT_EQ(csv.Err, "");
  const TRun none = Run("report daily --entry Nobody --folder " + Q(""));
  EXPECT_EQ(none.Status, 0);
  EXPECT_EQ(none.Out, "");
  EXPECT_EQ(none.Err, "tallyline-cli: no figures for the entry \"Nobody\"\n");
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
  EXPECT_EQ(
      Run("stats --json --range 2025-01-15 2025-02-01 --entry 'Home ISP' --folder " + Q("")).Out,
      "[\n{\"row\":\"entry-day\",\"seconds\":3600,\"calls\":2,\"received\":4000,\"sent\":500},\n"
      "{\"row\":\"entry-period\",\"seconds\":3650,\"calls\":3,\"received\":4007,\"sent\":503},\n"
      "{\"row\":\"all-day\",\"seconds\":7200,\"calls\":3,\"received\":5000,\"sent\":600},\n"
      "{\"row\":\"all-period\",\"seconds\":7350,\"calls\":5,\"received\":5017,\"sent\":604}\n"
      "]\n");
}

// The period from 15 January to 14 February 2025, asked about on two days:
// the days after the one asked about do not count.
TEST_F(CliStatsTest, QuotaCountsThePeriodUpToTheDayAskedAboutAlsoWhenNotEnabled) {
  Dir.Write("settings.ini", "[Quota]\r\nEnabled=1\r\nLimit=8000\r\nStartDay=15\r\n");
  const std::string header = "START,END,USED,LIMIT,PERCENT,DAYSLEFT,BUDGET,PROJECTED\r\n";
  const TRun csv = Run("quota --csv --today 2025-02-10 --folder " + Q(""));
  EXPECT_EQ(csv.Status, 0);
  EXPECT_EQ(csv.Out, header + "2025-01-15,2025-02-14,5621,8000,70.2,5,475,6453\r\n");
  EXPECT_EQ(csv.Err, "");
  EXPECT_EQ(Run("quota --csv --today 2025-01-31 --folder " + Q("")).Out,
            header + "2025-01-15,2025-02-14,5611,8000,70.1,15,159,10231\r\n");
  const std::string json =
      "{\"start\":\"2025-01-15\",\"end\":\"2025-02-14\",\"used\":5611,\"limit\":8000,"
      "\"percent\":70.1,\"daysleft\":15,\"budget\":159,\"projected\":10231}\n";
  EXPECT_EQ(Run("quota --json --today 2025-01-31 --folder " + Q("")).Out, json);

  Dir.Write("settings.ini", "[Quota]\r\nLimit=8000\r\nStartDay=15\r\n");
  const TRun text = Run("quota --folder " + Q("") + " --today 2025-01-31");
  EXPECT_EQ(text.Status, 0);
  EXPECT_EQ(text.Out,
            "Period: 1/15/2025 - 2/14/2025\nQuota: 5 KB of 7 KB (70%)\n"
            "15 days left: 159 bytes a day\nProjected: 9 KB\n");
  EXPECT_EQ(text.Err, "tallyline-cli: the quota is not enabled\n");
  const TRun off = Run("quota --json --today 2025-01-31 --folder " + Q(""));
  EXPECT_EQ(off.Status, 0);
  EXPECT_EQ(off.Out, json);
  EXPECT_EQ(off.Err, "tallyline-cli: the quota is not enabled\n");
}

// A month file that cannot be read is named, the rest still shown, and the
// command fails; so does a folder that is not there. A folder without data
// is an empty history.
TEST_F(CliStatsTest, AnUnreadableMonthFileOrFolderFailsWhatReadsIt) {
  Dir.Write(January, std::string("ESTREAM\x01", 8) + std::string(40, 'Z'));
  const std::string notRead = "tallyline-cli: Not read: " + Dir.Path(January) + ": ";
  const TRun report = Run("report monthly --folder " + Q(""));
  EXPECT_EQ(report.Status, 1);
  EXPECT_EQ(report.Out, "2025 / Feb\t9 bytes\t5 bytes\t14 bytes\t01:10\n");
  EXPECT_EQ(report.Err.substr(0, notRead.size()), notRead) << report.Err;
  const TRun stats = Run("stats --csv --month 2025-01-15 --folder " + Q(""));
  EXPECT_EQ(stats.Status, 1);
  EXPECT_EQ(stats.Out.substr(stats.Out.find("all-day")),
            "all-day,0,0,0,0\r\nall-period,0,0,0,0\r\n");
  EXPECT_EQ(stats.Err.substr(0, notRead.size()), notRead) << stats.Err;
  EXPECT_EQ(Run("quota --csv --today 2025-02-10 --folder " + Q("")).Status, 1);
}

// A folder without any of the program's files is another folder, not an
// empty history: said, naming it (the current one by its full name).
TEST_F(CliTest, AFolderThatIsNotTheProgramsFails) {
  std::filesystem::create_directory(Dir.Path("empty"));
  std::filesystem::create_directories(Dir.Path("fresh/data"));
  const std::string notOurs =
      ": not Tallyline's folder (no data, Connection.log or settings.ini in it)\n";
  for (const char* command : {"report daily", "log", "quota", "stats --month 2025-01-01"}) {
    const TRun missing = Run(std::string(command) + " --folder " + Q("typo"));
    EXPECT_EQ(missing.Status, 1) << command;
    EXPECT_EQ(missing.Err, "tallyline-cli: " + Dir.Path("typo") + ": no such folder\n") << command;
    const TRun empty = Run(std::string(command) + " --folder " + Q("empty"));
    EXPECT_EQ(empty.Status, 1) << command;
    EXPECT_EQ(empty.Out, "") << command;
    EXPECT_EQ(empty.Err, "tallyline-cli: " + Dir.Path("empty") + notOurs) << command;
    EXPECT_EQ(Run(std::string(command) + " --folder " + Q("fresh")).Status, 0) << command;
  }
  const TRun here = Run("report daily", Dir.Path("empty"));
  EXPECT_EQ(here.Status, 1);
  EXPECT_EQ(here.Err, "tallyline-cli: " + Dir.Path("empty") + notOurs);
  // The program's folder before its first month file.
  const TRun fresh = Run("report daily --json", Dir.Path("fresh"));
  EXPECT_EQ(fresh.Status, 0);
  EXPECT_EQ(fresh.Out, "[]\n");
  EXPECT_EQ(fresh.Err, "tallyline-cli: no data yet\n");
}

// March 2026: the 5th read up to a NUL byte, the 6th after it; April's file
// a folder.
class CliDamageTest : public CliTest {
 protected:
  CliDamageTest() {
    std::filesystem::create_directories(Dir.Path(April));
    Dir.Write(March, "[" + std::to_string(EncodeDaySerial(2026, 3, 5)) +
                         "]\r\nHours=60\r\nRecv=100\r\nXmit=10\r\nHours.13=60\r\nRecv.13=100\r\n" +
                         std::string(1, '\0') + "[" + std::to_string(EncodeDaySerial(2026, 3, 6)) +
                         "]\r\nRecv=5\r\n");
  }
  std::string Said(const std::string& text) { return "tallyline-cli: " + text + "\n"; }

  const std::string March = "data/" + std::to_string(EncodeDaySerial(2026, 3, 1)) + ".dat";
  const std::string April = "data/" + std::to_string(EncodeDaySerial(2026, 4, 1)) + ".dat";
  const std::string Cut =
      Said("Damaged, read in part: " + Dir.Path(March) + ": a NUL byte cuts its text short");
  const std::string Folder = Said("Not read: " + Dir.Path(April) + ": is a folder");
};

// What could be read is printed, and the command fails.
TEST_F(CliDamageTest, TextAfterANulOrAFolderInAMonthFilesPlaceIsNamed) {
  const TRun daily = Run("report daily --folder " + Q(""));
  EXPECT_EQ(daily.Status, 1);
  EXPECT_EQ(daily.Out, "3/5/2026\t100 bytes\t10 bytes\t110 bytes\t01:00\n");
  EXPECT_EQ(daily.Err, Folder + Cut);
  const TRun hourly = Run("report hourly --day 2026-03-05 --folder " + Q(""));
  EXPECT_EQ(hourly.Status, 1);
  EXPECT_EQ(hourly.Out, "13:00\t100 bytes\t0 bytes\t100 bytes\t01:00\n");
  EXPECT_EQ(hourly.Err, Cut);
  const TRun march = Run("stats --csv --month 2026-03-05 --folder " + Q(""));
  EXPECT_EQ(march.Status, 1);
  EXPECT_EQ(march.Out.substr(march.Out.find("all-period")), "all-period,60,0,100,10\r\n");
  EXPECT_EQ(march.Err, Cut);
  const TRun april = Run("stats --month 2026-04-05 --folder " + Q(""));
  EXPECT_EQ(april.Status, 1);
  EXPECT_EQ(april.Err, Folder);
  const TRun dump = Run("dump " + Q(March));
  EXPECT_EQ(dump.Status, 1);
  EXPECT_EQ(dump.Out, "[46086]\nHours=60\nRecv=100\nXmit=10\nHours.13=60\nRecv.13=100\n");
  EXPECT_EQ(dump.Err, Cut);
}

// A file where "data" should be, and a folder where settings.ini should be.
TEST_F(CliTest, AFileOrFolderInTheWrongPlaceIsNamed) {
  Dir.Write("data", "");
  std::filesystem::create_directory(Dir.Path("settings.ini"));
  const std::string data =
      "tallyline-cli: Not read: " + Dir.Path("data") + ": is a file, not a folder\n";
  const TRun report = Run("report daily --json --folder " + Q(""));
  EXPECT_EQ(report.Status, 1);
  EXPECT_EQ(report.Out, "[]\n");
  EXPECT_EQ(report.Err, data);
  const TRun stats = Run("stats --month 2026-03-05 --folder " + Q(""));
  EXPECT_EQ(stats.Status, 1);
  EXPECT_EQ(stats.Err, data);
  // Settings not read are not a quota turned off.
  const TRun quota = Run("quota --csv --today 2026-03-05 --folder " + Q(""));
  EXPECT_EQ(quota.Status, 1);
  EXPECT_EQ(quota.Err,
            "tallyline-cli: Not read: " + Dir.Path("settings.ini") + ": is a folder\n" + data);
}

// Values that are not numbers count as 0, said once; a byte order mark
// before the first section keeps that day.
TEST_F(CliTest, ValuesThatAreNotNumbersCountAsZeroAndAreSaidOnce) {
  std::filesystem::create_directory(Dir.Path("data"));
  Dir.Write("data/" + std::to_string(EncodeDaySerial(2026, 3, 1)) + ".dat",
            "\xEF\xBB\xBF[" + std::to_string(EncodeDaySerial(2026, 3, 5)) +
                "]\r\nHours=60\r\nRecv=12abc\r\nXmit= 5 \r\n\r\n[" +
                std::to_string(EncodeDaySerial(2026, 3, 6)) +
                "]\r\nHours=9223372036854775808\r\nRecv=300\r\nXmit=30\r\n");
  const std::string said = "tallyline-cli: Amounts that are not numbers were read as 0.\n";
  const TRun report = Run("report daily --csv --folder " + Q(""));
  EXPECT_EQ(report.Status, 0);
  EXPECT_EQ(report.Out,
            "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n03-05-2026,0,0,0,60\r\n"
            "03-06-2026,300,30,330,0\r\n");
  EXPECT_EQ(report.Err, said);
  const TRun stats = Run("stats --csv --month 2026-03-05 --folder " + Q(""));
  EXPECT_EQ(stats.Status, 0);
  EXPECT_EQ(stats.Out.substr(stats.Out.find("all-day")),
            "all-day,60,0,0,0\r\nall-period,60,0,300,30\r\n");
  EXPECT_EQ(stats.Err, said);
}

// A sum stopped at the largest number is said only where a printed row
// reached it, and the text's total is that number, as the export's is.
TEST_F(CliTest, TheLargestNumberIsSaidWhereAPrintedRowReachedIt) {
  std::filesystem::create_directory(Dir.Path("data"));
  Dir.Write("data/" + std::to_string(EncodeDaySerial(2026, 3, 1)) + ".dat",
            "[" + std::to_string(EncodeDaySerial(2026, 3, 5)) +
                "]\r\nRecv=5000000000000000000\r\nXmit=4000000000000000000\r\n\r\n[" +
                std::to_string(EncodeDaySerial(2026, 3, 6)) + "]\r\nRecv=5000000000000000000\r\n");
  const TRun daily = Run("report daily --folder " + Q(""));
  EXPECT_EQ(daily.Status, 0);
  EXPECT_EQ(daily.Err, "");
  const TRun quota = Run("quota --json --today 2026-03-05 --folder " + Q(""));
  EXPECT_EQ(quota.Err, "tallyline-cli: the quota is not enabled\n");
  const TRun monthly = Run("report monthly --folder " + Q(""));
  EXPECT_EQ(monthly.Status, 0);
  EXPECT_EQ(monthly.Out, "2026 / Mar\t8,388,608.00 TB\t3,637,978.81 TB\t8,388,608.00 TB\t00:00\n");
  EXPECT_EQ(monthly.Err,
            "tallyline-cli: A total passed the largest number that can be counted, and shows "
            "that number.\n");
}

TEST_F(CliTest, LogPrintsTheListNewestFirstReadingOnAfterNulBytes) {
  using namespace std::string_literals;
  Dir.Write("Connection.log",
            "45672.4166666667,45672.4583333333,1,Work,1536,512\r\n"
            "46363.5,46363.625,2,\"Home ISP\",1048576,2048\r\n"
            "46004.5,soon,1,Damaged,5,6\r\n"
            "\0\0\0\0\0\0\0\0"s  // zeroed by a power cut, then appended to
            "46364.25,46364.5,1,Work,10,20\r\n");
  const TRun text = Run("log --folder " + Q(""));
  EXPECT_EQ(text.Status, 0);
  EXPECT_EQ(text.Out,
            "Work\t12/8/2026 6:00:00 AM\t06:00:00\t10 bytes\t20 bytes\n"
            "Home ISP\t12/7/2026 12:00:00 PM\t03:00:00\t1.00 MB\t2 KB\n"
            "Work\t1/15/2025 10:00:00 AM\t01:00:00\t1 KB\t512 bytes\n");
  EXPECT_EQ(text.Err, "tallyline-cli: 2 damaged lines of Connection.log were left out.\n");
  EXPECT_EQ(Run("log --csv --folder " + Q("")).Out,
            "ENTRY,START,END,SECONDS,RECEIVED,SENT,REASON\r\n"
            "Work,2026-12-08 06:00:00,2026-12-08 12:00:00,21600,10,20,1\r\n"
            "\"Home ISP\",2026-12-07 12:00:00,2026-12-07 15:00:00,10800,1048576,2048,2\r\n"
            "Work,2025-01-15 10:00:00,2025-01-15 11:00:00,3600,1536,512,1\r\n");
  std::filesystem::remove(Dir.Path("Connection.log"));
  std::filesystem::create_directory(Dir.Path("Connection.log"));
  const TRun folder = Run("log --folder " + Q(""));
  EXPECT_EQ(folder.Status, 1);
  EXPECT_EQ(folder.Err,
            "tallyline-cli: Not read: " + Dir.Path("Connection.log") + ": is a folder\n");
}

// The entry's name comes out as UTF-8 from Windows-1252 and escaped; the
// amounts in full, as the export writes them.
TEST_F(CliTest, LogJsonEscapesTheEntryAndWritesWholeNumbers) {
  Dir.Write("Connection.log",
            "45672.4166666667,45672.4583333333,1,Work,1536,512\r\n"
            "46363.5,46363.625,2,\"Say \"\"hi\"\" \\ to\t\x01"
            "caf\xE9 \x80\",1E20,2048\r\n");
  const TRun run = Run("log --json --folder " + Q(""));
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out,
            "[\n{\"entry\":\"Say \\\"hi\\\" \\\\ to\\t\\u0001caf\xC3\xA9 \xE2\x82\xAC\","
            "\"start\":\"2026-12-07 12:00:00\",\"end\":\"2026-12-07 15:00:00\",\"seconds\":10800,"
            "\"received\":100000000000000000000,\"sent\":2048,\"reason\":2},\n"
            "{\"entry\":\"Work\",\"start\":\"2025-01-15 10:00:00\",\"end\":\"2025-01-15 11:00:00\","
            "\"seconds\":3600,\"received\":1536,\"sent\":512,\"reason\":1}\n]\n");
  EXPECT_EQ(run.Err, "");
  // The program's folder before its first connection.
  std::filesystem::remove(Dir.Path("Connection.log"));
  std::filesystem::create_directory(Dir.Path("data"));
  EXPECT_EQ(Run("log --json --folder " + Q("")).Out, "[]\n");
}

// Output that cannot be written (a full disk, a reader gone) is a failure.
TEST_F(CliTest, OutputThatCannotBeWrittenFails) {
  std::string log;
  for (int i = 0; i < 3000; ++i) log += "46363.5,46363.625,1,Work,1536,512\r\n";
  Dir.Write("Connection.log", log);
  const std::string cli = ExeFolder() + "tallyline-cli log --folder " + Q("");
  EXPECT_EQ(WEXITSTATUS(std::system((cli + " >/dev/full 2>" + Q("err")).c_str())), 1);
  EXPECT_EQ(Dir.Read("err"), "tallyline-cli: standard output cannot be written\n");
  // The reader takes one byte and goes; the rest finds the pipe closed.
  const std::string piped =
      "sh -c '" + cli + " 2>/dev/null; echo $? >" + Q("status") + "' | head -c 1 >/dev/null";
  std::system(piped.c_str());
  EXPECT_EQ(Dir.Read("status"), "1\n");
  EXPECT_EQ(WEXITSTATUS(std::system(("cd / && " + cli + " >/dev/null").c_str())), 0);
}

TEST_F(CliTest, VersionComesFromTheProject) {
  const TRun run = Run("--version");
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, std::string("Tallyline ") + kAppVersion + "\n");
}

}  // namespace
