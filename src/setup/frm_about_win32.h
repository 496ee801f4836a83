#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/buttons_win32.h"
#include "ui/control_win32.h"
#include "ui/dialog_win32.h"
#include "ui/handle_guards_win32.h"
#include "ui/image_win32.h"

// The about box: the program's title with a shadow, its version and its
// licence (a link to the licence's text where it lies beside the program),
// the logo, and Close. Modeless and shown at once; the owner learns from
// OnClosed that it is gone.
class TFrmAbout : public TDialog {
 public:
  explicit TFrmAbout(HWND owner);

  // Opens what the user clicked; by default the shell opens it.
  std::function<void(const std::string& path)> OpenAddress;

  const TControl& Label5() const { return *FLabel5; }  // the licence

 protected:
  void DpiChanged(int fromDpi) override;

 private:
  void CreateFonts();
  HIMAGELIST Logo() const;

  TGdiObject<HFONT> FTitleFont, FLinkFont;  // outlive the controls that show them
  std::unique_ptr<TControl> FLabel1, FVersion, FLabel5;
  bool FLicenceLink = false;  // the licence's text is there to open
  std::unique_ptr<TImage> FImage1;
  std::unique_ptr<TButton> FButton1;
};
