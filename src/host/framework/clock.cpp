// The operating system's steady clock on Windows and on Linux.
#include "host/framework/clock.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>
#endif

namespace ck::host {

#if defined(_WIN32)

int64 SteadyNowNanoseconds() {
  LARGE_INTEGER count{};
  LARGE_INTEGER frequency{};
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  if (frequency.QuadPart <= 0) return 0;
  const int64 seconds = count.QuadPart / frequency.QuadPart;
  const int64 rest = count.QuadPart % frequency.QuadPart;
  return seconds * 1'000'000'000 + rest * 1'000'000'000 / frequency.QuadPart;
}

int64 UtcNowSeconds() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const int64 since_1601 = (static_cast<int64>(now.dwHighDateTime) << 32) | static_cast<int64>(now.dwLowDateTime);
  return (since_1601 - 116444736000000000LL) / 10'000'000;  // 100 ns units, from 1601 to 1970
}

#else

int64 SteadyNowNanoseconds() {
  timespec now;  // written by clock_gettime
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

int64 UtcNowSeconds() {
  timespec now;  // written by clock_gettime
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<int64>(now.tv_sec);
}

#endif

}  // namespace ck::host
