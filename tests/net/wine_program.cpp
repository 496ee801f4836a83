#include "net/wine_program.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "storage/ini_file.h"
#include "traffic/usage_book.h"

std::string WindowsBin() {
  const char* bin = std::getenv("TALLYLINE_WIN32_BIN");
  return bin ? std::string(bin) + "/" : std::string();
}

int Driver(const std::string& arguments, std::string* output) {
  const std::string command =
      "wine '" + WindowsBin() + "tldriver.exe' " + arguments + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  std::string text;
  char buffer[256];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  const int status = pclose(pipe);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TWineProgram::TWineProgram(const std::string& folder) {
  FPid = fork();
  if (FPid == 0) {
    if (chdir(folder.c_str()) != 0) _exit(127);
    execlp("wine", "wine", "tallyline.exe", static_cast<char*>(nullptr));
    _exit(127);
  }
}

TWineProgram::~TWineProgram() {
  if (FPid > 0 && waitpid(FPid, nullptr, WNOHANG) == 0) {
    kill(FPid, SIGKILL);
    waitpid(FPid, nullptr, 0);
  }
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
  std::vector<std::pair<std::string, std::string>> keys{{"Recv", "Xmit"}};
  if (hours) {
    keys.clear();
    for (int hour = 0; hour < 24; ++hour)
      keys.emplace_back(HourKey("Recv", hour), HourKey("Xmit", hour));
  }
  int64_t received = 0, sent = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder + "data")) {
    TIniFile32 file(entry.path().string(), false);
    for (const std::string& day : file.ReadSections())
      for (const auto& [receivedKey, sentKey] : keys) {
        received += file.ReadInt64(day, receivedKey, 0);
        sent += file.ReadInt64(day, sentKey, 0);
      }
  }
  return {received, sent};
}
