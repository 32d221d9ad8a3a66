// The platform's steady clock, in signed 64-bit nanoseconds.
#pragma once

#include "asa/engine_types.h"

namespace ck::host {

int64 SteadyNowNanoseconds();

}  // namespace ck::host
