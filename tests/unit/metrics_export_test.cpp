#include "reports/metrics_export.h"

#include <gtest/gtest.h>

#include "base/product.h"
#include "scratch_dir.h"

namespace {

TEST(MetricsExportTest, TextFollowsTheExpositionFormat) {
  TMetrics metrics;
  metrics.Links["R\xe9seau @ 00-11"] = {5000000000, 123, 61999};  // Windows-1252
  metrics.Links["My \"ISP\"\\\nB"] = {1, 2, 3000};
  metrics.TodayReceived = 4000;
  metrics.TodaySent = 300;
  metrics.Connected = true;
  metrics.SpeedBytesPerSecond = 12500000;
  metrics.MonthReceived = 90000;
  metrics.MonthSent = 8000;
  metrics.WrittenAt = 1765000000;
  metrics.Interval = 30;
  const std::string text = MetricsText(metrics);
  const std::string expected =
      "# HELP tallyline_received_bytes_total Bytes received over the link since Tallyline "
      "started.\n"
      "# TYPE tallyline_received_bytes_total counter\n"
      "tallyline_received_bytes_total{link=\"My \\\"ISP\\\"\\\\\\nB\"} 1\n"
      "tallyline_received_bytes_total{link=\"R\xc3\xa9seau @ 00-11\"} 5000000000\n"
      "# HELP tallyline_sent_bytes_total Bytes sent over the link since Tallyline started.\n"
      "# TYPE tallyline_sent_bytes_total counter\n"
      "tallyline_sent_bytes_total{link=\"My \\\"ISP\\\"\\\\\\nB\"} 2\n"
      "tallyline_sent_bytes_total{link=\"R\xc3\xa9seau @ 00-11\"} 123\n"
      "# HELP tallyline_online_seconds_total Seconds online over the link since Tallyline "
      "started.\n"
      "# TYPE tallyline_online_seconds_total counter\n"
      "tallyline_online_seconds_total{link=\"My \\\"ISP\\\"\\\\\\nB\"} 3\n"
      "tallyline_online_seconds_total{link=\"R\xc3\xa9seau @ 00-11\"} 61\n"
      "# HELP tallyline_today_received_bytes Bytes received today.\n"
      "# TYPE tallyline_today_received_bytes gauge\n"
      "tallyline_today_received_bytes 4000\n"
      "# HELP tallyline_today_sent_bytes Bytes sent today.\n"
      "# TYPE tallyline_today_sent_bytes gauge\n"
      "tallyline_today_sent_bytes 300\n"
      "# HELP tallyline_month_received_bytes Bytes received this month.\n"
      "# TYPE tallyline_month_received_bytes gauge\n"
      "tallyline_month_received_bytes 90000\n"
      "# HELP tallyline_month_sent_bytes Bytes sent this month.\n"
      "# TYPE tallyline_month_sent_bytes gauge\n"
      "tallyline_month_sent_bytes 8000\n"
      "# HELP tallyline_connected 1 while the watched link is up; 0 once Tallyline has ended.\n"
      "# TYPE tallyline_connected gauge\n"
      "tallyline_connected 1\n"
      "# HELP tallyline_link_speed_bytes_per_second The link's speed.\n"
      "# TYPE tallyline_link_speed_bytes_per_second gauge\n"
      "tallyline_link_speed_bytes_per_second 12500000\n"
      "# HELP tallyline_last_write_timestamp_seconds When Tallyline wrote this file, in seconds "
      "since 1970.\n"
      "# TYPE tallyline_last_write_timestamp_seconds gauge\n"
      "tallyline_last_write_timestamp_seconds 1765000000\n"
      "# HELP tallyline_write_interval_seconds The seconds between writes.\n"
      "# TYPE tallyline_write_interval_seconds gauge\n"
      "tallyline_write_interval_seconds 30\n"
      "# HELP tallyline_info The program's version and what it watches.\n"
      "# TYPE tallyline_info gauge\n"
      "tallyline_info{version=\"" +
      std::string(kAppVersion) + "\",mode=\"adapter\"} 1\n";
  EXPECT_EQ(text, expected);

  // A quota adds its three gauges; the period of 1 to 31 January 2025 ends
  // at the local midnight that starts 1 February.
  metrics.Quota = TQuotaFigures{};
  metrics.Quota->Period = {45658, 45688};
  metrics.Quota->Used = 700;
  metrics.Quota->Limit = 1000;
  metrics.Dialup = true;
  const std::string quota = MetricsText(metrics);
  EXPECT_NE(quota.find("\ntallyline_quota_used_bytes 700\n"), std::string::npos);
  EXPECT_NE(quota.find("\ntallyline_quota_limit_bytes 1000\n"), std::string::npos);
  EXPECT_NE(quota.find("\ntallyline_quota_period_end_timestamp_seconds " +
                       std::to_string(UnixTimeOfLocal({2025, 2, 1})) + "\n"),
            std::string::npos);
  EXPECT_NE(quota.find("mode=\"dialup\"} 1\n"), std::string::npos);
  EXPECT_EQ(quota.find('\r'), std::string::npos);
}

TEST(MetricsExportTest, SettingsTakeTheNearestLimitAndDefaultsForTheUnreadable) {
  TScratchDir dir;
  dir.Write("settings.ini", "[Export]\r\nMetricsFile=metrics\\tallyline.prom\r\nInterval=2\r\n");
  TIniFile32 settings(dir.Path("settings.ini"), false);
  EXPECT_EQ(ReadExportSettings(settings), (TExportSettings{"metrics\\tallyline.prom", 5}));
  settings.WriteString("Export", "Interval", "99999");
  EXPECT_EQ(ReadExportSettings(settings).Interval, 3600);
  settings.WriteString("Export", "Interval", "soon");
  EXPECT_EQ(ReadExportSettings(settings).Interval, 15);
  WriteExportSettings(settings, {"", 30});
  EXPECT_EQ(ReadExportSettings(settings), (TExportSettings{"", 30}));

  EXPECT_EQ(MetricsPath("C:\\Tallyline\\", "m.prom"), "C:\\Tallyline\\m.prom");
  EXPECT_EQ(MetricsPath("C:\\Tallyline\\", "D:\\m.prom"), "D:\\m.prom");
  EXPECT_EQ(MetricsPath("C:\\Tallyline\\", "\\\\server\\m.prom"), "\\\\server\\m.prom");
}

}  // namespace
