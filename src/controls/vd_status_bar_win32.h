#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/dpi_win32.h"

enum class TPanelBevel { Lowered, Raised, None };

struct TStatusPanel {
  int Width = 50;  // at 96 DPI
  bool Centered = false;
  TPanelBevel Bevel = TPanelBevel::Lowered;
  bool OwnerDraw = false;  // drawn by nobody: an empty gap
  std::string Text;
};

struct TStatusBarArgs {
  HWND Parent = nullptr;
  bool SizeGrip = true;
  int Height = 19;       // at 96 DPI
  int Dpi = kDesignDpi;  // the parent's
  std::vector<TStatusPanel> Panels;
};

// The system's status bar with panels, which also carries child controls
// (labels, pictures) drawn over its panels: it reflects their notifications
// to them, passes on those they leave to its parent, and draws static ones
// transparent. Its owner places it, at
// the top or the bottom (the bar's own alignment is not honoured everywhere).
// Its height and its panels' widths are given at 96 DPI and shown at the
// parent's.
class TVdStatusBar {
 public:
  explicit TVdStatusBar(const TStatusBarArgs& args);
  ~TVdStatusBar();
  TVdStatusBar(const TVdStatusBar&) = delete;
  TVdStatusBar& operator=(const TVdStatusBar&) = delete;

  HWND Handle() const { return FHandle; }
  int Height() const;
  // Shown in its parent (whether or not the parent itself is on screen).
  bool Visible() const { return GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_VISIBLE; }
  void SetVisible(bool visible);

  int PanelCount() const { return static_cast<int>(FPanels.size()); }
  const TStatusPanel& Panel(int index) const { return FPanels[index]; }
  void SetPanelText(int index, const std::string& text);
  void SetPanelWidth(int index, int width);
  void SetPanelBevel(int index, TPanelBevel bevel);
  // The parent moved to a screen of this DPI.
  void SetDpi(int dpi);
  // The tip shown while the mouse rests on the bar; none when empty.
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint);
  // The text the bar shows in a panel, as the system reports it (without
  // the tabs that place it).
  std::string ShownText(int index) const;
  // Puts the bar at a height in its parent, as wide as given.
  void Place(int top, int width);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);
  void ApplyParts();
  void ApplyText(int index);

  HWND FHandle;
  int FHeight;
  int FDpi;
  std::vector<TStatusPanel> FPanels;
  std::string FHint;
  HWND FTip = nullptr;  // the tooltip window, made for the first hint
};
