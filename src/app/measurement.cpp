#include "app/measurement.h"

namespace {

// End reasons of the connection log.
constexpr int kConnectionGone = 1;
constexpr int kProgramClosed = 2;

}  // namespace

TMeasurement::TMeasurement(const std::string& folder, TIniFile32& settings, TLinkSource& source)
    : FSource(source), FBook(folder, settings) {}

std::string TMeasurement::Sample() {
  return TakeSample(State, FSource, *this);
}

std::string TMeasurement::Tick() {
  const std::string error = Sample();
  FBook.FlushTotals(State, FSource, false);
  return error;
}

TDisplayUpdate TMeasurement::UpdateDisplay(const TDisplaySettings& settings, int32_t visibleCount,
                                           bool dialling) {
  return ::UpdateDisplay(State, settings, FSource.TickCount(), visibleCount, dialling);
}

void TMeasurement::EnumerateAdapters() {
  ::EnumerateAdapters(State, FSource);
}

void TMeasurement::Flush() {
  FBook.FlushTotals(State, FSource, true);
}

void TMeasurement::Close() {
  FBook.AppendConnectionLog(State, FSource, kProgramClosed);
  Flush();
}

void TMeasurement::ConnectionBegan() {
  FBook.CountCall(State, FSource);
}

void TMeasurement::ConnectionEnded() {
  FBook.AppendConnectionLog(State, FSource, kConnectionGone);
  Flush();
}
