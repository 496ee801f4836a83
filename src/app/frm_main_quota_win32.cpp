// The data quota: its figures, read after every flush and followed between,
// in the tray tip and the status bar's hint, and the warning balloon once per
// period and level.
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
  FQuotaRead = figures;
  FollowQuota();
}

// The figures as read with what was counted since and is not booked yet, so
// that the tip is up to date and a warning comes within the second its level
// is crossed, not at the next booking.
void TFrmMain::FollowQuota() {
  if (!FQuota.Enabled) return;
  const auto [received, sent] = FMeasurement->Unbooked(FQuotaRead.Period.Start);
  FQuotaFigures =
      WithUnbooked(FQuota, FQuotaRead, received, sent, static_cast<int32_t>(FSource->Now()));
  FDisplaySettings.QuotaTip = QuotaTipLine(FQuotaFigures);
  FsBar->SetHint(QuotaBudgetText(FQuotaFigures));
  WarnOfQuota(FQuotaFigures);
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
