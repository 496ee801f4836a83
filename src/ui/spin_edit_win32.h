#pragma once

#include <windows.h>

#include <functional>

#include "ui/control_win32.h"

// A whole number between a minimum and a maximum: an edit that takes digits,
// with up and down arrows at its right (the arrow keys step it too). The
// arguments' bounds cover both windows.
class TSpinEdit : public TControl {
 public:
  TSpinEdit(const TControlArgs& args, int min, int max);

  // Always within the limits: typed text beyond them reads as the nearest
  // one, an empty or other text as the minimum. The text follows when the
  // edit loses the focus.
  int Value() const;
  void SetValue(int value);  // kept within the limits
  // These act on both windows.
  void SetBounds(int left, int top, int width, int height);
  void SetVisible(bool visible);
  void SetEnabled(bool enabled);

  // Every change the user makes, typing or stepping; not SetValue's.
  std::function<void()> OnChange;

 protected:
  bool Notified(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // The arrows, whose notifications the spin edit handles.
  class TArrows : public TControl {
   public:
    TArrows(const TControlArgs& args, TSpinEdit& owner) : TControl(args), FOwner(owner) {}

   protected:
    bool Notified(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) override {
      return msg == WM_NOTIFY && FOwner.Stepped(*reinterpret_cast<const NMHDR*>(lParam), result);
    }

   private:
    TSpinEdit& FOwner;
  };

  bool Stepped(const NMHDR& notification, LRESULT& result);
  void Show(int value);

  int FMin;
  int FMax;
  bool FShowing = false;  // the text changes, but not by the user
  TArrows FArrows;
};
