#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "base/product.h"
#include "net/veth_link.h"

// The folder of the Windows build (TALLYLINE_WIN32_BIN), with a trailing
// slash; empty when the variable is not set.
std::string WindowsBin();

// Runs the window driver (tldriver.exe) under Wine; its exit status, and
// what it printed when output is given.
int Driver(const std::string& arguments, std::string* output = nullptr);

// tallyline.exe, started under Wine in its own folder, and ended at the
// latest when the object goes. Given a network namespace, the program and
// this prefix's Wine server run inside it, so the program sees only that
// namespace's interfaces; a server that ran before is ended first, and the
// one in the namespace ends with the object.
class TWineProgram {
 public:
  explicit TWineProgram(const std::string& folder, const TNetNamespace* netNamespace = nullptr);
  ~TWineProgram();
  TWineProgram(const TWineProgram&) = delete;
  TWineProgram& operator=(const TWineProgram&) = delete;

  // Waits for the main window; its handle as the driver prints it.
  std::string WaitForWindow();
  // Answers the close question with OK and waits for the end; true when it ended.
  bool ConfirmClose();

 private:
  pid_t FPid;
  bool FOwnsServer;
};

// "Recv" and "Xmit" summed over every day of every month file in folder, or
// with hours those of every hour ("Recv.00" to "Recv.23").
std::pair<int64_t, int64_t> BookedTotals(const std::string& folder, bool hours = false);

// Every key of the days' sections, its values summed over every day of
// every month file in folder.
std::map<std::string, int64_t> BookedAmounts(const std::string& folder);

inline const std::string kMainCaption = std::string(kAppTitle) + kAppVersionSuffix;
