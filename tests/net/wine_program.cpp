#include "net/wine_program.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "storage/ini_file.h"
#include "traffic/usage_book.h"

std::string WindowsBin() {
  const char* bin = std::getenv("TALLYLINE_WIN32_BIN");
  return bin ? std::string(bin) + "/" : std::string();
}

int Driver(const std::string& arguments, std::string* output) {
  std::string text;
  const int status =
      RunForOutput("wine '" + WindowsBin() + "tldriver.exe' " + arguments + " 2>/dev/null", text);
  if (output) *output = text;
  return status;
}

namespace {

// Ends this prefix's Wine server and every program it runs.
void EndWineServer() {
  std::system("wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1");
}

// Wine's services list the interfaces of the namespace they run in, and
// the first program of a new server starts them. So a server of its own
// starts in the namespace, kept while no program runs, with a first program
// there, before the driver (which runs outside) can be first.
void StartWineServer(const std::string& inNamespace) {
  EndWineServer();
  try {
    Run(inNamespace + "wineserver -p");
    Run(inNamespace + "wine wineboot");
  } catch (...) {
    EndWineServer();
    throw;
  }
}

}  // namespace

TWineProgram::TWineProgram(const std::string& folder, const TNetNamespace* netNamespace)
    : FOwnsServer(netNamespace != nullptr) {
  const std::string inNamespace = netNamespace ? netNamespace->Exec() : std::string();
  if (FOwnsServer) StartWineServer(inNamespace);
  // exec all the way keeps the child's id for the Windows process.
  const std::string command = "exec " + inNamespace + "wine tallyline.exe";
  FPid = fork();
  if (FPid == 0) {
    if (chdir(folder.c_str()) != 0) _exit(127);
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
}

TWineProgram::~TWineProgram() {
  if (FPid > 0 && waitpid(FPid, nullptr, WNOHANG) == 0) {
    kill(FPid, SIGKILL);
    waitpid(FPid, nullptr, 0);
  }
  if (FOwnsServer) EndWineServer();
}

std::string TWineProgram::WaitForWindow() {
  std::string handle;
  Driver(std::string("wait '") + kMainCaption + "' 30000", &handle);
  return handle;
}

bool TWineProgram::ConfirmClose() {
  if (Driver("press Tallyline OK 10000") != 0) return false;
  using namespace std::chrono_literals;
  for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(100ms))
    if (waitpid(FPid, nullptr, WNOHANG) == FPid) {
      FPid = -1;
      return true;
    }
  return false;
}

std::pair<int64_t, int64_t> BookedTotals(const std::string& folder, bool hours) {
  std::map<std::string, int64_t> amounts = BookedAmounts(folder);
  if (!hours) return {amounts["Recv"], amounts["Xmit"]};
  int64_t received = 0, sent = 0;
  for (int hour = 0; hour < 24; ++hour) {
    received += amounts[HourKey("Recv", hour)];
    sent += amounts[HourKey("Xmit", hour)];
  }
  return {received, sent};
}

std::map<std::string, int64_t> BookedAmounts(const std::string& folder) {
  std::map<std::string, int64_t> amounts;
  for (const auto& entry : std::filesystem::directory_iterator(folder + "data")) {
    TIniFile32 file(entry.path().string(), false);
    for (const std::string& day : file.ReadSections())
      for (const std::string& key : file.ReadSection(day))
        amounts[key] += file.ReadInt64(day, key, 0);
  }
  return amounts;
}
