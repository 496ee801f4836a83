#include "app/display_update.h"

const uint32_t kStallTime = 360000;
