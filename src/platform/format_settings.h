#pragma once

#include <array>
#include <string>

// The user's locale as the program formats numbers, dates and times.
// Pictures use the system's own notation: "M/d/yyyy", "h:mm:ss tt".
struct TFormatSettings {
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
  std::string ShortDateFormat = "M/d/yyyy";
  std::string LongTimeFormat = "h:mm:ss tt";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
};

// The settings in force. Read once at start-up and again by
// ReadFormatSettings() when the system reports a change.
const TFormatSettings& FormatSettings();
void SetFormatSettings(const TFormatSettings& settings);

// Windows: takes every field from the user's locale. POSIX: there is no
// system locale to follow, so this restores the fixed English (United States)
// settings above, which the native tests rely on.
void ReadFormatSettings();
