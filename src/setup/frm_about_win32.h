#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/product.h"
#include "ui/buttons_win32.h"
#include "ui/control_win32.h"
#include "ui/dialog_win32.h"
#include "ui/handle_guards_win32.h"
#include "ui/image_win32.h"

// The about box: the program's title with a shadow, its version, its
// licence (a link to the licence's text where it lies beside the program)
// and its web address as a link (no line while it has none), the logo, and
// Close. The links are reached with Tab after Close and open with Enter or
// Space. Modeless and shown at once; the owner learns from OnClosed that it
// is gone.
class TFrmAbout : public TDialog {
 public:
  explicit TFrmAbout(HWND owner, const std::string& webAddress = kAppWebAddress);

  // Opens what the user clicked; by default the shell opens it.
  std::function<void(const std::string& path)> OpenAddress;

  const TControl& Label5() const { return *FLabel5; }  // the licence

 protected:
  void DpiChanged(int fromDpi) override;

 private:
  void CreateFonts();
  // A line of text under the lines before it: a link that opens target,
  // or plain text without one.
  std::unique_ptr<TControl> AddLine(const std::string& text, const std::string& target);
  SIZE LinkSize(const std::string& text) const;
  void FitWidth();
  HIMAGELIST Logo() const;

  TGdiObject<HFONT> FTitleFont, FLinkFont;  // outlive the controls that show them
  std::unique_ptr<TButton> FButton1;
  std::unique_ptr<TControl> FLabel1, FVersion, FLabel5, FWebAddress;
  std::vector<TControl*> FLinks;  // in the link font
  int FLineTop = 0;               // of the next line
  std::unique_ptr<TImage> FImage1;
};
