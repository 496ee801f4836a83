// The data quota: its figures after every flush, in the tray tip and the
// status bar's hint, and the warning balloon once per period and level.
#include "app/frm_main_win32.h"
#include "base/product.h"

void TFrmMain::UpdateQuota() {
  FQuotaFlush = FMeasurement->State.LastFlush;
  if (!FQuota.Enabled) {
    FDisplaySettings.QuotaTip.clear();
    FsBar->SetHint("");
    return;
  }
  TReadNotes notes;
  const TQuotaFigures figures =
      ReadQuotaFigures(FFolder, FQuota, static_cast<int32_t>(FSource->Now()), notes);
  // Read every two minutes: what the reading noted is told once a run.
  for (const std::string& text : notes.Texts())
    if (FQuotaNoted.insert(text).second) FNotices.push_back("Data quota: " + text);
  if (!FNotices.empty()) PostMessageA(Handle(), WMSHOWNOTICES, 0, 0);
  FQuotaFigures = figures;
  FDisplaySettings.QuotaTip = QuotaTipLine(figures);
  FsBar->SetHint(QuotaBudgetText(figures));
  WarnOfQuota(figures);
}

// The warning is kept in the settings as given, so a restart does not give
// it again; a shell without balloons gets a message box instead.
void TFrmMain::WarnOfQuota(const TQuotaFigures& figures) {
  const TQuotaLevel level = DueQuotaWarning(FQuota, figures);
  if (level == qlNone) return;
  FQuota.WarnedPeriod = figures.Period.Start;
  FQuota.WarnedLevel = level;
  WriteQuotaSettings(*FSettings, FQuota);
  const std::string text = QuotaBalloonText(level, figures);
  if (FVexaTray1->ShowBalloon(kAppTitle, text)) return;
  FNotices.push_back(text);
  PostMessageA(Handle(), WMSHOWNOTICES, 0, 0);
}
