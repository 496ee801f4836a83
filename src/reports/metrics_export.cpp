#include "reports/metrics_export.h"

#include <algorithm>

#include "base/product.h"
#include "platform/ansi_text.h"
#include "storage/ini_syntax.h"

namespace {

constexpr const char* kSection = "Export";

// A label value as the format asks: UTF-8, with backslash, double quote
// and line feed escaped. Prometheus refuses the whole file for one value
// that is not UTF-8.
std::string LabelValue(const std::string& ansi) {
  std::string escaped;
  for (const char c : AnsiToUtf8(ansi)) {
    if (c == '\\')
      escaped += "\\\\";
    else if (c == '"')
      escaped += "\\\"";
    else if (c == '\n')
      escaped += "\\n";
    else
      escaped += c;
  }
  return "\"" + escaped + "\"";
}

// One metric: its HELP and TYPE lines, then its samples.
class TMetricWriter {
 public:
  explicit TMetricWriter(std::string& text) : FText(text) {}
  TMetricWriter& Metric(const char* name, const char* type, const char* help) {
    FName = name;
    FText += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
    return *this;
  }
  TMetricWriter& Sample(int64_t value, const std::string& labels = "") {
    FText +=
        FName + (labels.empty() ? "" : "{" + labels + "}") + " " + std::to_string(value) + "\n";
    return *this;
  }

 private:
  std::string& FText;
  std::string FName;
};

// The seconds since 1970 at which the period's last day ends.
int64_t PeriodEnd(const TBillingPeriod& period) {
  return UnixTimeOfLocal(DecodeDaySerial(period.End + 1));
}

}  // namespace

TExportSettings ReadExportSettings(TIniFile32& settings) {
  TExportSettings s;
  s.MetricsFile = settings.ReadString(kSection, "MetricsFile", "");
  const std::optional<int64_t> interval =
      ParseInteger(settings.ReadString(kSection, "Interval", ""), 64);
  if (interval)
    s.Interval =
        static_cast<int>(std::clamp<int64_t>(*interval, kMinExportInterval, kMaxExportInterval));
  return s;
}

void WriteExportSettings(TIniFile32& settings, const TExportSettings& export_) {
  settings.WriteString(kSection, "MetricsFile", export_.MetricsFile);
  settings.WriteInteger(kSection, "Interval", export_.Interval);
}

std::string MetricsPath(const std::string& folder, const std::string& file) {
  const bool absolute =
      (!file.empty() && (file[0] == '\\' || file[0] == '/')) || (file.size() > 1 && file[1] == ':');
  return absolute ? file : folder + file;
}

std::string MetricsText(const TMetrics& m) {
  std::string text;
  TMetricWriter writer(text);
  const auto perLink = [&](const char* name, const char* help, auto amount) {
    writer.Metric(name, "counter", help);
    for (const auto& [link, count] : m.Links)
      writer.Sample(amount(count), "link=" + LabelValue(link));
  };
  perLink("tallyline_received_bytes_total", "Bytes received over the link since Tallyline started.",
          [](const TLinkCount& c) { return c.Received; });
  perLink("tallyline_sent_bytes_total", "Bytes sent over the link since Tallyline started.",
          [](const TLinkCount& c) { return c.Sent; });
  perLink("tallyline_online_seconds_total", "Seconds online over the link since Tallyline started.",
          [](const TLinkCount& c) { return c.OnlineMs / 1000; });
  writer.Metric("tallyline_today_received_bytes", "gauge", "Bytes received today.")
      .Sample(m.TodayReceived);
  writer.Metric("tallyline_today_sent_bytes", "gauge", "Bytes sent today.").Sample(m.TodaySent);
  writer.Metric("tallyline_month_received_bytes", "gauge", "Bytes received this month.")
      .Sample(m.MonthReceived);
  writer.Metric("tallyline_month_sent_bytes", "gauge", "Bytes sent this month.")
      .Sample(m.MonthSent);
  writer
      .Metric("tallyline_connected", "gauge",
              "1 while the watched link is up; 0 once Tallyline has ended.")
      .Sample(m.Connected ? 1 : 0);
  writer.Metric("tallyline_link_speed_bytes_per_second", "gauge", "The link's speed.")
      .Sample(m.SpeedBytesPerSecond);
  if (m.Quota) {
    writer
        .Metric("tallyline_quota_used_bytes", "gauge", "Bytes of the data quota used this period.")
        .Sample(m.Quota->Used);
    writer.Metric("tallyline_quota_limit_bytes", "gauge", "The data quota's limit; 0 for none.")
        .Sample(m.Quota->Limit);
    writer
        .Metric("tallyline_quota_period_end_timestamp_seconds", "gauge",
                "When the billing period ends, in seconds since 1970.")
        .Sample(PeriodEnd(m.Quota->Period));
  }
  writer
      .Metric("tallyline_last_write_timestamp_seconds", "gauge",
              "When Tallyline wrote this file, in seconds since 1970.")
      .Sample(m.WrittenAt);
  writer.Metric("tallyline_write_interval_seconds", "gauge", "The seconds between writes.")
      .Sample(m.Interval);
  writer.Metric("tallyline_info", "gauge", "The program's version and what it watches.")
      .Sample(1, std::string("version=") + LabelValue(kAppVersion) +
                     ",mode=" + LabelValue(m.Dialup ? "dialup" : "adapter"));
  return text;
}
