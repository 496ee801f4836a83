#include "setup/setup_tables.h"

#include <algorithm>
#include <cctype>

#include "storage/ini_syntax.h"

namespace {

// The line speeds, in bytes per second (33.6 kbps counts as 36).
constexpr std::array<int32_t, kCustomMaximum> kMaxima = {
    0,     4608,  6144,   7168,   8192,   16384,   32768,   49152,
    65536, 98304, 131072, 202342, 262144, 1310720, 5863629, 13107200};

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
}

// Kilobytes kept within what the graph can hold rather than wrapped into a
// negative maximum; digits too many for any number are the most it holds.
int32_t CustomMaximum(const std::string& text) {
  const std::optional<int64_t> kilobytes = ParseInteger(text, 64);
  if (!kilobytes) return AllDigits(text) ? INT32_MAX : 0;
  const int64_t bytes = std::clamp<int64_t>(*kilobytes, 0, INT32_MAX / 1024 + 1) * 1024;
  return static_cast<int32_t>(std::min<int64_t>(bytes, INT32_MAX));
}

}  // namespace

int IntervalPosition(int seconds) {
  for (size_t i = 0; i < kIntervalSteps.size(); ++i)
    if (kIntervalSteps[i].Seconds == seconds) return static_cast<int>(i) + 1;
  return 1;
}

const TIntervalStep& IntervalStep(int position) {
  return kIntervalSteps[std::clamp(position, 1, static_cast<int>(kIntervalSteps.size())) - 1];
}

std::optional<int32_t> MaxValueForType(int type, const std::string& customValue) {
  if (type >= 1 && type < kCustomMaximum) return kMaxima[type];
  if (type == kCustomMaximum) return CustomMaximum(customValue);
  return std::nullopt;
}

bool AcceptCustomValueKey(char key, bool ctrlDown) {
  return ctrlDown || key == '\b' || (key >= '0' && key <= '9');
}

uint32_t RandomColor(std::mt19937& random) {
  std::uniform_int_distribution<uint32_t> component(0, 254);
  const uint32_t red = component(random), green = component(random), blue = component(random);
  return red | green << 8 | blue << 16;
}
