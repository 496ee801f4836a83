#pragma once

#include <windows.h>

#include <string>

// Guards the lazy binding of entry points against other threads.
class TIpBaseAccess {
 public:
  TIpBaseAccess();
  virtual ~TIpBaseAccess();
  TIpBaseAccess(const TIpBaseAccess&) = delete;
  TIpBaseAccess& operator=(const TIpBaseAccess&) = delete;

  void Lock();
  void Unlock();

 private:
  CRITICAL_SECTION FLock;
};

// The Remote Access Service, loaded when the object is made so that the
// program also runs where it is missing. Entry points are bound on first use;
// a missing one raises EIpAccessException.
class TIpRasAccess : public TIpBaseAccess {
 public:
  using TRasEnumConnections = DWORD(WINAPI*)(void* connections, DWORD* size, DWORD* count);

  TIpRasAccess();
  ~TIpRasAccess() override;

  HMODULE RasApiHandle() const { return FRasApiHandle; }
  DWORD PlatformId() const { return FPlatformId; }
  // RasEnumConnectionsA.
  TRasEnumConnections RasEnumConnections();

 private:
  FARPROC Bind(FARPROC& slot, const char* name);

  HMODULE FRasApiHandle = nullptr;
  HMODULE FRasDlgHandle = nullptr;
  DWORD FPlatformId = 0;
  FARPROC FRasEnumConnections = nullptr;
};

// The system's text for an error code, without the trailing line break.
std::string SystemErrorText(DWORD code);
