// The main window's controls: the stopwatch bar at the top, the graph with
// the "Not Connected" label over it, the browse bar and the status bar.
#include <windowsx.h>

#include "app/frm_main_win32.h"
#include "controls/canvas.h"
#include "traffic/display_text.h"

namespace {

// A window wider than this shows the bevel of the status bar's last panel.
constexpr int kLastBevelWidth = 560;
constexpr int kBrowseCaptionWidth = 88;

HFONT CreateFontOf(const char* face, int height, int weight, bool italic) {
  return CreateFontA(-height, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                 int width, int height, HFONT font) {
  HWND child = CreateWindowExA(0, className, text, WS_CHILD | style, x, y, width, height, parent,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
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

// The label and picture on the stopwatch bar report every button press.
LRESULT CALLBACK StopWatchLabelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR form) {
  if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) {
    PostMessageA(reinterpret_cast<HWND>(form), WM_COMMAND, MAKEWPARAM(cmStopWatchLabel, 0), 0);
    return 0;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

COLORREF Resolve(TColor color) {
  return color & kSysColorFlag ? GetSysColor(color & 0xFF) : color;
}

}  // namespace

void TFrmMain::CreateControls() {
  FFont = CreateFontOf("Microsoft Sans Serif", 11, FW_NORMAL, false);
  FNotConnectedFont = CreateFontOf("Arial", 32, FW_BOLD, true);
  SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont), FALSE);

  TStatusBarArgs top;
  top.Parent = Handle();
  top.SizeGrip = false;
  top.Panels = StopWatchBarPanels();
  FSWbar = std::make_unique<TVdStatusBar>(top);
  SendMessageA(FSWbar->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont), TRUE);
  FSWbar->SetVisible(false);
  FBevel1 = CreateChild(FSWbar->Handle(), "STATIC", "", SS_SUNKEN, 1, 3, 82, 14, FFont);
  FImage1 = CreateChild(FSWbar->Handle(), "STATIC", "", WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY, 3, 6,
                        13, 11, FFont);
  FLabel5 = CreateChild(FSWbar->Handle(), "STATIC", "Stop Watch",
                        WS_VISIBLE | SS_CENTER | SS_NOTIFY, 14, 2, 69, 14, FFont);
  for (HWND control : {FImage1, FLabel5})
    SetWindowSubclass(control, StopWatchLabelProc, 1, reinterpret_cast<DWORD_PTR>(Handle()));
  FStopWatchImage = ImageList_LoadImageA(GetModuleHandleA(nullptr), "STOPWATCH", 13, 0,
                                         RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);

  TVexaMeterArgs graph;
  graph.Parent = Handle();
  FVexaMeter1 = std::make_unique<TVexaMeter>(graph);
  FVexaMeter1->SetFont(FFont);
  FVexaMeter1->OnDblClick = [this] { ToggleBorderless(); };
  FVexaMeter1->OnMouseDown = [this](TMouseButton button, int, int) { VexaMeter1MouseDown(button); };
  FVexaMeter1->OnFormatHint = [this](const THistoryData& sample, std::string& text) {
    text = VexaMeter1FormatHint(sample);
  };
  // Over the graph, and as transparent to the mouse as a label is.
  FlbNotCon = CreateChild(Handle(), "STATIC", "Not Connected", SS_CENTER | SS_CENTERIMAGE, 0, 0, 0,
                          0, FNotConnectedFont);
  SetWindowPos(FlbNotCon, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  FPnlBrowse =
      CreateChild(Handle(), "STATIC", "Browse Mode", SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN, 0, 0,
                  kBrowseCaptionWidth, 0, FFont);
  FScrollBar1 = CreateChild(Handle(), "SCROLLBAR", "", SBS_HORZ, 0, 0, 0, 0, FFont);

  TStatusBarArgs bottom;
  bottom.Parent = Handle();
  bottom.Panels = RateBarPanels();
  FsBar = std::make_unique<TVdStatusBar>(bottom);
  SendMessageA(FsBar->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont), TRUE);
  FormResize();
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
    MoveWindow(FPnlBrowse, 0, bottom, kBrowseCaptionWidth, browseHeight, TRUE);
    MoveWindow(FScrollBar1, kBrowseCaptionWidth, bottom, client.right - kBrowseCaptionWidth,
               browseHeight, TRUE);
  }
  ShowWindow(FPnlBrowse, FBrowseMode ? SW_SHOW : SW_HIDE);
  ShowWindow(FScrollBar1, FBrowseMode ? SW_SHOW : SW_HIDE);
  const int height = std::max(0, bottom - top);
  MoveWindow(FVexaMeter1->Handle(), 0, top, client.right, height, TRUE);
  MoveWindow(FlbNotCon, 0, top, client.right, height, TRUE);
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

// "Not Connected" in black or white on the graph's background; the labels of
// the stopwatch bar on the bar itself.
LRESULT TFrmMain::ColorStatic(HDC dc, HWND control) {
  if (control != FlbNotCon)
    return DefWindowProcA(Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(control));
  const TColor background = FVexaMeter1->GraphBackgroundColor();
  if (FNotConnectedBrush) DeleteObject(FNotConnectedBrush);
  FNotConnectedBrush = CreateSolidBrush(Resolve(background));
  SetTextColor(dc, NotConnectedColor(background));
  SetBkColor(dc, Resolve(background));
  return reinterpret_cast<LRESULT>(FNotConnectedBrush);
}

void TFrmMain::DrawStopWatchImage(const DRAWITEMSTRUCT& item) {
  if (item.hwndItem != FImage1 || !FStopWatchImage) return;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  ImageList_Draw(FStopWatchImage, 0, item.hDC, item.rcItem.left, item.rcItem.top, ILD_TRANSPARENT);
}
