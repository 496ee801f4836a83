// Arbitrary bytes as up to three month files ("\n--\n" between them): two
// named as the program names January and February 2025, one a copy under
// another name. The reports, the statistics and the quota read them; every
// amount they show stays at 0 or above, sums stop at the largest number
// instead of wrapping, and the lists, texts and CSV keep their shape.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "reports/quota.h"
#include "reports/report_model.h"
#include "reports/stats_model.h"
#include "storage/text_utils.h"

namespace {

constexpr std::string_view kSeparator = "\n--\n";
constexpr const char* kFileNames[] = {"45658.dat", "45689.dat", "copy.dat"};

void WriteMonthFiles(std::string_view input) {
  const std::filesystem::path data = ScratchFolder() + "data";
  std::filesystem::remove_all(data);
  std::filesystem::create_directory(data);
  for (const char* name : kFileNames) {
    const size_t end = name == kFileNames[2] ? input.npos : input.find(kSeparator);
    std::ofstream(data / name, std::ios::binary) << input.substr(0, end);
    if (end == input.npos) break;
    input.remove_prefix(end + kSeparator.size());
  }
}

int64_t SaturatingAdd(int64_t a, int64_t b) {
  return a > INT64_MAX - b ? INT64_MAX : a + b;
}

struct TSums {
  int64_t Download = 0, Upload = 0, Seconds = 0;
  bool operator==(const TSums&) const = default;
};

// One list of report rows: amounts at 0 or above, oldest first, captions
// unique, and an export of one line per row. Returns the list's sums.
TSums CheckRows(const std::vector<TReportRow>& rows, const TReadNotes& notes,
                const TFormatSettings& fs) {
  TSums sums;
  std::set<std::string> captions;
  std::vector<const TReportRow*> exported;
  for (size_t i = 0; i < rows.size(); ++i) {
    const TReportRow& row = rows[i];
    Check(row.Index == static_cast<int64_t>(i));
    Check(row.Download >= 0 && row.Upload >= 0 && row.Seconds >= 0);
    Check(row.Total == SaturatingAdd(row.Download, row.Upload));
    if (row.Download > INT64_MAX - row.Upload) Check(notes.Saturated);
    if (i > 0) Check(rows[i - 1].RowDate < row.RowDate);
    Check(captions.insert(row.Caption).second);
    Check(ReportCell(row, 0, fs) == row.Caption);
    for (int column = 1; column <= 4; ++column) {
      const std::string cell = ReportCell(row, column, fs);
      Check(!cell.empty() && cell[0] != '-' && cell[0] != '?');
    }
    sums = {SaturatingAdd(sums.Download, row.Download), SaturatingAdd(sums.Upload, row.Upload),
            SaturatingAdd(sums.Seconds, row.Seconds)};
    exported.push_back(&row);
  }
  const std::string csv = ReportCsv(exported);
  size_t at = csv.find("\r\n");
  for (size_t line = 0; line < rows.size(); ++line) {
    Check(at != std::string::npos);
    at += 2;
    // mm-dd-yyyy
    Check(csv.size() > at + 10 && csv[at + 2] == '-' && csv[at + 5] == '-' && csv[at + 10] == ',');
    at = csv.find("\r\n", at);
  }
  Check(at == csv.size() - 2);
  return sums;
}

void CheckFigures(const TStatsFigures& f) {
  Check(f.Seconds >= 0 && f.Calls >= 0 && f.Received >= 0 && f.Sent >= 0);
}

// A day's figures within those of a period that holds it.
void CheckWithin(const TStatsFigures& day, const TStatsFigures& period) {
  Check(day.Seconds <= period.Seconds && day.Calls <= period.Calls &&
        day.Received <= period.Received && day.Sent <= period.Sent);
}

void CheckStats(const std::string& folder, const std::vector<TReportRow>& daily,
                const TFormatSettings& fs) {
  const int first = daily.empty() ? 45659 : daily.front().Day;
  const int last = daily.empty() ? 45700 : daily.back().Day;
  TStatsReader reader(folder);
  for (const TStatsChoice& choice :
       {TStatsChoice{false, first}, TStatsChoice{true, 0, last - 20, last + 20},
        TStatsChoice{true, 0, first + 10, first}}) {
    const std::vector<std::string> entries = reader.Entries(choice);
    for (size_t i = 0; i < entries.size(); ++i) {
      if (i > 0) Check(CompareTextIgnoringCase(entries[i - 1], entries[i]) < 0);
      for (const char* amount : {"Recv", "Xmit", "Calls", "Hours"})
        Check(entries[i].find(amount) == std::string::npos);
    }
    for (const std::string& entry : {std::string(), entries.empty() ? "x" : entries.front()}) {
      const TStatsTotals totals = reader.Totals(choice, entry);
      Check(totals.EntryDay.has_value() == !entry.empty());
      for (const TStatsFigures& f : {totals.AllDay, totals.AllPeriod, totals.EntryPeriod})
        CheckFigures(f);
      if (totals.EntryDay) CheckFigures(*totals.EntryDay);
      if (choice.PeriodDays()) {
        CheckWithin(totals.AllDay, totals.AllPeriod);
        if (totals.EntryDay) CheckWithin(*totals.EntryDay, totals.EntryPeriod);
      } else {
        Check(totals.AllPeriod.Seconds == 0 && totals.AllPeriod.Received == 0);
      }
      StatsRowTexts(totals.AllPeriod, fs);
    }
  }

  // A day its own month file holds reads the same in the report as in the
  // statistics (January and February 2025 have their own files here).
  for (const TReportRow& row : daily) {
    if (row.Day < 45658 || row.Day >= 45717) continue;
    const TStatsFigures day = reader.Totals(TStatsChoice{true, 0, row.Day, row.Day}, "").AllDay;
    if (day.Seconds != 0 || day.Calls != 0 || day.Received != 0 || day.Sent != 0)
      Check(row.Download == day.Received && row.Upload == day.Sent && row.Seconds == day.Seconds);
  }
}

// The CSV's fields after the header line, without the final CR LF.
std::vector<std::string> CsvValues(const std::string& csv) {
  const size_t start = csv.find("\r\n") + 2;
  Check(csv.size() >= start + 2 && csv.compare(csv.size() - 2, 2, "\r\n") == 0);
  std::vector<std::string> fields;
  for (size_t at = start; at <= csv.size() - 2;) {
    const size_t end = std::min(csv.find(',', at), csv.size() - 2);
    fields.push_back(csv.substr(at, end - at));
    at = end + 1;
  }
  return fields;
}

void CheckQuota(const std::string& folder, const std::vector<TReportRow>& daily,
                const TSums& dailySums, const TFormatSettings& fs) {
  // The last recorded day, so that the period's billing row holds every day
  // the quota counts.
  const int32_t today = daily.empty() ? 45670 : daily.back().Day;
  const struct {
    int StartDay;
    int64_t Limit;
    TQuotaCount Count;
  } cases[] = {{1, 0, qcBoth}, {15, 1000000, qcDownload}, {31, INT64_MAX, qcUpload}};
  for (const auto& c : cases) {
    TQuotaSettings quota;
    quota.Enabled = true;
    quota.StartDay = c.StartDay;
    quota.Limit = c.Limit;
    quota.Count = c.Count;
    TReadNotes notes;
    const TQuotaFigures f = ReadQuotaFigures(folder, quota, today, notes);
    Check(f.Period.Start <= today && today <= f.Period.End);
    Check(f.Period.End - f.Period.Start >= 27 && f.Period.End - f.Period.Start <= 30);
    Check(f.Used >= 0 && f.Budget >= 0 && f.Projected >= f.Used && f.DaysLeft >= 1);

    const std::vector<TReportRow> periods = BillingPeriodRows(daily, c.StartDay, notes, fs);
    Check(CheckRows(periods, notes, fs) == dailySums);
    int64_t used = 0;
    for (const TReportRow& row : periods)
      if (row.RowDate == f.Period.Start)
        used = c.Count == qcDownload ? row.Download : c.Count == qcUpload ? row.Upload : row.Total;
    Check(f.Used == used);

    const std::vector<std::string> values = CsvValues(QuotaCsv(f));
    Check(values.size() == 8);
    const std::string& percent = values[4];
    const size_t point = percent.find('.');
    Check(point != std::string::npos && point > 0 && point + 2 == percent.size());
    Check(percent.find_first_not_of("0123456789.") == std::string::npos);
    // Rounded down to a tenth.
    const double tenths = std::strtod(percent.c_str(), nullptr);
    Check(tenths <= f.Percent * (1 + 1e-12) && tenths > f.Percent * (1 - 1e-12) - 0.1 - 1e-9);
    const std::string tip = QuotaTipLine(f, fs);
    if (f.Limit > 0) {
      // The whole percent the tip shows is the CSV's, cut at the point.
      const std::string whole = " (" + percent.substr(0, point) + "%)";
      Check(tip.size() > whole.size() &&
            tip.compare(tip.size() - whole.size(), whole.size(), whole) == 0);
    } else {
      Check(percent == "0.0");
    }
    Check(QuotaBudgetText(f, fs).rfind(std::to_string(f.DaysLeft), 0) == 0);
    QuotaBalloonText(DueQuotaWarning(quota, f), f, fs);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteMonthFiles(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string& folder = ScratchFolder();
  const TFormatSettings fs{};

  const TReport report = LoadReport(folder, fs);
  const std::vector<TReportRow>& daily = report.Rows[rtDaily];
  const TSums sums = CheckRows(daily, report.Notes, fs);
  for (size_t i = 0; i < daily.size(); ++i) {
    Check(daily[i].Day == daily[i].RowDate);
    Check(daily[i].Day >= EncodeDaySerial(1, 1, 1) &&
          daily[i].Day <= EncodeDaySerial(9999, 12, 31));
  }
  for (const TReportTab tab : {rtWeekly, rtMonthly, rtYearly})
    Check(CheckRows(report.Rows[tab], report.Notes, fs) == sums);

  CheckStats(folder, daily, fs);
  CheckQuota(folder, daily, sums, fs);
  return 0;
}
