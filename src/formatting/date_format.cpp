#include "formatting/date_format.h"

#include <cmath>
#include <cstdio>

namespace {

std::string Digits(int value, size_t width) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", static_cast<int>(width), value);
  return text;
}

// One picture field of `count` equal letters.
std::string Field(char letter, size_t count, const TSystemTime& t, const TFormatSettings& fs) {
  const size_t width = count >= 2 ? 2 : 1;
  const int hour12 = t.Hour % 12 == 0 ? 12 : t.Hour % 12;
  switch (letter) {
    case 'd': return Digits(t.Day, width);
    case 'M': return count >= 3 ? fs.ShortMonthNames[t.Month - 1] : Digits(t.Month, width);
    case 'y': return count >= 3 ? Digits(t.Year, 4) : Digits(t.Year % 100, 2);
    case 'h': return Digits(hour12, width);
    case 'H': return Digits(t.Hour, width);
    case 'm': return Digits(t.Minute, width);
    case 's': return Digits(t.Second, width);
    case 't': {
      const std::string& marker = t.Hour < 12 ? fs.TimeAMString : fs.TimePMString;
      return count == 1 ? marker.substr(0, 1) : marker;
    }
  }
  return std::string(count, letter);
}

}  // namespace

std::string FormatDateTimePicture(TDateTime value, const std::string& picture,
                                  const TFormatSettings& fs) {
  const TSystemTime t = DecodeDateTime(value);
  std::string text;
  for (size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    if (c == '\'') {
      const size_t end = picture.find('\'', i + 1);
      text += picture.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
      i = end == std::string::npos ? picture.size() : end + 1;
      continue;
    }
    size_t count = 1;
    while (i + count < picture.size() && picture[i + count] == c) ++count;
    text += std::string("dMyhHmst").find(c) != std::string::npos ? Field(c, count, t, fs)
                                                                 : std::string(count, c);
    i += count;
  }
  return text;
}

std::string DateTimeToText(TDateTime value, const TFormatSettings& fs) {
  const std::string date = FormatDateTimePicture(value, fs.ShortDateFormat, fs);
  if (value == std::floor(value)) return date;
  return date + " " + FormatDateTimePicture(value, fs.LongTimeFormat, fs);
}
