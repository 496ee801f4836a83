#include "e2e/program_copy_win32.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/files.h"

TProgramCopy::TProgramCopy(const std::string& program) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  for (unsigned n = GetTickCount();; ++n) {
    FFolder = std::string(temp) + "tallyline-e2e-" + std::to_string(n) + "\\";
    if (CreateDirectoryA(FFolder.c_str(), nullptr)) break;
  }
  // The program under test is built beside this test program.
  if (!CopyFileA((ExeFolder() + program).c_str(), ExePath().c_str(), TRUE))
    throw std::runtime_error("cannot copy " + program + " to " + FFolder);
}

TProgramCopy::~TProgramCopy() {
  for (const PROCESS_INFORMATION& p : FProcesses) {
    if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(p.hProcess, 1);
      WaitForSingleObject(p.hProcess, 5000);
    }
    CloseHandle(p.hProcess);
    CloseHandle(p.hThread);
  }
  std::error_code ignored;
  std::filesystem::remove_all(FFolder, ignored);
}

void TProgramCopy::UseFakeRas() {
  if (!CopyFileA((ExeFolder() + "rasapi32.dll").c_str(), (FFolder + "rasapi32.dll").c_str(), FALSE))
    throw std::runtime_error("cannot copy rasapi32.dll to " + FFolder);
  std::ofstream(FakeRasFile(), std::ios::trunc);
  // The Wine prefix of the tests prefers a rasapi32.dll beside tallyline.exe.
  FEnvironment = {"TALLYLINE_FAKERAS=" + FakeRasFile()};
}

namespace {

// The inherited environment with some variables set anew, as a block for
// CreateProcess (each entry NUL-terminated, an empty one at the end).
std::string EnvironmentBlock(const std::vector<std::string>& overrides) {
  std::string block;
  char* inherited = GetEnvironmentStringsA();
  for (const char* entry = inherited; *entry; entry += std::strlen(entry) + 1) {
    const std::string text = entry;
    bool replaced = false;
    for (const std::string& o : overrides)
      replaced = replaced || _strnicmp(text.c_str(), o.c_str(), o.find('=') + 1) == 0;
    if (!replaced) block.append(text).push_back('\0');
  }
  FreeEnvironmentStringsA(inherited);
  for (const std::string& o : overrides) block.append(o).push_back('\0');
  block.push_back('\0');
  return block;
}

}  // namespace

DWORD TProgramCopy::Start() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string commandLine = "\"" + ExePath() + "\"";
  std::string environment = EnvironmentBlock(FEnvironment);
  if (!CreateProcessA(ExePath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                      environment.data(), FFolder.c_str(), &startup, &info))
    throw std::runtime_error("cannot start " + ExePath());
  FProcesses.push_back(info);
  return info.dwProcessId;
}

HANDLE TProgramCopy::Process(DWORD pid) const {
  for (const PROCESS_INFORMATION& p : FProcesses)
    if (p.dwProcessId == pid) return p.hProcess;
  return nullptr;
}

bool TProgramCopy::IsRunning(DWORD pid) const {
  return WaitForSingleObject(Process(pid), 0) == WAIT_TIMEOUT;
}

long TProgramCopy::WaitForExit(DWORD pid, DWORD timeoutMs) const {
  HANDLE process = Process(pid);
  if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  return static_cast<long>(code);
}
