#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class TPanelBevel { Lowered, Raised, None };

struct TStatusPanel {
  int Width = 50;
  bool Centered = false;
  TPanelBevel Bevel = TPanelBevel::Lowered;
  bool OwnerDraw = false;  // drawn by nobody: an empty gap
  std::string Text;
};

struct TStatusBarArgs {
  HWND Parent = nullptr;
  bool AlignTop = false;
  bool SizeGrip = true;
  int Height = 19;
  std::vector<TStatusPanel> Panels;
};

// The system's status bar with panels, which also carries child controls
// (labels, pictures) drawn over its panels: their notifications go on to the
// parent, and static ones are drawn transparent.
class TVdStatusBar {
 public:
  explicit TVdStatusBar(const TStatusBarArgs& args);
  ~TVdStatusBar();
  TVdStatusBar(const TVdStatusBar&) = delete;
  TVdStatusBar& operator=(const TVdStatusBar&) = delete;

  HWND Handle() const { return FHandle; }
  int Height() const;
  bool Visible() const { return IsWindowVisible(FHandle); }
  void SetVisible(bool visible);

  int PanelCount() const { return static_cast<int>(FPanels.size()); }
  const TStatusPanel& Panel(int index) const { return FPanels[index]; }
  void SetPanelText(int index, const std::string& text);
  void SetPanelWidth(int index, int width);
  void SetPanelBevel(int index, TPanelBevel bevel);
  // The text the bar shows in a panel, as the system reports it (without
  // the tabs that place it).
  std::string ShownText(int index) const;
  // Follows the parent's new size.
  void Resize();

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);
  void ApplyParts();
  void ApplyText(int index);

  HWND FHandle;
  std::vector<TStatusPanel> FPanels;
};
