// The stall time of the program's test build: seconds instead of six
// minutes, so that the end-to-end runs see a stalled line redialled. Linked
// in place of the program's own definition.
#include "app/display_update.h"

const uint32_t kStallTime = 3000;
