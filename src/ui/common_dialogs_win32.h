#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

// The system's colour and save-file dialogs. Their library, and the printing
// it brings along, loads when a dialog first opens: most runs never open
// one. Each answers false, as a cancelled dialog does, when the library or
// the function is missing.
bool ChooseColorDialog(CHOOSECOLORA& dialog);
bool SaveFileDialog(OPENFILENAMEA& dialog);

// The save dialog over owner for what the program saves: filter and the
// default extension, with name suggested, in the folder the user last saved
// to in this run, or at first in the user's documents. The path chosen;
// empty when the user cancels.
std::string AskSavePath(HWND owner, const char* filter, const char* extension,
                        const std::string& name);
// Opens the next dialog in the documents again, as a new run does.
void ForgetSaveDialogFolder();
