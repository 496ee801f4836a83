// The automatic redial of a stalled dial-up line, as the main window runs
// it: the dial-up component's events, the one-second redial timer, the dial
// request and the dialling window.
#include "app/frm_main_win32.h"

void TFrmMain::CreateDialUp() {
  FDialUp1.OnDialing = [this] { DialUp1Dialing(); };
  FDialUp1.OnAsyncEvent = [this](uint32_t state, int error, const std::string& text) {
    DialUp1AsyncEvent(state, error, text);
  };
  FDialUp1.OnError = [this](int, const std::string&) { FRedial.DialFailed(); };
}

void TFrmMain::DialUp1Dialing() {
  FRedial.Dialing();
}

void TFrmMain::DialUp1AsyncEvent(uint32_t state, int error, const std::string& text) {
  FRedial.AsyncEvent(state, error, text);
}

void TFrmMain::TmrDialTimer() {
  KillTimer(Handle(), TmrDial);
  FRedial.TimerFired();
}

void TFrmMain::WMDial() {
  FRedial.DialRequested();
}

// A new window each time; the one before is closed by then, and freed with
// the other closed windows.
void TFrmMain::OpenDialWindow(const std::string& caption) {
  FDial = std::make_unique<TFrmDial>(Handle(), caption);
  FDial->OnCancel = [this] { FRedial.Cancel(); };
  Opened(*FDial, true);
}

void TFrmMain::SetDialStatus(const std::string& text) {
  if (DialWindowOpen()) FDial->SetStatus(text);
}

void TFrmMain::CloseDialWindow() {
  if (DialWindowOpen()) FDial->Destroy();
}

bool TFrmMain::DialWindowOpen() const {
  return FDial && FDial->Handle();
}

void TFrmMain::ArmTimer() {
  SetTimer(Handle(), TmrDial, kRedialInterval, nullptr);
}

void TFrmMain::PostDial() {
  PostMessageA(Handle(), WMDIAL, 0, 0);
}
