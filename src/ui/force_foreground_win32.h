#pragma once

#include <windows.h>

// Brings a window to the front even when another program's window holds the
// foreground, restoring it first from the taskbar when asked. True when the
// window ends up in the foreground.
bool ForceForegroundWindow(HWND window, bool restore);
