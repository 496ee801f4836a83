#include "setup/frm_about_win32.h"

#include <shellapi.h>

#include <utility>

#include "base/product.h"
#include "platform/files.h"
#include "ui/image_win32.h"
#include "ui/label_win32.h"

namespace {

constexpr int kMargin = 12, kTitleTop = 6, kLogoTop = 18, kButtonTop = 86;
constexpr int kLogoWidth = 62, kLogoHeight = 31;
constexpr int kButtonWidth = 75, kButtonHeight = 23;
constexpr int kClientWidth = 240, kClientHeight = kButtonTop + kButtonHeight + kMargin;
constexpr int kTextLeft = kMargin + kLogoWidth + kMargin;  // the title's and the lines under it
constexpr int kLineHeight = 16;
constexpr int kTitleHeight = 29;  // the characters', in pixels at 96 DPI
constexpr COLORREF kShadow = RGB(192, 192, 192), kLinkColor = RGB(0, 0, 255);
constexpr const char* kLicenceText = "MIT licence";

void OpenWithShell(const std::string& address) {
  ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

TControlArgs WithStyle(TControlArgs args, DWORD style) {
  args.Style |= style;
  return args;
}

// A copy of font with the changes made to its description.
template <class TChange>
HFONT ChangedFont(HFONT font, TChange change) {
  LOGFONTA description{};
  GetObjectA(font, sizeof description, &description);
  change(description);
  return CreateFontIndirectA(&description);
}

SIZE TextSize(HFONT font, const std::string& text) {
  const TWindowDC screen(nullptr);
  const TSelection selection(screen.Get(), font);
  SIZE size{};
  GetTextExtentPoint32A(screen.Get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// The control's text in its font and the window-text colour, over a silver
// copy of itself 2 pixels right and 1 down as its shadow.
class TShadowedTitle : public TControl {
 public:
  explicit TShadowedTitle(const TControlArgs& args) : TControl(WithStyle(args, SS_OWNERDRAW)) {}

 protected:
  bool Notified(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) override {
    if (msg != WM_DRAWITEM) return false;
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const auto font = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
    const TSelection selection(dc, font);
    const std::string text = Text();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kShadow);
    TextOutA(dc, 2, 1, text.c_str(), static_cast<int>(text.size()));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    TextOutA(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
    result = TRUE;
    return true;
  }
};

// A control the user clicks to open something: the hand cursor over it, and
// OnClick for a click of the left button.
template <class TBase>
class TClickable : public TBase {
 public:
  template <class... TMore>
  explicit TClickable(const TControlArgs& args, TMore&&... more)
      : TBase(WithStyle(args, SS_NOTIFY), std::forward<TMore>(more)...) {}

  std::function<void()> OnClick;

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (msg != WM_COMMAND) return TBase::Notified(msg, wParam, lParam, result);
    if (HIWORD(wParam) == STN_CLICKED && OnClick) OnClick();
    result = 0;
    return true;
  }
  bool Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (msg != WM_SETCURSOR) return TBase::Intercept(msg, wParam, lParam, result);
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
    result = TRUE;
    return true;
  }
};

}  // namespace

TFrmAbout::TFrmAbout(HWND owner) : OpenAddress(OpenWithShell) {
  TDialogArgs dialog;
  dialog.ClassName = "TFrmAbout";
  dialog.Caption = std::string("About ") + kAppTitle;
  dialog.ClientWidth = kClientWidth;
  dialog.ClientHeight = kClientHeight;
  dialog.Owner = owner;
  CreateDialogForm(dialog);
  CreateFonts();

  // The title with room for its shadow; under it the version and the
  // licence, a link to the licence's text when it lies beside the program.
  const SIZE title = TextSize(FTitleFont.Get(), kAppTitle);
  const int textLeft = Scaled(kTextLeft), titleTop = Scaled(kTitleTop);
  FLabel1 =
      std::make_unique<TShadowedTitle>(ChildArgs(Handle(), kAppTitle, WS_VISIBLE, FTitleFont.Get(),
                                                 textLeft, titleTop, title.cx + 2, title.cy + 1));
  const int versionTop = titleTop + title.cy + Scaled(2);
  FVersion = std::make_unique<TLabel>(
      ChildArgs(Handle(), std::string("Version ") + kAppVersion, WS_VISIBLE, Font(), textLeft + 2,
                versionTop, Scaled(kClientWidth - kTextLeft - kMargin), Scaled(kLineHeight)));
  const std::string licence = ExeFolder() + "LICENSE.txt";
  const bool shipped = FLicenceLink = FileExists(licence);
  const SIZE link = TextSize(shipped ? FLinkFont.Get() : Font(), kLicenceText);
  const TControlArgs licenceArgs =
      ChildArgs(Handle(), kLicenceText, WS_VISIBLE, shipped ? FLinkFont.Get() : Font(),
                textLeft + 2, versionTop + Scaled(kLineHeight), link.cx, link.cy);
  if (shipped) {
    auto label5 = std::make_unique<TClickable<TLabel>>(licenceArgs);
    label5->SetColors(kLinkColor, GetSysColor(COLOR_BTNFACE));
    label5->OnClick = [this, licence] { OpenAddress(licence); };
    FLabel5 = std::move(label5);
  } else {
    FLabel5 = std::make_unique<TLabel>(licenceArgs);
  }
  FImage1 = std::make_unique<TImage>(Args(Handle(), "", kMargin, kLogoTop, kLogoWidth, kLogoHeight),
                                     TOwnedImageList(Logo()));

  TControlArgs close = Args(Handle(), "Close", (kClientWidth - kButtonWidth) / 2, kButtonTop,
                            kButtonWidth, kButtonHeight);
  close.Style |= BS_DEFPUSHBUTTON;
  close.Id = IDOK;  // the default button's: Enter presses it
  FButton1 = std::make_unique<TButton>(close);
  FButton1->OnClick = [this] { Close(); };
  ShowDialog();
}

// The title's and the link's fonts, from the dialog's at its DPI.
void TFrmAbout::CreateFonts() {
  const int titleHeight = Scaled(kTitleHeight);
  FTitleFont.Reset(ChangedFont(Font(), [titleHeight](LOGFONTA& f) {
    f.lfHeight = -titleHeight;
    f.lfWidth = 0;
  }));
  FLinkFont.Reset(ChangedFont(Font(), [](LOGFONTA& f) { f.lfUnderline = TRUE; }));
}

HIMAGELIST TFrmAbout::Logo() const {
  return LoadImageStrip("LOGO", kLogoWidth, Scaled(kLogoWidth));
}

void TFrmAbout::DpiChanged(int) {
  FImage1->SetImages(TOwnedImageList(Logo()));
  // The labels still show the old fonts until they have the new ones.
  TGdiObject<HFONT> title = std::move(FTitleFont), link = std::move(FLinkFont);
  CreateFonts();
  SendMessageA(FLabel1->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FTitleFont.Get()), TRUE);
  if (FLicenceLink)
    SendMessageA(FLabel5->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FLinkFont.Get()), TRUE);
}
