#include <windows.h>

#include <memory>

#include "app/frm_main_win32.h"
#include "app/product.h"
#include "platform/files.h"
#include "platform/format_settings.h"
#include "storage/text_utils.h"

namespace {

// One copy per executable path: the mutex is named after the path, which may
// not contain backslashes in a kernel object name.
HANDLE CreateInstanceMutex() {
  const std::string name = ReplaceAll(ExePath(), "\\", "");
  SetLastError(ERROR_SUCCESS);
  return CreateMutexA(nullptr, FALSE, name.c_str());
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HANDLE mutex = CreateInstanceMutex();
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
    // Cancel ends this copy before it creates or writes anything.
    if (MessageBoxA(nullptr, "Tallyline already running!!", "Oops!",
                    MB_OKCANCEL | MB_ICONWARNING) != IDOK) {
      if (mutex) CloseHandle(mutex);
      return 0;
    }
  }

  ReadFormatSettings();
  int exitCode = 0;
  {
    auto main = std::make_unique<TFrmMain>(ExeFolder());
    ShowWindow(main->Handle(), SW_SHOWNORMAL);
    UpdateWindow(main->Handle());
    exitCode = RunMessageLoop();
  }
  if (mutex) CloseHandle(mutex);
  return exitCode;
}
