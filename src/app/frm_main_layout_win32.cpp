// The main window's controls: the stopwatch bar at the top, the graph with
// the "Not Connected" label over it, the browse bar and the status bar.
#include <windowsx.h>

#include "app/frm_main_win32.h"

namespace {

// A window wider than this shows the bevel of the status bar's last panel.
constexpr int kLastBevelWidth = 560;
constexpr int kBrowseCaptionWidth = 88;
constexpr int kScrollLargeChange = 60;

HFONT CreateFontOf(const char* face, int height, int weight, bool italic) {
  return CreateFontA(-height, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
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
  FFont.Reset(CreateFontOf("Microsoft Sans Serif", 11, FW_NORMAL, false));
  FNotConnectedFont.Reset(CreateFontOf("Arial", 32, FW_BOLD, true));
  SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
  CreateStopWatchBar();
  CreateGraph();
  CreateBrowseBar();

  TStatusBarArgs bottom;
  bottom.Parent = Handle();
  bottom.Panels = RateBarPanels();
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
  FSWbar = std::make_unique<TVdStatusBar>(top);
  HWND bar = FSWbar->Handle();
  SendMessageA(bar, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), TRUE);
  FSWbar->SetVisible(false);
  FBevel1 = std::make_unique<TControl>(ChildArgs(bar, "", SS_SUNKEN, FFont.Get(), 1, 3, 82, 14));
  TOwnedImageList picture(ImageList_LoadImageA(GetModuleHandleA(nullptr), "STOPWATCH", 13, 0,
                                               RGB(255, 0, 255), IMAGE_BITMAP,
                                               LR_CREATEDIBSECTION));
  FImage1 = std::make_unique<TImage>(
      ChildArgs(bar, "", WS_VISIBLE | SS_NOTIFY, FFont.Get(), 3, 6, 13, 11), std::move(picture));
  FLabel5 = std::make_unique<TLabel>(
      ChildArgs(bar, "Stop Watch", WS_VISIBLE | SS_CENTER | SS_NOTIFY, FFont.Get(), 14, 2, 69, 14));
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
                                                  FFont.Get(), 0, 0, kBrowseCaptionWidth));
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
  const int browseHeight = GetSystemMetrics(SM_CYHSCROLL);
  if (FBrowseMode) {
    bottom -= browseHeight;
    FPnlBrowse->SetBounds(0, bottom, kBrowseCaptionWidth, browseHeight);
    FScrollBar1->SetBounds(kBrowseCaptionWidth, bottom, client.right - kBrowseCaptionWidth,
                           browseHeight);
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
  FSWbar->SetPanelWidth(4, width);
  FsBar->SetPanelBevel(8, width >= kLastBevelWidth ? TPanelBevel::Lowered : TPanelBevel::None);
  ArrangeControls();
}
