#pragma once

#include <string>

#include "reports/connection_log.h"
#include "reports/report_model.h"

// The names the save dialogs suggest for what the report windows save.

// The basic reports' lists after the report's four (TReportTab): the hours
// of a day, and the billing periods while the quota is watched.
inline constexpr int kHourlyList = 4;
inline constexpr int kBillingPeriodsList = 5;

// "tallyline-", the list's name in lower case ("daily", ..., "hourly",
// "billing-periods"), "-" and the period of row, then "." and extension: for
// daily rows the month of the day (yyyy-mm), hourly rows their day
// (yyyy-mm-dd), weekly and monthly rows their year (yyyy), billing periods
// their first day (yyyy-mm-dd), yearly rows none. Without a row, no period.
// The row is the one selected, or else the newest.
std::string ReportFileName(int list, const TReportRow* row, const std::string& extension);

// "tallyline-log-yyyy-mm.EXTENSION", of the month record started in;
// "tallyline-log.EXTENSION" without one.
std::string LogFileName(const TConnectionRecord* record, const std::string& extension);
