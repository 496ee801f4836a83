#include "controls/vd_status_bar_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/control_win32.h"
#include "ui/form_win32.h"

TVdStatusBar::TVdStatusBar(const TStatusBarArgs& args)
    : FHeight(args.Height), FDpi(args.Dpi), FPanels(args.Panels) {
  // Without clipping: the bar paints its panels under the controls it carries.
  DWORD style = WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
  if (args.SizeGrip) style |= SBARS_SIZEGRIP;
  FHandle = CreateWindowExA(0, STATUSCLASSNAMEA, "", style, 0, 0, 0, Height(), args.Parent, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  SetWindowSubclass(FHandle, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
  ApplyParts();
}

TVdStatusBar::~TVdStatusBar() {
  // Owned by the top-level window, not by the bar: it would outlive it.
  if (FTip) DestroyWindow(FTip);
  RemoveWindowSubclass(FHandle, SubclassProc, 1);
  DestroyWindow(FHandle);
}

void TVdStatusBar::SetVisible(bool visible) {
  ShowWindow(FHandle, visible ? SW_SHOW : SW_HIDE);
}

int TVdStatusBar::Height() const {
  return ScaleToDpi(FHeight, FDpi);
}

void TVdStatusBar::SetDpi(int dpi) {
  FDpi = dpi;
  ApplyParts();
}

// One tool, the whole bar; the tooltip follows the mouse over it itself.
void TVdStatusBar::SetHint(const std::string& hint) {
  if (hint == FHint) return;
  FHint = hint;
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = FHandle;
  tool.uId = reinterpret_cast<UINT_PTR>(FHandle);
  tool.lpszText = FHint.data();
  if (!FTip) {
    FTip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX, 0, 0,
                           0, 0, FHandle, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(FTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SendMessageA(FTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TVdStatusBar::SetPanelText(int index, const std::string& text) {
  if (FPanels[index].Text == text) return;
  FPanels[index].Text = text;
  ApplyText(index);
}

void TVdStatusBar::SetPanelWidth(int index, int width) {
  FPanels[index].Width = width;
  ApplyParts();
}

void TVdStatusBar::SetPanelBevel(int index, TPanelBevel bevel) {
  if (FPanels[index].Bevel == bevel) return;
  FPanels[index].Bevel = bevel;
  ApplyText(index);
}

std::string TVdStatusBar::ShownText(int index) const {
  const auto length = LOWORD(SendMessageA(FHandle, SB_GETTEXTLENGTHA, index, 0));
  std::string text(length + 1, '\0');
  SendMessageA(FHandle, SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  text.erase(0, std::min(text.find_first_not_of('\t'), text.size()));
  return text;
}

void TVdStatusBar::Place(int top, int width) {
  MoveWindow(FHandle, 0, top, width, Height(), TRUE);
}

// Each panel ends where the widths add up to; the last one runs to the edge.
void TVdStatusBar::ApplyParts() {
  std::vector<int> edges;
  int edge = 0;
  for (const TStatusPanel& panel : FPanels) edges.push_back(edge += panel.Width);
  for (int& end : edges) end = ScaleToDpi(end, FDpi);
  if (!edges.empty()) edges.back() = -1;
  SendMessageA(FHandle, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < PanelCount(); ++i) ApplyText(i);
}

void TVdStatusBar::ApplyText(int index) {
  const TStatusPanel& panel = FPanels[index];
  WPARAM type = index;
  if (panel.Bevel == TPanelBevel::Raised) type |= SBT_POPOUT;
  if (panel.Bevel == TPanelBevel::None) type |= SBT_NOBORDERS;
  if (panel.OwnerDraw) type |= SBT_OWNERDRAW;
  // A leading tab centres the text.
  const std::string text = panel.Centered ? "\t" + panel.Text : panel.Text;
  SendMessageA(FHandle, SB_SETTEXTA, type,
               panel.OwnerDraw ? 0 : reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT CALLBACK TVdStatusBar::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR) {
  bool handled = false;
  const LRESULT result = Guarded(hwnd, [&] {
    LRESULT reflected = 0;
    handled = ReflectToControl(hwnd, msg, wParam, lParam, reflected);
    return reflected;
  });
  if (handled) return result;
  switch (msg) {
    case WM_CTLCOLORSTATIC:
      // Labels and pictures on the bar let its panels show through.
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_COMMAND:
    case WM_NOTIFY: return SendMessageA(GetParent(hwnd), msg, wParam, lParam);
    case WM_DRAWITEM:
      // The owner-drawn gaps of the bar stay empty; its controls' drawing is
      // their parent's.
      if (reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem == hwnd) return TRUE;
      return SendMessageA(GetParent(hwnd), msg, wParam, lParam);
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}
