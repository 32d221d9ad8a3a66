// The platform's steady clock, in signed 64-bit nanoseconds.
#pragma once

#include "asa/engine_types.h"
#include "asa/platform.h"

namespace ck::host {

inline int64 SteadyNowNanoseconds() { return AsaApi::Platform::SteadyClockNanoseconds(); }

}  // namespace ck::host
