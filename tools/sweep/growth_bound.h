// A bound on a long test program's own growth. The sweeps and the soak
// replay a scenario thousands of times in one process: a fault that makes
// something grow with every replay (a list a reload appends to, objects
// never freed) would otherwise take the machine's memory, gigabytes per
// process, before anything fails. With the bound, the program stops with a
// line naming the bound as soon as it passes it.
//
// On Linux the process's address space is capped (setrlimit(RLIMIT_AS)); an
// allocation past the cap calls the new-handler installed here, which writes
// the line and ends the program with exit status 3. Under AddressSanitizer,
// which reserves terabytes of address space for its shadow, the cap is the
// sanitizer's own resident-memory limit instead (hard_rss_limit_mb: the
// sanitizer reports and ends the program). Elsewhere (the Windows build under
// Wine) there is no bound. CRADLEKEEP_MEMORY_BOUND_MIB, when set, replaces
// the program's bound; 0 turns it off. Include this header in one file of a
// program only (it defines the sanitizer's default options).
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#if defined(__linux__)
#include <sys/resource.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define CRADLEKEEP_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CRADLEKEEP_UNDER_ASAN 1
#endif
#endif

// The bound every program that includes this header gets under the
// sanitizer: its memory is several times the plain build's, and still far
// below what would take the machine.
#if defined(CRADLEKEEP_UNDER_ASAN)
extern "C" const char* __asan_default_options() { return "hard_rss_limit_mb=4096"; }
// The limit is watched by a thread of the sanitizer's own, whose thread-local
// block the leak check (which does not scan thread-local storage here) would
// report as lost at exit: it is the runtime's, not the program's.
extern "C" const char* __lsan_default_suppressions() { return "leak:allocate_dtv\n"; }
#endif

namespace cktools {

namespace growth_detail {
inline const char* g_tool = "";
inline unsigned long long g_bound_mib = 0;

// Nothing here allocates: the program is out of memory.
[[noreturn]] inline void OutOfBound() {
  std::fprintf(stderr,
               "%s: stopped: its memory passed the bound of %llu MiB; something grows without limit (a leak, or a "
               "table or list that grows with every replay). Set CRADLEKEEP_MEMORY_BOUND_MIB to change the bound.\n",
               g_tool, g_bound_mib);
  std::fflush(stderr);
  std::_Exit(3);
}
}  // namespace growth_detail

// Bounds the program's memory at `mib` MiB of address space (see above).
// Returns the bound in force, 0 when there is none.
inline unsigned long long BoundOwnGrowth(const char* tool, unsigned long long mib) {
  if (const char* text = std::getenv("CRADLEKEEP_MEMORY_BOUND_MIB")) mib = std::strtoull(text, nullptr, 10);
#if defined(__linux__) && !defined(CRADLEKEEP_UNDER_ASAN)
  if (mib == 0) return 0;
  const rlimit limit{mib << 20, mib << 20};
  if (setrlimit(RLIMIT_AS, &limit) != 0) return 0;
  growth_detail::g_tool = tool;
  growth_detail::g_bound_mib = mib;
  std::set_new_handler(growth_detail::OutOfBound);
  return mib;
#else
  (void)tool;
  (void)mib;
  return 0;
#endif
}

}  // namespace cktools
