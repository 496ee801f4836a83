#pragma once

#include <string>

#include "ui/form_win32.h"

// The program's one main window. It lives from start-up to the end of the
// message loop; closing it ends the program.
class TFrmMain : public TForm {
 public:
  // folder: where the program keeps its files, with a trailing delimiter
  // (the executable's folder; tests pass a scratch folder).
  explicit TFrmMain(const std::string& folder);

  const std::string& Folder() const { return FFolder; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormCreate();
  void FormClose();

  std::string FFolder;
};
