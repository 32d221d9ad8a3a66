// The simulated steady clock. Time moves only when the simulation says so.
#pragma once

#include "asa/engine_types.h"

namespace simfw {

class ASAAPI_API SimClock {
 public:
  // Where every world's clock starts: far from zero, so that nothing may
  // treat zero as "never".
  static constexpr int64 kStartNanoseconds = 1'000'000'000'000;

  int64 Now() const { return now_; }
  void Advance(int64 nanoseconds) { now_ += nanoseconds; }
  void SetNow(int64 nanoseconds) { now_ = nanoseconds; }
  void Reset() { now_ = kStartNanoseconds; }

 private:
  int64 now_ = kStartNanoseconds;
};

}  // namespace simfw
