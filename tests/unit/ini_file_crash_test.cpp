// Saving under faults from the system: a full disk and a process killed in
// the middle of a save. POSIX only: both faults are made with process limits
// and signals.
#ifndef _WIN32

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "platform/files.h"
#include "scratch_dir.h"
#include "storage/ini_file.h"
#include "storage/text_lines.h"

namespace {

// A month file of some size whose every value names its version.
std::string MonthText(char version, int days) {
  std::string text;
  for (int day = 0; day < days; ++day) {
    text += "[" + std::to_string(46357 + day) + "]\r\n";
    for (const char* key : {"Hours", "Recv", "Xmit", "Calls", "MyISP-Hours", "MyISP-Recv"})
      text += std::string(key) + "=" + version + std::to_string(day * 7919) + "\r\n";
    text += "\r\n";
  }
  return JoinLines(SplitLines(text));  // as a save writes it
}

// Lowers the largest file this process may write, as a full disk would.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);  // a failed write, not a dead process
    getrlimit(RLIMIT_FSIZE, &FSaved);
    rlimit limit = FSaved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &FSaved); }

 private:
  rlimit FSaved{};
};

TEST(IniFileFaultTest, FullDiskKeepsTheOldFileAndReportsTheError) {
  TScratchDir dir;
  const std::string small = MonthText('A', 2);
  dir.Write("46357.dat", small);
  TIniFile32 ini(dir.Path("46357.dat"), false);
  EXPECT_TRUE(ini.SectionExists("46357"));
  {
    TFileSizeLimit limit(small.size() + 100);
    EXPECT_THROW(ini.WriteString("46357", "Notes", std::string(4000, 'n')), EFileError);
  }
  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(dir.Read("46357.dat"), small);
  EXPECT_FALSE(FileExists(dir.Path("46357.dat.tmp")));
  // With room again, the next change saves everything.
  ini.WriteString("46357", "More", "1");
  EXPECT_NE(dir.Read("46357.dat").find("Notes=nnnn"), std::string::npos);
  EXPECT_FALSE(ini.Modified());
}

TEST(IniFileFaultTest, KilledSaveLeavesTheOldOrTheNewFileWhole) {
  TScratchDir dir;
  const std::string path = dir.Path("46357.dat");
  const std::string versions[2] = {MonthText('A', 300), MonthText('B', 300)};
  dir.Write("46357.dat", versions[0]);
  std::mt19937 random(12345);
  int sawNew = 0;
  for (int round = 0; round < 20; ++round) {
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      TIniFile32 ini(path, true);
      ini.Refresh();
      for (int i = 1;; ++i) {
        ini.SetText(versions[i % 2]);
        ini.UpdateFile();
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 30000));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string content = dir.Read("46357.dat");
    ASSERT_TRUE(content == versions[0] || content == versions[1]) << "round " << round;
    sawNew += content == versions[1];
  }
  EXPECT_GT(sawNew, 0);  // the saves did happen
}

}  // namespace

#endif
