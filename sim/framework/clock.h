// The simulated steady clock. Time moves only when the simulation says so.
#pragma once

#include "asa/engine_types.h"

namespace simfw {

class ASAAPI_API SimClock {
 public:
  // Where every world's clock starts: far from zero, so that nothing may
  // treat zero as "never".
  static constexpr int64 kStartNanoseconds = 1'000'000'000'000;
  // The calendar time (seconds since 1970, UTC) when a world starts:
  // 2026-12-10T08:00:00Z. The calendar clock moves with the steady one.
  static constexpr int64 kCalendarAtStartSeconds = 1'796'889'600;

  int64 Now() const { return now_; }
  // The same instant as whole seconds and the nanoseconds past them, kept
  // ready for the redirected operating-system clock (read on every tick).
  int64 Seconds() const { return seconds_; }
  int64 SubsecondNanoseconds() const { return subsecond_; }
  // The calendar's whole seconds at this instant.
  int64 CalendarSeconds() const {
    return kCalendarAtStartSeconds + seconds_ - kStartNanoseconds / 1'000'000'000;
  }

  void Advance(int64 nanoseconds) { SetNow(now_ + nanoseconds); }
  void SetNow(int64 nanoseconds) {
    now_ = nanoseconds;
    seconds_ = nanoseconds / 1'000'000'000;
    subsecond_ = nanoseconds % 1'000'000'000;
  }
  void Reset() { SetNow(kStartNanoseconds); }

 private:
  int64 now_ = kStartNanoseconds;
  int64 seconds_ = kStartNanoseconds / 1'000'000'000;
  int64 subsecond_ = kStartNanoseconds % 1'000'000'000;
};

}  // namespace simfw
