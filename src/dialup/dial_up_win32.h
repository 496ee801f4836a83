#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "dialup/dial_port.h"

// The Remote Access Service as the redial drives it. Its entry points are
// bound by name on first use, so that the program also runs where RAS is
// missing: then every call fails with -1, and nothing throws or is shown.
// Used on the user-interface thread; the progress of a dial comes from a RAS
// thread and is handed over to it, one event at a time.
class TDialUp : public TDialPort {
 public:
  // Binds the RAS of library, or where that is missing the one of
  // "rnaph.dll" (the first systems'). Tests name another library.
  explicit TDialUp(std::string library = "rasapi32.dll");
  ~TDialUp() override;
  TDialUp(const TDialUp&) = delete;
  TDialUp& operator=(const TDialUp&) = delete;

  std::optional<std::vector<TActiveConnection>> ListConnections() override;
  int Dial(const std::string& entry) override;
  int HangUp(uint32_t handle) override;
  int HangUpCurrent() override;

  // The connection of the last dial while it is being dialled, or failed
  // and is not hung up yet; 0 otherwise.
  uint32_t ConnHandle() const { return FConnHandle; }
  // RAS's text for an error; empty when RAS cannot give one.
  std::string ErrorText(int error);

  // Called on the user-interface thread: when a dial starts; for each step of
  // its progress, with the state's text or, for an error, the error's; when
  // a dial cannot start.
  std::function<void()> OnDialing;
  std::function<void(uint32_t state, int error, const std::string& text)> OnAsyncEvent;
  std::function<void(int error, const std::string& text)> OnError;

 private:
  static constexpr size_t kEntryCount = 6;

  void Bind();
  // Calls the entry point numbered entry; -1 when it cannot be bound.
  template <size_t entry, typename... TArgs>
  int Call(TArgs... args);
  int ConnectState(uint32_t handle, uint32_t& state);
  // False when RAS still holds the line after the longest wait.
  bool WaitForRelease(uint32_t handle);
  void Deliver();
  void Report(int error, const std::string& text);

  std::string FLibraryName;
  HMODULE FLibrary = nullptr;
  bool FBound = false;
  std::array<FARPROC, kEntryCount> FEntries{};
  uint32_t FConnHandle = 0;
  std::set<uint32_t> FUnreleased;  // lines hung up and waited for in vain
  HWND FWindow;                    // the application window, where the RAS thread posts to
  int FHook = 0;
  bool FDelivering = false;
};
