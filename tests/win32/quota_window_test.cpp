// The data quota in the main window: the budget in the status bar's hint,
// the used amount in the tray tip, and one balloon when the amount counted
// crosses a level, kept in the settings.
#include <gtest/gtest.h>

#include <vector>

#include "reports/quota.h"
#include "storage/ini_file.h"
#include "win32/main_window_fixture_win32.h"

namespace {

class QuotaWindowTest : public TMainWindowTest {
 protected:
  // The warning balloons the tray gave the shell, which still shows them.
  std::vector<std::string> Balloons;

  void WatchBalloons() {
    Form->VexaTray1().ShellNotify = [this](DWORD message, NOTIFYICONDATAA* data) {
      if (data->uFlags & NIF_INFO) Balloons.push_back(data->szInfo);
      return Shell_NotifyIconA(message, data);
    };
  }

  // A second later, and two minutes on: the totals are flushed.
  void TickAndFlush(uint32_t received) {
    Tick(received, 0);
    Link.Advance(120000);
    Tick(received, 0);
  }

  TQuotaFigures Figures() {
    TIniFile32 settings(Dir.Path("settings.ini"), false);
    TReadNotes notes;
    return ReadQuotaFigures(Dir.Folder(), ReadQuotaSettings(settings),
                            static_cast<int32_t>(Link.Clock), notes);
  }
};

TEST_F(QuotaWindowTest, AFlushOverTheWarningLevelWarnsOnceAndTheTipAndHintFollow) {
  TFrmMain& form =
      Open(std::string(kAdapter) + "[Quota]\r\nEnabled=1\r\nLimit=1000000\r\nWarnPercent=80\r\n");
  WatchBalloons();
  Tick(0, 0);  // the readings the first bytes are counted from
  Tick(0, 0);
  TickAndFlush(700000);  // 70 %: below the warning
  EXPECT_TRUE(Balloons.empty());
  EXPECT_EQ(form.sBar().Hint(), QuotaBudgetText(Figures()));

  TickAndFlush(850000);  // 85 %
  ASSERT_EQ(Balloons.size(), 1u);
  const TQuotaFigures figures = Figures();
  EXPECT_EQ(Balloons[0], QuotaBalloonText(qlWarning, figures));
  PumpMessages(3000);  // the shell shows the balloon in its own time
  Shoot(nullptr, "quota_balloon");
  TIniFile32 settings(Dir.Path("settings.ini"), false);
  EXPECT_EQ(settings.ReadInteger("Quota", "WarnedLevel", 0), qlWarning);
  EXPECT_EQ(settings.ReadInteger("Quota", "WarnedPeriod", 0), figures.Period.Start);
  const std::string tip = form.VexaTray1().ToolTip();
  EXPECT_EQ(tip.substr(tip.rfind('\r') + 1), QuotaTipLine(figures));
  EXPECT_EQ(form.sBar().Hint(), QuotaBudgetText(figures));

  TickAndFlush(900000);  // 90 %: warned already
  EXPECT_EQ(Balloons.size(), 1u);
}

// Each second's bytes count at once, booked or not: a warning comes in the
// second its level is crossed, and what is booked counts once.
TEST_F(QuotaWindowTest, AWarningComesInTheSecondItsLevelIsCrossed) {
  TFrmMain& form =
      Open(std::string(kAdapter) + "[Quota]\r\nEnabled=1\r\nLimit=1000000\r\nWarnPercent=80\r\n");
  WatchBalloons();
  Tick(0, 0);
  Tick(0, 0);
  Tick(799999, 0);
  EXPECT_TRUE(Balloons.empty());
  Tick(800000, 0);
  ASSERT_EQ(Balloons.size(), 1u);
  Tick(999999, 0);
  EXPECT_EQ(Balloons.size(), 1u);
  Tick(1000000, 0);
  ASSERT_EQ(Balloons.size(), 2u);
  EXPECT_EQ(Balloons[1].substr(0, Balloons[1].find_first_of("\r\n")),
            "The data quota of 976 KB is used up (100%).");

  Link.Advance(120000);
  Tick(1000000, 0);
  EXPECT_EQ(Figures().Used, 1000000);
  const std::string tip = form.VexaTray1().ToolTip();
  EXPECT_EQ(tip.substr(tip.rfind('\r') + 1), "Quota: 976 KB of 976 KB (100%)");
  EXPECT_EQ(Balloons.size(), 2u);
}

}  // namespace
