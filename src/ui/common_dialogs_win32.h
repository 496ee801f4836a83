#pragma once

#include <windows.h>

#include <commdlg.h>

// The system's colour and save-file dialogs. Their library, and the printing
// it brings along, loads when a dialog first opens: most runs never open
// one. Each answers false, as a cancelled dialog does, when the library or
// the function is missing.
bool ChooseColorDialog(CHOOSECOLORA& dialog);
bool SaveFileDialog(OPENFILENAMEA& dialog);
