#pragma once

#include <cstdint>
#include <optional>

// How a counter that went backwards between two readings is taken.
enum class TCounterRule : uint8_t {
  NewConnection,  // dial-up: a new connection, nothing counted
  Wrap32,         // a 32-bit adapter counter: a wrap where one is plausible, else a reset
  Reset64,        // a 64-bit adapter counter: a reset, nothing counted
};

// The bytes between two counter readings elapsed milliseconds apart, or
// nothing while the previous one is unset (-1). A counter that stepped back
// counts 0 (a new connection, or a reset), except under the 32-bit adapter
// rule where the step modulo 2^32 is a wrap when it is below 2^31 and, with
// the link's speed known (bits per second; 0 = unknown), no more than twice
// what the link carries in the elapsed time.
std::optional<int64_t> CounterDelta(int64_t current, int64_t previous, TCounterRule rule,
                                    uint32_t speed, uint32_t elapsed);
