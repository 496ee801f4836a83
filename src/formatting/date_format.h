#pragma once

#include <string>

#include "platform/date_time.h"
#include "platform/format_settings.h"

// A date and time in the locale's pictures, as the system writes them:
// d dd M MM MMM yy yyyy for the date, h hh H HH m mm s ss t tt for the
// time, text between single quotes as it stands.
std::string FormatDateTimePicture(TDateTime value, const std::string& picture,
                                  const TFormatSettings& fs = FormatSettings());

// The short date and the long time, the time left out at midnight exactly.
std::string DateTimeToText(TDateTime value, const TFormatSettings& fs = FormatSettings());
