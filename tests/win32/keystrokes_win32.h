#pragma once

#include <windows.h>

#include <initializer_list>

#include "driver/window_driver_win32.h"
#include "ui/application_win32.h"

// A key pressed and let go with the modifiers held, as the user types it:
// through the system's input, to the window in the foreground. The
// program's loop then runs over what it brings.
inline void Press(WORD key, std::initializer_list<WORD> held = {}) {
  SendKeystroke(key, held);
  for (int i = 0; i < 8; ++i) {
    TApplication::Instance().ProcessMessages();
    Sleep(10);
  }
}
