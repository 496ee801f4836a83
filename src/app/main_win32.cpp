#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "app/frm_main_win32.h"
#include "base/product.h"
#include "platform/files.h"
#include "platform/format_settings.h"
#include "storage/ini_file.h"
#include "storage/text_utils.h"
#include "ui/application_win32.h"
#include "ui/handle_guards_win32.h"

namespace {

// One copy per executable path: the mutex is named after the path, which may
// not contain backslashes in a kernel object name.
TOwnedKernelHandle CreateInstanceMutex() {
  const std::string name = ReplaceAll(ExePath(), "\\", "");
  SetLastError(ERROR_SUCCESS);
  return TOwnedKernelHandle(CreateMutexA(nullptr, FALSE, name.c_str()));
}

// The copy that runs already comes to the front instead of a second one:
// its main window, named in its settings among the running ones.
void ShowRunningCopy() {
  const std::string path = ExeFolder() + "settings.ini";
  if (!FileExists(path)) return;
  TIniFile32 settings(path, false);
  char className[16] = "";
  for (const std::string& key : settings.ReadSection("Windows")) {
    const auto window = reinterpret_cast<HWND>(std::strtoull(key.c_str(), nullptr, 10));
    if (!IsWindow(window) || !GetClassNameA(window, className, sizeof className) ||
        std::string(className) != "TFrmMain")
      continue;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    AllowSetForegroundWindow(pid);  // this copy is the one the user just started
    PostMessageA(window, TFrmMain::WMSHOWMAIN, 0, 0);
    return;
  }
}

int RunMessageLoop(const TFrmMain& main) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    // F1 to F8 reach the main window's commands wherever the focus is in it.
    if (main.Handle() && TranslateAcceleratorA(main.Handle(), main.Accelerators(), &msg)) continue;
    if (TApplication::Instance().DialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Held until the message loop ends.
  const TOwnedKernelHandle mutex = CreateInstanceMutex();
  // Cancel, the default (a second copy books the same month files twice),
  // ends this copy before it creates or writes anything, and shows the
  // running one.
  if ((!mutex.Get() || GetLastError() == ERROR_ALREADY_EXISTS) &&
      MessageBoxA(nullptr, "Tallyline already running!!", "Oops!",
                  MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) != IDOK) {
    ShowRunningCopy();
    return 0;
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES |
                                                     ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                     ICC_UPDOWN_CLASS | ICC_DATE_CLASSES};
  InitCommonControlsEx(&controls);
  ReadFormatSettings();
  TApplication::Instance().SetTitle(kAppTitle);
  TFrmMain main(ExeFolder());
  // Started minimised (a shortcut may ask for it), the tray takes the window.
  if (!main.VexaTray1().Loaded()) {
    ShowWindow(main.Handle(), SW_SHOWNORMAL);
    UpdateWindow(main.Handle());
  }
  return RunMessageLoop(main);
}
