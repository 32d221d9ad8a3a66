// Platform services that are not game members.
#pragma once

#include "asa/engine_types.h"

namespace AsaApi::Platform {

// Monotonic time in nanoseconds.
ASAAPI_API int64 SteadyClockNanoseconds();

}  // namespace AsaApi::Platform
