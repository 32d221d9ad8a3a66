// The operating system's clocks: the steady clock in signed 64-bit
// nanoseconds, and the calendar clock (UTC) in whole seconds since 1970.
//
// Read straight from the platform (clock_gettime(CLOCK_MONOTONIC) and
// clock_gettime(CLOCK_REALTIME) on Linux, QueryPerformanceCounter and
// GetSystemTimeAsFileTime on Windows); the simulator makes them simulated
// from outside by redirecting those imports, so the plugin has no switch for
// it.
#pragma once

#include "asa/engine_types.h"

namespace ck::host {

int64 SteadyNowNanoseconds();

// Seconds since 1970-01-01T00:00:00Z. Game thread only where the simulator
// runs it (its calendar clock follows the simulated one).
int64 UtcNowSeconds();

}  // namespace ck::host
