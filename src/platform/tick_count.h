#pragma once

#include <cstdint>

// Milliseconds since the system started, as the platform's 32-bit tick count.
// It wraps after 49.7 days, so intervals are always taken as an unsigned
// difference: TickCount() - start.
uint32_t TickCount();
