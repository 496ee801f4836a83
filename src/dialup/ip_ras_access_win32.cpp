#include "dialup/ip_ras_access_win32.h"

#include <cstdio>

#include "dialup/ip_errors.h"

TIpBaseAccess::TIpBaseAccess() {
  InitializeCriticalSection(&FLock);
}

TIpBaseAccess::~TIpBaseAccess() {
  DeleteCriticalSection(&FLock);
}

// Always taken: entering a free critical section costs next to nothing, so
// there is no need to find out first whether other threads run.
void TIpBaseAccess::Lock() {
  EnterCriticalSection(&FLock);
}

void TIpBaseAccess::Unlock() {
  LeaveCriticalSection(&FLock);
}

TIpRasAccess::TIpRasAccess() {
  FRasApiHandle = LoadLibraryA("RASAPI32");
  FRasDlgHandle = LoadLibraryA("RASDLG");
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA(&version)) FPlatformId = version.dwPlatformId;
}

TIpRasAccess::~TIpRasAccess() {
  if (HMODULE api = FRasApiHandle) {
    FRasApiHandle = nullptr;
    FreeLibrary(api);
  }
  if (HMODULE dlg = FRasDlgHandle) {
    FRasDlgHandle = nullptr;
    FreeLibrary(dlg);
  }
}

TIpRasAccess::TRasEnumConnections TIpRasAccess::RasEnumConnections() {
  return reinterpret_cast<TRasEnumConnections>(
      reinterpret_cast<void*>(Bind(FRasEnumConnections, "RasEnumConnectionsA")));
}

FARPROC TIpRasAccess::Bind(FARPROC& slot, const char* name) {
  Lock();
  if (!slot && FRasApiHandle) slot = GetProcAddress(FRasApiHandle, name);
  const DWORD error = GetLastError();
  FARPROC result = slot;
  Unlock();
  if (!result) {
    // Without the library there is no lookup, and so no error of its own.
    const DWORD code = FRasApiHandle ? error : ERROR_MOD_NOT_FOUND;
    throw EIpAccessException("Win32 error loading '" + std::string(name) +
                             "' pointer: " + SystemErrorText(code));
  }
  return result;
}

std::string SystemErrorText(DWORD code) {
  char buffer[512];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, buffer, sizeof buffer, nullptr);
  while (n > 0 && (buffer[n - 1] == '\r' || buffer[n - 1] == '\n' || buffer[n - 1] == ' ')) --n;
  if (n == 0) return "error " + std::to_string(code);
  return std::string(buffer, n);
}
