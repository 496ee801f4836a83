#pragma once

#include <cstdint>

#include "net/veth_link.h"

// Pushes toPeer bytes from the host end to the namespace and toHost bytes
// back, at the same time over one TCP connection, each direction at most
// bytesPerSecond. Returns once both directions are through and closed.
void PumpTraffic(const TVethLink& link, uint64_t toPeer, uint64_t toHost, uint64_t bytesPerSecond);
