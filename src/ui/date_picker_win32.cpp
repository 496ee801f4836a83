#include "ui/date_picker_win32.h"

#include <commctrl.h>

#include "platform/date_time.h"

namespace {

TControlArgs Calendar(TControlArgs args) {
  args.ClassName = DATETIMEPICK_CLASSA;
  args.Style |= DTS_SHORTDATEFORMAT | WS_TABSTOP;
  return args;
}

}  // namespace

TDatePicker::TDatePicker(const TControlArgs& args) : TControl(Calendar(args)) {}

int TDatePicker::Date() const {
  SYSTEMTIME picked{};
  SendMessageA(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked));
  return EncodeDaySerial(picked.wYear, picked.wMonth, picked.wDay);
}

void TDatePicker::SetDate(int daySerial) {
  const TSystemTime day = DecodeDaySerial(daySerial);
  SYSTEMTIME shown{};
  shown.wYear = static_cast<WORD>(day.Year);
  shown.wMonth = static_cast<WORD>(day.Month);
  shown.wDay = static_cast<WORD>(day.Day);
  SendMessageA(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&shown));
}

bool TDatePicker::Notified(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != DTN_DATETIMECHANGE)
    return false;
  if (OnChange) OnChange();
  result = 0;
  return true;
}
