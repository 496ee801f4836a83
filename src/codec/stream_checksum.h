#pragma once

#include <cstddef>
#include <cstdint>

// CRC-32 table, own lookup; callers pass 0xFFFFFFFF and use the result as it is.
uint32_t StreamChecksum(uint32_t init, const void* data, size_t length);
