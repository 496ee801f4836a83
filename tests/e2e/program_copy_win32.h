#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/product.h"

// A copy of tallyline.exe (or of a test build of it) in a scratch folder of
// its own, named tallyline.exe, and the processes started from it. Whatever
// still runs is ended when the copy goes away.
class TProgramCopy {
 public:
  explicit TProgramCopy(const std::string& program = "tallyline.exe");
  ~TProgramCopy();
  TProgramCopy(const TProgramCopy&) = delete;
  TProgramCopy& operator=(const TProgramCopy&) = delete;

  const std::string& Folder() const { return FFolder; }  // with a trailing backslash
  std::string ExePath() const { return FFolder + "tallyline.exe"; }

  // Puts the RAS stand-in beside the program, controlled through the file
  // FakeRasFile(), for every copy started from now on.
  void UseFakeRas();
  std::string FakeRasFile() const { return FFolder + "fakeras.txt"; }

  // Starts the program in its folder; returns its process id.
  DWORD Start();
  HANDLE Process(DWORD pid) const;
  bool IsRunning(DWORD pid) const;
  // Waits for the process to end; its exit code, or -1 on time-out.
  long WaitForExit(DWORD pid, DWORD timeoutMs) const;

 private:
  std::string FFolder;
  std::vector<std::string> FEnvironment;  // NAME=value, over the inherited ones
  std::vector<PROCESS_INFORMATION> FProcesses;
};

// The main window's caption.
inline const std::string kMainCaption = std::string(kAppTitle) + kAppVersionSuffix;
