#include "setup/frm_about_win32.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "base/product.h"
#include "platform/files.h"
#include "ui/image_win32.h"
#include "ui/label_win32.h"

namespace {

constexpr int kMargin = 12, kTitleTop = 6, kLogoTop = 18, kButtonTop = 86;
constexpr int kLogoWidth = 62, kLogoHeight = 31;
constexpr int kButtonWidth = 75, kButtonHeight = 23;
constexpr int kClientWidth = 240;
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

// A control the user opens something with: a click of the left button, or
// Enter or Space once Tab has reached it. The hand cursor over it, and a
// focus rectangle along its edges while it has the focus.
template <class TBase>
class TClickable : public TBase {
 public:
  template <class... TMore>
  explicit TClickable(const TControlArgs& args, TMore&&... more)
      : TBase(WithStyle(args, SS_NOTIFY | WS_TABSTOP), std::forward<TMore>(more)...) {}

  std::function<void()> OnClick;

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (msg != WM_COMMAND) return TBase::Notified(msg, wParam, lParam, result);
    if (HIWORD(wParam) == STN_CLICKED && OnClick) OnClick();
    result = 0;
    return true;
  }
  bool Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    const HWND self = this->Handle();
    switch (msg) {
      case WM_SETCURSOR:
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        result = TRUE;
        return true;
      case WM_GETDLGCODE:
        // Enter comes here rather than pressing the dialog's default button.
        result =
            DLGC_STATIC | (IsEnter(reinterpret_cast<const MSG*>(lParam)) ? DLGC_WANTMESSAGE : 0);
        return true;
      case WM_KEYDOWN:
        if (wParam != VK_RETURN && wParam != VK_SPACE) break;
        if (OnClick) OnClick();
        result = 0;
        return true;
      case WM_SETFOCUS:
      case WM_KILLFOCUS: InvalidateRect(self, nullptr, TRUE); break;
      case WM_PAINT:
        result = DefSubclassProc(self, msg, wParam, lParam);
        if (GetFocus() == self) {
          const TWindowDC dc(self);
          RECT edges;
          GetClientRect(self, &edges);
          DrawFocusRect(dc.Get(), &edges);
        }
        return true;
    }
    return TBase::Intercept(msg, wParam, lParam, result);
  }

 private:
  static bool IsEnter(const MSG* msg) {
    return msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN;
  }
};

}  // namespace

TFrmAbout::TFrmAbout(HWND owner, const std::string& webAddress) : OpenAddress(OpenWithShell) {
  const int buttonTop = kButtonTop + (webAddress.empty() ? 0 : kLineHeight);
  TDialogArgs dialog;
  dialog.ClassName = "TFrmAbout";
  dialog.Caption = std::string("About ") + kAppTitle;
  dialog.ClientWidth = kClientWidth;
  dialog.ClientHeight = buttonTop + kButtonHeight + kMargin;
  dialog.Owner = owner;
  CreateDialogForm(dialog);
  CreateFonts();

  // Close first: the focus starts there, and Tab goes on to the links.
  TControlArgs close = Args(Handle(), "Close", (kClientWidth - kButtonWidth) / 2, buttonTop,
                            kButtonWidth, kButtonHeight);
  close.Style |= BS_DEFPUSHBUTTON;
  close.Id = IDOK;  // the default button's: Enter presses it
  FButton1 = std::make_unique<TButton>(close);
  FButton1->OnClick = [this] { Close(); };

  // The title with room for its shadow; under it the version, the licence
  // (a link to its text when that lies beside the program) and the web
  // address.
  const SIZE title = TextSize(FTitleFont.Get(), kAppTitle);
  FLabel1 = std::make_unique<TShadowedTitle>(
      ChildArgs(Handle(), kAppTitle, WS_VISIBLE, FTitleFont.Get(), Scaled(kTextLeft),
                Scaled(kTitleTop), title.cx + 2, title.cy + 1));
  FLineTop = Scaled(kTitleTop) + title.cy + Scaled(2);
  FVersion = AddLine(std::string("Version ") + kAppVersion, "");
  const std::string licence = ExeFolder() + "LICENSE.txt";
  FLabel5 = AddLine(kLicenceText, FileExists(licence) ? licence : "");
  if (!webAddress.empty()) FWebAddress = AddLine(webAddress, webAddress);
  FImage1 = std::make_unique<TImage>(Args(Handle(), "", kMargin, kLogoTop, kLogoWidth, kLogoHeight),
                                     TOwnedImageList(Logo()));
  FitWidth();
  ShowDialog();
}

// A link's text is set in by a pixel or two all round, room for the focus
// rectangle; it lines up with the plain lines' text.
SIZE TFrmAbout::LinkSize(const std::string& text) const {
  const SIZE size = TextSize(FLinkFont.Get(), text);
  return {size.cx + 4, size.cy + 2};
}

std::unique_ptr<TControl> TFrmAbout::AddLine(const std::string& text, const std::string& target) {
  const int left = Scaled(kTextLeft) + 2, top = FLineTop;
  FLineTop += Scaled(kLineHeight);
  if (target.empty())
    return std::make_unique<TLabel>(ChildArgs(Handle(), text, WS_VISIBLE | SS_NOPREFIX, Font(),
                                              left, top, Scaled(kClientWidth - kTextLeft - kMargin),
                                              Scaled(kLineHeight)));
  const SIZE size = LinkSize(text);
  auto link = std::make_unique<TClickable<TLabel>>(
      ChildArgs(Handle(), text, WS_VISIBLE | SS_NOPREFIX | SS_CENTER | SS_CENTERIMAGE,
                FLinkFont.Get(), left - 2, top - 1, size.cx, size.cy));
  link->SetColors(kLinkColor, GetSysColor(COLOR_BTNFACE));
  link->OnClick = [this, target] { OpenAddress(target); };
  FLinks.push_back(link.get());
  return link;
}

// Wider, about the same centre, when a link reaches into the margin.
void TFrmAbout::FitWidth() {
  LONG right = 0;
  for (TControl* link : FLinks) right = std::max(right, BoundsInParent(link->Handle()).right);
  RECT client;
  GetClientRect(Handle(), &client);
  const int wider = right + Scaled(kMargin) - client.right;
  if (wider <= 0) return;
  RECT box;
  GetWindowRect(Handle(), &box);
  SetWindowPos(Handle(), nullptr, box.left - wider / 2, box.top, box.right - box.left + wider,
               box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT close = BoundsInParent(FButton1->Handle());
  FButton1->SetBounds(close.left + wider / 2, close.top, close.right - close.left,
                      close.bottom - close.top);
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
  for (TControl* shown : FLinks) {
    SendMessageA(shown->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FLinkFont.Get()), TRUE);
    const SIZE size = LinkSize(shown->Text());
    SetWindowPos(shown->Handle(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}
