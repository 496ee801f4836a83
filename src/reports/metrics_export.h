#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "reports/quota.h"
#include "storage/ini_file.h"

// The figures for a monitoring engine: a file in Prometheus' text format
// that a textfile collector (windows_exporter's, node_exporter's) publishes.

// The section "Export" of the settings: "MetricsFile", a path, absolute or
// relative to the program's folder (empty: no file, the default), and
// "Interval", the seconds between writes (5 to 3600, default 15; a value
// outside is taken as the nearest limit, one that cannot be read as 15).
struct TExportSettings {
  std::string MetricsFile;
  int Interval = 15;
  bool operator==(const TExportSettings&) const = default;
};
inline constexpr int kMinExportInterval = 5;
inline constexpr int kMaxExportInterval = 3600;
TExportSettings ReadExportSettings(TIniFile32& settings);
void WriteExportSettings(TIniFile32& settings, const TExportSettings& export_);
// The file's path: as given when absolute, else in folder (with its
// trailing delimiter).
std::string MetricsPath(const std::string& folder, const std::string& file);

// What a link counted since the program started.
struct TLinkCount {
  int64_t Received = 0;
  int64_t Sent = 0;
  int64_t OnlineMs = 0;
};

// Everything the file tells, at the moment it is written.
struct TMetrics {
  std::map<std::string, TLinkCount> Links;   // by the entry name or adapter key
  int64_t TodayReceived = 0, TodaySent = 0;  // as the reports will show them
  int64_t MonthReceived = 0, MonthSent = 0;  // this calendar month, today's too
  bool Connected = false;                    // false in the last write, as the program ends
  int64_t WrittenAt = 0;                     // seconds since 1970
  int Interval = 15;                         // seconds between writes
  int64_t SpeedBytesPerSecond = 0;
  std::optional<TQuotaFigures> Quota;  // while a quota is watched
  bool Dialup = false;
};

// The text exposition format (version 0.0.4): each metric with its HELP
// and TYPE lines, label values in UTF-8 (the names are in the ANSI code
// page) and escaped, whole numbers without exponents, no timestamps, lines
// ended by LF alone.
std::string MetricsText(const TMetrics& metrics);
