// The operating system's steady clock, in signed 64-bit nanoseconds.
//
// Read straight from the platform (clock_gettime(CLOCK_MONOTONIC) on Linux,
// QueryPerformanceCounter on Windows); the simulator makes it simulated from
// outside by redirecting those imports, so the plugin has no switch for it.
#pragma once

#include "asa/engine_types.h"

namespace ck::host {

int64 SteadyNowNanoseconds();

}  // namespace ck::host
