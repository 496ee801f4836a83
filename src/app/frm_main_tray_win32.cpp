// The tray icon: its images, its menu and the main window's reactions to it.
#include "app/frm_main_win32.h"
#include "base/product.h"
#include "ui/application_win32.h"

namespace {

constexpr int kTrayImages = 5;
constexpr int kTrayImageSize = 16;  // of the pictures in the resources

}  // namespace

void TFrmMain::CreateTray() {
  // The notification area shows icons of the small size of the system's DPI.
  FTrayImages.Reset(LoadImageStrip("IMGLIST", kTrayImageSize, GetSystemMetrics(SM_CXSMICON)));
  FVexaTray1 = std::make_unique<TVexaTray>(Handle());
  TVexaTray& tray = *FVexaTray1;
  tray.AutoRestore = true;
  tray.AutoMinimize = true;
  tray.AllowPassword = true;
  tray.StartMinimized = tmsStartupInfo;
  tray.PopupMenu = FMenus.PopupMenu1;
  tray.OnDblClick = [this] { ShowFromElsewhere(); };
  // Nothing is drawn while the window is in the tray.
  tray.OnMinimize = [this] { ShowWindow(FVexaMeter1->Handle(), SW_HIDE); };
  tray.OnRestore = [this] {
    ShowWindow(FVexaMeter1->Handle(), SW_SHOW);
    TApplication::Instance().ProcessMessages();
    InvalidateRect(FVexaMeter1->Handle(), nullptr, FALSE);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  tray.OnMessage = [this](UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_QUERYOPEN && FVexaMeter1) ShowWindow(FVexaMeter1->Handle(), SW_SHOW);
  };
  tray.SetImageList(FTrayImages.Get());
  tray.SetImageIndex(0);
  tray.SetDisplayMode(dmImageList);
  tray.SetToolTip(kAppTitle);
  tray.SetEnabled(true);
}

// Icons named 4.ico down to 0.ico beside the program replace the images of
// the same number.
void TFrmMain::LoadCustomTrayIcons() {
  if (!FMainSettings.ShowActivity || !FTrayImages.Get()) return;
  for (int i = kTrayImages - 1; i >= 0; --i) {
    const std::string path = FFolder + std::to_string(i) + ".ico";
    const int size = GetSystemMetrics(SM_CXSMICON);
    const TOwnedIcon icon(static_cast<HICON>(
        LoadImageA(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE)));
    if (!icon.Get()) continue;
    ImageList_ReplaceIcon(FTrayImages.Get(), i, icon.Get());
  }
  // The image shown now may be one of them: the tray takes it again.
  FVexaTray1->SetImageList(FTrayImages.Get());
}
