#include "traffic/counter_delta.h"

namespace {

// A 32-bit counter that stepped back wrapped only if the step is at most this
// many times what the link carries at its nominal speed between the two
// readings; a larger step is a reset. Twice, because the tick count moves in
// 10 to 16 ms steps and the timer reads the counters late or early against
// the system's last refresh of them (some drivers refresh about once a
// second), so one interval may hold up to two intervals' traffic; and a
// wireless link may have renegotiated its speed down since. A reset taken for
// a wrap books at most that much, not up to 2 GiB.
constexpr uint64_t kWrapMargin = 2;

}  // namespace

std::optional<int64_t> CounterDelta(int64_t current, int64_t previous, TCounterRule rule,
                                    uint32_t speed, uint32_t elapsed) {
  if (previous == -1) return std::nullopt;
  const int64_t step = current - previous;
  if (step >= 0) return step;
  if (rule != TCounterRule::Wrap32) return 0;
  const uint32_t wrapped = static_cast<uint32_t>(current) - static_cast<uint32_t>(previous);
  if (wrapped >= 0x80000000u) return 0;
  if (speed == 0) return wrapped;
  // What the link carries at its nominal speed in the elapsed time, in bytes.
  const uint64_t carried = uint64_t{speed} * elapsed / 8000;
  return wrapped <= kWrapMargin * carried ? wrapped : 0;
}
