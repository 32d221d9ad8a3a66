#include "sim/framework/clock_redirect.h"

#include <cstring>

#include "sim/framework/framework.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>
#endif

namespace simfw {

namespace {

// The framework's clock, kept at hand: a redirected clock read is on the
// plugin's idle tick, so it goes straight to the value.
const SimClock* g_clock = nullptr;

#if defined(_WIN32)

constexpr int64 kNanosecondsPerSecond = 1'000'000'000;

BOOL WINAPI SimulatedPerformanceCounter(LARGE_INTEGER* count) {
  if (count == nullptr) return FALSE;
  count->QuadPart = g_clock->Now();
  return TRUE;
}

BOOL WINAPI SimulatedPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (frequency == nullptr) return FALSE;
  frequency->QuadPart = kNanosecondsPerSecond;
  return TRUE;
}

// FILETIME: 100 ns units since 1601.
void WINAPI SimulatedSystemTime(FILETIME* time) {
  if (time == nullptr) return;
  constexpr int64 kFrom1601To1970 = 116444736000000000LL;
  const int64 units = kFrom1601To1970 + g_clock->CalendarSeconds() * 10'000'000 + g_clock->SubsecondNanoseconds() / 100;
  time->dwLowDateTime = static_cast<DWORD>(units & 0xFFFFFFFF);
  time->dwHighDateTime = static_cast<DWORD>(units >> 32);
}

void* Replacement(const char* name) {
  if (std::strcmp(name, "GetSystemTimeAsFileTime") == 0 || std::strcmp(name, "GetSystemTimePreciseAsFileTime") == 0) {
    return reinterpret_cast<void*>(&SimulatedSystemTime);
  }
  if (std::strcmp(name, "QueryPerformanceCounter") == 0) {
    return reinterpret_cast<void*>(&SimulatedPerformanceCounter);
  }
  if (std::strcmp(name, "QueryPerformanceFrequency") == 0) {
    return reinterpret_cast<void*>(&SimulatedPerformanceFrequency);
  }
  return nullptr;
}

// Walks the module's import descriptors; every entry imported by one of the
// clock names is pointed at its replacement.
int RedirectImports(HMODULE module) {
  if (module == nullptr) return 0;
  auto* base = reinterpret_cast<unsigned char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return 0;
  int redirected = 0;
  for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       import->Name != 0; ++import) {
    if (import->OriginalFirstThunk == 0) continue;  // no names to match
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* by_name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      void* replacement = Replacement(reinterpret_cast<const char*>(by_name->Name));
      if (replacement == nullptr) continue;
      DWORD old_protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old_protection);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old_protection, &old_protection);
      ++redirected;
    }
  }
  return redirected;
}

#else

// The steady clock first: the plugin's idle tick reads it.
int SimulatedClockGettime(clockid_t clock, struct timespec* out) {
  if (clock == CLOCK_MONOTONIC) {
    out->tv_sec = static_cast<time_t>(g_clock->Seconds());
    out->tv_nsec = static_cast<long>(g_clock->SubsecondNanoseconds());
    return 0;
  }
  if (clock != CLOCK_REALTIME) return static_cast<int>(syscall(SYS_clock_gettime, clock, out));
  out->tv_sec = static_cast<time_t>(g_clock->CalendarSeconds());
  out->tv_nsec = static_cast<long>(g_clock->SubsecondNanoseconds());
  return 0;
}

// Points one GOT slot at the replacement, making its page writable first (a
// slot inside the RELRO segment is read-only once the loader is done).
void Patch(ElfW(Addr) slot_address, void* replacement) {
  const long page = sysconf(_SC_PAGESIZE);
  const ElfW(Addr) page_start = slot_address & ~static_cast<ElfW(Addr)>(page - 1);
  mprotect(reinterpret_cast<void*>(page_start), static_cast<size_t>(page) * 2, PROT_READ | PROT_WRITE);
  std::memcpy(reinterpret_cast<void*>(slot_address), &replacement, sizeof(replacement));
}

// Walks the module's dynamic relocations (the PLT's and the others); each
// slot bound to clock_gettime is pointed at the simulated one.
int RedirectImports(const link_map* map) {
  if (map == nullptr || map->l_ld == nullptr) return 0;
  const ElfW(Addr) base = map->l_addr;
  // The loader has usually rebased these entries in place already.
  const auto at = [base](ElfW(Addr) value) { return value < base ? value + base : value; };
  const ElfW(Sym)* symbols = nullptr;
  const char* strings = nullptr;
  const ElfW(Rela)* tables[2] = {nullptr, nullptr};
  std::size_t sizes[2] = {0, 0};
  for (const ElfW(Dyn)* entry = map->l_ld; entry->d_tag != DT_NULL; ++entry) {
    switch (entry->d_tag) {
      case DT_SYMTAB: symbols = reinterpret_cast<const ElfW(Sym)*>(at(entry->d_un.d_ptr)); break;
      case DT_STRTAB: strings = reinterpret_cast<const char*>(at(entry->d_un.d_ptr)); break;
      case DT_JMPREL: tables[0] = reinterpret_cast<const ElfW(Rela)*>(at(entry->d_un.d_ptr)); break;
      case DT_PLTRELSZ: sizes[0] = entry->d_un.d_val; break;
      case DT_RELA: tables[1] = reinterpret_cast<const ElfW(Rela)*>(at(entry->d_un.d_ptr)); break;
      case DT_RELASZ: sizes[1] = entry->d_un.d_val; break;
      default: break;
    }
  }
  if (symbols == nullptr || strings == nullptr) return 0;
  int redirected = 0;
  for (int t = 0; t < 2; ++t) {
    if (tables[t] == nullptr) continue;
    const std::size_t count = sizes[t] / sizeof(ElfW(Rela));
    for (std::size_t i = 0; i < count; ++i) {
      const ElfW(Rela)& relocation = tables[t][i];
      const auto type = ELF64_R_TYPE(relocation.r_info);
      if (type != R_X86_64_JUMP_SLOT && type != R_X86_64_GLOB_DAT) continue;
      const auto symbol = ELF64_R_SYM(relocation.r_info);
      if (symbol == 0 || std::strcmp(strings + symbols[symbol].st_name, "clock_gettime") != 0) continue;
      Patch(base + relocation.r_offset, reinterpret_cast<void*>(&SimulatedClockGettime));
      ++redirected;
    }
  }
  return redirected;
}

#endif

}  // namespace

#if defined(_WIN32)

int SimulateSteadyClockInModule(void* handle) {
  g_clock = &Fw().clock;
  return RedirectImports(static_cast<HMODULE>(handle));
}

int SimulateSteadyClockInMainProgram(const SimClock& clock) {
  g_clock = &clock;
  return RedirectImports(GetModuleHandleW(nullptr));
}

#else

namespace {

int RedirectHandle(void* handle) {
  link_map* map = nullptr;
  if (handle == nullptr || dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0) return 0;
  return RedirectImports(map);
}

}  // namespace

int SimulateSteadyClockInModule(void* handle) {
  g_clock = &Fw().clock;
  return RedirectHandle(handle);
}

int SimulateSteadyClockInMainProgram(const SimClock& clock) {
  g_clock = &clock;
  void* self = dlopen(nullptr, RTLD_LAZY);
  const int redirected = RedirectHandle(self);
  if (self != nullptr) dlclose(self);
  return redirected;
}

#endif

}  // namespace simfw
