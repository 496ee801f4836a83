#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <random>
#include <vector>

#include "setup/adapter_picker.h"
#include "setup/setup_model.h"
#include "ui/buttons_win32.h"
#include "ui/color_button_win32.h"
#include "ui/combo_box_win32.h"
#include "ui/dialog_win32.h"
#include "ui/edit_win32.h"
#include "ui/header_listbox_win32.h"
#include "ui/label_win32.h"
#include "ui/scroll_bar_win32.h"
#include "ui/spin_edit_win32.h"
#include "ui/tab_control_win32.h"

// The Setup dialog: the source of the counters and the adapter, the graph's
// look and scale, the main window's options and the data quota, on five
// tabs. It works on the live main window through the host: Apply and OK
// change it at once.
class TFrmSetup : public TDialog {
 public:
  TFrmSetup(HWND owner, TSetupHost& host);

  // The controls' values, as Apply takes them.
  TSetupValues Values() const;
  bool ApplyEnabled() const { return bApply->Enabled(); }

 protected:
  void DpiChanged(int fromDpi) override;

 private:
  // A drop-down list that is widened to its longest item, and the controls
  // right of it on its row, which move along.
  struct TFittedBox {
    TComboBox* Box;
    std::vector<TControl*> Right;
  };

  void CreateNetworkTab(HWND page);
  void CreateGraph1Tab(HWND page);
  void CreateColorRows(HWND page, int left, int top);
  void CreateGraph2Tab(HWND page);
  void CreateOptionsTab(HWND page);
  void CreateQuotaTab(HWND page);
  void CreateButtons();
  void FormCreate();
  void ShowAdapters();

  void Changed() { bApply->SetEnabled(true); }
  void SourceChosen();
  void cbGMaxValueChange();
  void ScrollBar2Change();
  void CheckQuotaClick();
  void ShowQuotaFigures();
  void FitBoxes();
  void bBrowseMetricsClick();
  void bApplyClick();
  void bOKClick();

  TSetupHost& FHost;
  std::mt19937 FRandom;

  std::unique_ptr<TTabControl> PageControl1;
  // "Network"
  std::unique_ptr<TRadioButton> rbDialup, rbNIC, rbTicked, rbAll;
  std::unique_ptr<THeaderListbox> lbNIC;
  std::unique_ptr<TLabel> lbReason;
  // The rows as the list shows them (the main window's may change meanwhile)
  // and what the user chose of them.
  std::unique_ptr<TAdapterPicker> FAdapters;
  // "Graph -1"
  std::unique_ptr<TRadioGroup> RadioGroup1, rGridStyle, RadioGroup2, rYaxisDisplay;
  std::unique_ptr<TControl> gbColors;
  std::array<std::unique_ptr<TColorButton>, 7> ColorButtons;
  std::array<std::unique_ptr<TButton>, 7> ResetButtons;  // the "R" buttons
  std::vector<std::unique_ptr<TControl>> FStatics;       // captions and frames
  // "Graph -2"
  std::unique_ptr<TComboBox> cbSDU, cbGMaxValue, ComboBox2, ComboBox1;
  std::unique_ptr<TEdit> eGCValue;
  std::unique_ptr<TScrollBar> ScrollBar2;
  std::unique_ptr<TLabel> Label4;
  // "Options"
  std::unique_ptr<TCheckBox> CheckBox2, CheckBox1, CheckBox5, CheckBox6;
  std::unique_ptr<TSpinEdit> seNOH;
  std::unique_ptr<TEdit> eMetricsFile;
  std::unique_ptr<TButton> bBrowseMetrics;
  std::unique_ptr<TSpinEdit> seMetricsInterval;
  // "Quota"
  std::unique_ptr<TCheckBox> CheckQuota;
  std::unique_ptr<TEdit> eQuotaLimit;
  std::unique_ptr<TComboBox> cbQuotaUnit, cbQuotaCount;
  std::unique_ptr<TSpinEdit> seStartDay, seWarnAt;
  std::unique_ptr<TLabel> lbQuotaFigures;
  std::vector<TControl*> FQuotaControls;  // enabled with CheckQuota, as are the spin edits
  std::vector<TFittedBox> FFittedBoxes;
  std::unique_ptr<TButton> bOK, bClose, bApply;
};
