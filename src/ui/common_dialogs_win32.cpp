#include "ui/common_dialogs_win32.h"

namespace {

template <class TFunction>
TFunction CommonDialogEntry(const char* name) {
  static const HMODULE library = LoadLibraryA("comdlg32.dll");
  return library
             ? reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(library, name)))
             : nullptr;
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
