#include "app/frm_main_win32.h"

#include "app/product.h"
#include "platform/files.h"
#include "platform/format_settings.h"

namespace {

// The window's design bounds, used until a saved placement exists.
constexpr int kDesignLeft = 492;
constexpr int kDesignTop = 369;
constexpr int kDesignWidth = 584;
constexpr int kDesignHeight = 282;

}  // namespace

TFrmMain::TFrmMain(const std::string& folder) : FFolder(folder) {
  TFormArgs args;
  args.ClassName = "TFrmMain";
  args.Caption = kAppTitle;
  args.Left = kDesignLeft;
  args.Top = kDesignTop;
  args.Width = kDesignWidth;
  args.Height = kDesignHeight;
  CreateForm(args);
  FormCreate();
}

void TFrmMain::FormCreate() {
  SetCaption(std::string(kAppTitle) + kAppVersionSuffix);
  MakeDirectory(FFolder + "data");  // fails harmlessly when it exists
}

void TFrmMain::FormClose() {
  const char* question =
      "Are you sure you want to close Tallyline?\n"
      "This will prevent Tallyline from keeping stats!";
  if (MessageBoxA(Handle(), question, kAppTitle, MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
    DestroyWindow(Handle());
}

LRESULT TFrmMain::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      FormClose();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_SETTINGCHANGE:
      ReadFormatSettings();
      break;
  }
  return TForm::WndProc(msg, wParam, lParam);
}
