#include <windows.h>

#include "platform/format_settings.h"

namespace {

// A field the locale leaves empty or cannot give keeps the built-in value.
void Read(LCTYPE type, std::string& field) {
  char buffer[256];
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) > 1) field = buffer;
}

void Read(LCTYPE type, char& field) {
  std::string text;
  Read(type, text);
  if (!text.empty()) field = text[0];
}

}  // namespace

void ReadFormatSettings() {
  TFormatSettings s;
  Read(LOCALE_STHOUSAND, s.ThousandSeparator);
  Read(LOCALE_SDECIMAL, s.DecimalSeparator);
  Read(LOCALE_SSHORTDATE, s.ShortDateFormat);
  Read(LOCALE_STIMEFORMAT, s.LongTimeFormat);
  Read(LOCALE_S1159, s.TimeAMString);
  Read(LOCALE_S2359, s.TimePMString);
  for (int m = 0; m < 12; ++m) Read(LOCALE_SABBREVMONTHNAME1 + m, s.ShortMonthNames[m]);
  SetFormatSettings(s);
}
