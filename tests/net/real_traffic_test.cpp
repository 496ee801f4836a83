// tallyline.exe under Wine measuring real traffic in adapter mode: a veth
// pair into a network namespace of the test's own carries more than 4 GiB
// each way, so the 32-bit counters wrap, and the month file must agree with
// the kernel's counters of the interface to the byte.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "net/traffic_pump.h"
#include "net/veth_link.h"
#include "storage/ini_file.h"
#include "unit/scratch_dir.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr const char* kCaption = "Tallyline v1.43";
constexpr uint64_t kGiB = 1ull << 30;

std::string WindowsBin() {
  const char* bin = std::getenv("TALLYLINE_WIN32_BIN");
  return bin ? std::string(bin) + "/" : std::string();
}

// Runs the Windows window driver with its arguments; its exit status.
int Driver(const std::string& arguments) {
  return std::system(
      ("wine '" + WindowsBin() + "tldriver.exe' " + arguments + " >/dev/null 2>&1").c_str());
}

// tallyline.exe, started under Wine in its own folder.
class TWineProgram {
 public:
  explicit TWineProgram(const std::string& folder) {
    FPid = fork();
    if (FPid == 0) {
      if (chdir(folder.c_str()) != 0) _exit(127);
      execlp("wine", "wine", "tallyline.exe", static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~TWineProgram() {
    if (FPid > 0 && waitpid(FPid, nullptr, WNOHANG) == 0) {
      kill(FPid, SIGKILL);
      waitpid(FPid, nullptr, 0);
    }
  }
  // Closes the program as a user does; true when it ended.
  bool Close() {
    if (Driver(std::string("close '") + kCaption + "'") != 0) return false;
    if (Driver("press Tallyline OK 10000") != 0) return false;
    for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(100ms))
      if (waitpid(FPid, nullptr, WNOHANG) == FPid) {
        FPid = -1;
        return true;
      }
    return false;
  }

 private:
  pid_t FPid;
};

// Recv and Xmit summed over every day of every month file.
std::pair<int64_t, int64_t> BookedTotals(const std::string& folder) {
  int64_t received = 0, sent = 0;
  for (const auto& entry : fs::directory_iterator(folder + "data")) {
    TIniFile32 file(entry.path().string(), false);
    for (const std::string& day : file.ReadSections()) {
      received += file.ReadInt64(day, "Recv", 0);
      sent += file.ReadInt64(day, "Xmit", 0);
    }
  }
  return {received, sent};
}

TEST(RealTrafficTest, MonthFileAgreesWithTheKernelAcrossCounterWraps) {
  ASSERT_FALSE(WindowsBin().empty()) << "TALLYLINE_WIN32_BIN names the folder of tallyline.exe";
  TScratchDir dir;
  fs::copy_file(WindowsBin() + "tallyline.exe", dir.Path("tallyline.exe"));
  TVethLink link;
  // Wine names an interface after the system's device; the key adds its address.
  dir.Write("settings.ini", "[Settings]\r\nDialup=0\r\n\r\n[NIC]\r\nS=" + link.HostName() + " @ " +
                                link.HostMac() + "\r\n");

  TWineProgram program(dir.Folder());
  ASSERT_EQ(Driver(std::string("wait '") + kCaption + "' 30000"), 0);
  // The first two display updates only learn the counters; from the third
  // on every byte counts. The link is silent until the traffic starts.
  std::this_thread::sleep_for(4s);
  const uint64_t received0 = link.HostReceived(), sent0 = link.HostSent();

  // Under 2 GiB a second, so no counter wraps twice between two samples.
  PumpTraffic(link, 4 * kGiB + 123456789, 4 * kGiB + 987654321, 800'000'000);
  // Let the closing handshake pass and two more samples see it all.
  std::this_thread::sleep_for(3s);
  const uint64_t received1 = link.HostReceived(), sent1 = link.HostSent();
  ASSERT_TRUE(program.Close());

  const auto [booked, bookedSent] = BookedTotals(dir.Folder());
  EXPECT_GT(received1 - received0, 4 * kGiB);
  EXPECT_EQ(static_cast<uint64_t>(booked), received1 - received0);
  EXPECT_EQ(static_cast<uint64_t>(bookedSent), sent1 - sent0);
}

}  // namespace
