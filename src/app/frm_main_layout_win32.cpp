// The main window's controls: the stopwatch bar at the top, the graph with
// the "Not Connected" label over it, the browse bar and the status bar.
#include <windowsx.h>

#include <utility>

#include "app/frm_main_win32.h"
#include "ui/rescale_win32.h"

namespace {

// A window wider than this shows the bevel of the status bar's last panel.
constexpr int kLastBevelWidth = 560;
constexpr int kBrowseCaptionWidth = 88;
constexpr int kScrollLargeChange = 60;

// height: of the characters, in pixels at 96 DPI.
HFONT CreateFontOf(const char* face, int height, int weight, bool italic, int dpi) {
  return CreateFontA(-ScaleToDpi(height, dpi), 0, 0, 0, weight, italic, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH, face);
}

HIMAGELIST LoadStopWatchPicture(int dpi) {
  return LoadImageStrip("STOPWATCH", 13, ScaleToDpi(13, dpi));
}

HFONT CreateMainFont(int dpi) {
  return CreateFontOf("Microsoft Sans Serif", 11, FW_NORMAL, false, dpi);
}

HFONT CreateNotConnectedFont(int dpi) {
  return CreateFontOf("Arial", 32, FW_BOLD, true, dpi);
}

std::vector<TStatusPanel> RateBarPanels() {
  using B = TPanelBevel;
  return {{60, true, B::Lowered, false, "00:00"},  {4, false, B::Raised, false, ""},
          {82, true, B::Lowered, false, "? Kbps"}, {60, true, B::Lowered, false, "00:00"},
          {0, false, B::None, true, ""},           {180, false, B::Lowered, false, "?"},
          {0, false, B::None, true, ""},           {180, false, B::Lowered, false, "?"},
          {50, false, B::Lowered, false, ""}};
}

std::vector<TStatusPanel> StopWatchBarPanels() {
  using B = TPanelBevel;
  return {{85, true, B::Raised, false, ""},
          {70, true, B::Raised, false, ""},
          {180, false, B::Raised, false, ""},
          {180, false, B::Raised, false, ""},
          {10, false, B::Raised, false, ""}};
}

}  // namespace

void TFrmMain::CreateControls() {
  FFont.Reset(CreateMainFont(FDpi));
  FNotConnectedFont.Reset(CreateNotConnectedFont(FDpi));
  SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
  CreateStopWatchBar();
  CreateGraph();
  CreateBrowseBar();

  TStatusBarArgs bottom;
  bottom.Parent = Handle();
  bottom.Panels = RateBarPanels();
  bottom.Dpi = FDpi;
  FsBar = std::make_unique<TVdStatusBar>(bottom);
  SendMessageA(FsBar->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), TRUE);
  FormResize();
}

// The bar carries the "Stop Watch" label and its picture; a press of any
// button on them opens the stopwatch's menu once the press is over.
void TFrmMain::CreateStopWatchBar() {
  TStatusBarArgs top;
  top.Parent = Handle();
  top.SizeGrip = false;
  top.Panels = StopWatchBarPanels();
  top.Dpi = FDpi;
  FSWbar = std::make_unique<TVdStatusBar>(top);
  HWND bar = FSWbar->Handle();
  SendMessageA(bar, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), TRUE);
  FSWbar->SetVisible(false);
  const auto at = [&](DWORD style, const char* text, int x, int y, int width, int height) {
    return ChildArgs(bar, text, style, FFont.Get(), Scaled(x), Scaled(y), Scaled(width),
                     Scaled(height));
  };
  FBevel1 = std::make_unique<TControl>(at(SS_SUNKEN, "", 1, 3, 82, 14));
  FImage1 = std::make_unique<TImage>(at(WS_VISIBLE | SS_NOTIFY, "", 3, 6, 13, 11),
                                     TOwnedImageList(LoadStopWatchPicture(FDpi)));
  FLabel5 =
      std::make_unique<TLabel>(at(WS_VISIBLE | SS_CENTER | SS_NOTIFY, "Stop Watch", 14, 2, 69, 14));
  for (TControl* control : std::initializer_list<TControl*>{FImage1.get(), FLabel5.get()})
    control->OnMouseDown = [this] {
      PostMessageA(Handle(), WM_COMMAND, MAKEWPARAM(cmStopWatchLabel, 0), 0);
    };
}

void TFrmMain::CreateGraph() {
  TVexaMeterArgs graph;
  graph.Parent = Handle();
  FVexaMeter1 = std::make_unique<TVexaMeter>(graph);
  FVexaMeter1->SetFont(FFont.Get());
  FVexaMeter1->SetPixelsPerInch(FDpi);
  FVexaMeter1->OnDblClick = [this] { ToggleBorderless(); };
  FVexaMeter1->OnMouseDown = [this](TMouseButton button, int, int) { VexaMeter1MouseDown(button); };
  FVexaMeter1->OnFormatHint = [this](const THistoryData& sample, std::string& text) {
    text = VexaMeter1FormatHint(sample);
  };
  // Over the graph, and as transparent to the mouse as a label is.
  FlbNotCon = std::make_unique<TLabel>(
      ChildArgs(Handle(), "Not Connected", SS_CENTER | SS_CENTERIMAGE, FNotConnectedFont.Get()));
  SetWindowPos(FlbNotCon->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TFrmMain::CreateBrowseBar() {
  FPnlBrowse = std::make_unique<TLabel>(ChildArgs(Handle(), "Browse Mode",
                                                  SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN,
                                                  FFont.Get(), 0, 0, Scaled(kBrowseCaptionWidth)));
  FScrollBar1 = std::make_unique<TScrollBar>(ChildArgs(Handle(), "", 0, FFont.Get()));
  FScrollBar1->LargeChange = kScrollLargeChange;
  FScrollBar1->OnChange = [this] { ScrollBar1Change(); };
}

// Top to bottom: the stopwatch bar, the graph, the browse bar, the status bar.
void TFrmMain::ArrangeControls() {
  if (!FsBar) return;
  RECT client;
  GetClientRect(Handle(), &client);
  FSWbar->Place(0, client.right);
  FsBar->Place(client.bottom - FsBar->Height(), client.right);
  const int top = FSWbar->Visible() ? FSWbar->Height() : 0;
  int bottom = client.bottom - (FsBar->Visible() ? FsBar->Height() : 0);
  const int browseHeight = SystemMetricForDpi(SM_CYHSCROLL, FDpi);
  if (FBrowseMode) {
    bottom -= browseHeight;
    const int captionWidth = Scaled(kBrowseCaptionWidth);
    FPnlBrowse->SetBounds(0, bottom, captionWidth, browseHeight);
    FScrollBar1->SetBounds(captionWidth, bottom, client.right - captionWidth, browseHeight);
  }
  FPnlBrowse->SetVisible(FBrowseMode);
  FScrollBar1->SetVisible(FBrowseMode);
  const int height = std::max(0, bottom - top);
  MoveWindow(FVexaMeter1->Handle(), 0, top, client.right, height, TRUE);
  FlbNotCon->SetBounds(0, top, client.right, height);
}

void TFrmMain::FormResize() {
  if (!FsBar) return;
  RECT window;
  GetWindowRect(Handle(), &window);
  const int width = window.right - window.left;
  FSWbar->SetPanelWidth(4, MulDiv(width, kDesignDpi, FDpi));
  FsBar->SetPanelBevel(8,
                       width >= Scaled(kLastBevelWidth) ? TPanelBevel::Lowered : TPanelBevel::None);
  ArrangeControls();
}

int TFrmMain::Scaled(int value) const {
  return ScaleToDpi(value, FDpi);
}

// The system suggests a place in proportion; the bars and fonts follow, and
// the layout is made anew at the new size.
void TFrmMain::ChangeDpi(int dpi, const RECT& suggested) {
  const int fromDpi = std::exchange(FDpi, dpi);
  TGdiObject<HFONT> font(CreateMainFont(dpi)), notConnected(CreateNotConnectedFont(dpi));
  RescaleChildren(Handle(), fromDpi, dpi, FFont.Get(), font.Get());
  SendMessageA(FlbNotCon->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(notConnected.Get()), TRUE);
  // The old fonts go now that no control shows them.
  FFont = std::move(font);
  FNotConnectedFont = std::move(notConnected);
  SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
  FSWbar->SetDpi(dpi);
  FsBar->SetDpi(dpi);
  FImage1->SetImages(TOwnedImageList(LoadStopWatchPicture(dpi)));
  FVexaMeter1->SetPixelsPerInch(dpi);
  MoveToRect(Handle(), suggested);
  FormResize();
}
