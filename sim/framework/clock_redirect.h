// Simulated time for code that reads the operating system's steady clock.
//
// The plugin reads the platform's own steady and calendar clocks
// (clock_gettime with CLOCK_MONOTONIC and CLOCK_REALTIME on Linux;
// QueryPerformanceCounter, QueryPerformanceFrequency and
// GetSystemTime(Precise)AsFileTime on Windows) and has no switch of its own
// for simulated time. The simulator redirects a module's imports of those
// functions to the framework's clock instead, the way a loader binds imports:
// the module's GOT slots (Linux) or import address table entries (Windows)
// are rewritten. The calendar clock moves with the simulated one from
// SimClock::kCalendarAtStartSeconds. Other clocks keep their real values.
// On Windows the redirected frequency is 10^9 counts per second, so a count
// is a nanosecond of simulated time.
#pragma once

#include "asa/api.h"
#include "sim/framework/clock.h"

namespace simfw {

// Redirects the imports of the module opened as `handle` (a dlopen handle or
// an HMODULE) to the framework's clock. Returns how many import slots now
// read the simulated clock.
ASAAPI_API int SimulateSteadyClockInModule(void* handle);

// The same for the running program itself, reading `clock` (the framework's,
// passed in while the framework is being created): code linked into the
// program (the unit tests link the plugin's code directly) then reads
// simulated time.
ASAAPI_API int SimulateSteadyClockInMainProgram(const SimClock& clock);

}  // namespace simfw
