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

// The about box: the program's title with a shadow, its web page as a link,
// a logo that links to a second page, and Close. Modeless and shown at once;
// the owner learns from OnClosed that it is gone.
class TFrmAbout : public TDialog {
 public:
  explicit TFrmAbout(HWND owner);

  // Opens a web address the user clicked; by default the shell opens it in
  // the browser.
  std::function<void(const std::string& address)> OpenAddress;

  const TControl& Label5() const { return *FLabel5; }  // the product's page
  const TControl& Image1() const { return *FImage1; }  // the logo

 protected:
  void DpiChanged(int fromDpi) override;

 private:
  void CreateFonts();
  HIMAGELIST Logo() const;

  TGdiObject<HFONT> FTitleFont, FLinkFont;  // outlive the controls that show them
  std::unique_ptr<TControl> FLabel1, FLabel5;
  std::unique_ptr<TImage> FImage1;
  std::unique_ptr<TButton> FButton1;
};
