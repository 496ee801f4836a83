#include "platform/format_settings.h"

void ReadFormatSettings() {
  SetFormatSettings(TFormatSettings{});
}
