#include "ui/common_dialogs_win32.h"

#include <shlobj.h>

namespace {

template <class TFunction>
TFunction Entry(HMODULE library, const char* name) {
  return library
             ? reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(library, name)))
             : nullptr;
}

template <class TFunction>
TFunction CommonDialogEntry(const char* name) {
  static const HMODULE library = LoadLibraryA("comdlg32.dll");
  return Entry<TFunction>(library, name);
}

// The user's documents; empty where the shell cannot say. Bound like the
// dialogs, so that the program's imports stay as they are.
std::string DocumentsFolder() {
  static const auto getFolderPath = Entry<HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR)>(
      LoadLibraryA("shell32.dll"), "SHGetFolderPathA");
  char path[MAX_PATH] = "";
  if (!getFolderPath || getFolderPath(nullptr, CSIDL_PERSONAL, nullptr, 0, path) != S_OK) return "";
  return path;
}

// Where the user last saved in this run; empty until then.
std::string lastSaveFolder;

// The folder a save dialog opens in; empty when even the documents are
// unknown.
std::string SaveDialogFolder() {
  return lastSaveFolder.empty() ? DocumentsFolder() : lastSaveFolder;
}

}  // namespace

bool ChooseColorDialog(CHOOSECOLORA& dialog) {
  static const auto choose = CommonDialogEntry<BOOL(WINAPI*)(CHOOSECOLORA*)>("ChooseColorA");
  return choose && choose(&dialog);
}

bool SaveFileDialog(OPENFILENAMEA& dialog) {
  static const auto save = CommonDialogEntry<BOOL(WINAPI*)(OPENFILENAMEA*)>("GetSaveFileNameA");
  return save && save(&dialog);
}

void ForgetSaveDialogFolder() {
  lastSaveFolder.clear();
}

std::string AskSavePath(HWND owner, const char* filter, const char* extension,
                        const std::string& name) {
  char path[MAX_PATH] = "";
  lstrcpynA(path, name.c_str(), sizeof path);
  const std::string folder = SaveDialogFolder();
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrDefExt = extension;
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!SaveFileDialog(dialog)) return "";
  // The folder of what was chosen, with its delimiter.
  lastSaveFolder.assign(path, dialog.nFileOffset);
  return path;
}
