#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "controls/hint_window_win32.h"
#include "controls/meter_model.h"
#include "controls/meter_renderer.h"
#include "ui/form_win32.h"
#include "ui/gdi_canvas_win32.h"

struct TVexaMeterArgs {
  HWND Parent = nullptr;
  int Left = 0;
  int Top = 0;
  int Width = 120;
  int Height = 80;
  TMeterSystem System;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// The throughput graph as a child window: paints the meter's picture into a
// back buffer at the cost of what changed, scrolls the window's picture as
// the graph moves on, and copies only the changed parts to the screen (no
// background erase, so the repaint after each sample does not flicker);
// shows the hint for the sample under the mouse, and reports clicks to its
// owner.
class TVexaMeter : public TMeterModel, public TForm {
 public:
  explicit TVexaMeter(const TVexaMeterArgs& args);
  ~TVexaMeter() override;

  HFONT Font() const { return FFont; }
  // The font stays the caller's; nullptr returns to the GUI font.
  void SetFont(HFONT font);

  // Takes the hint away (a menu opens over it, or the window is no longer in front).
  void HideHint() { FreeHint(); }

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(TMouseButton button, int x, int y)> OnMouseDown;

 protected:
  void Repaint() override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  // Paints what changed into the back buffer, scrolls the window, and
  // invalidates the changed parts.
  void Render();
  void WMPaint();
  void WMMouseMove(int x, int y);
  void WMMouseLeave();
  void ButtonDown(TMouseButton button, LPARAM lParam, bool twice);
  void ButtonUp(LPARAM lParam);
  void ShowHint();
  void FreeHint();
  void SetCrossHair(bool on);

  HFONT FFont;
  TGdiCanvas FMain;
  TGdiCanvas FSuper;
  TMeterRenderer FRenderer;
  bool FDrawn = false;        // the back buffer holds a picture of the client area
  bool FRendered = false;     // and it is current: a repaint is under way
  std::vector<TRect> FFresh;  // where the back buffer holds the current picture
  std::unique_ptr<THintWindow> FHint;
  bool FTracking = false;  // a leave notice is requested
  bool FCrossHair = false;
  bool FClicking = false;  // the left button went down here
};
