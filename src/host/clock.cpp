#include "host/clock.h"

#include "asa/platform.h"

namespace ck::host {

int64 SteadyNowNanoseconds() { return AsaApi::Platform::SteadyClockNanoseconds(); }

}  // namespace ck::host
