#pragma once

#include <cstdint>

// The standard initial Blowfish tables, before any key is mixed in.
extern const uint32_t BlowfishInitialP[18];
extern const uint32_t BlowfishInitialS[4][256];
