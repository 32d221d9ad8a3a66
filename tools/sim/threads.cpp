#include "tools/sim/threads.h"

#include <chrono>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#include <tlhelp32.h>
#else
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#endif

namespace simtool {

#if defined(_WIN32)

int ThreadsOfThisProcess() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  const DWORD self = GetCurrentProcessId();
  int count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == self) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

#else

// Whether the task still runs: a thread that has ended may stay listed for a
// moment after a join returns, as a zombie.
bool Running(const std::filesystem::path& task) {
  std::ifstream stat(task / "stat");
  std::string text;
  std::getline(stat, text);
  const std::size_t name_end = text.rfind(") ");
  if (name_end == std::string::npos || name_end + 2 >= text.size()) return false;
  const char state = text[name_end + 2];
  return state != 'Z' && state != 'X' && state != 'x';
}

int ThreadsOfThisProcess() {
  std::error_code error;
  int count = 0;
  for (std::filesystem::directory_iterator task("/proc/self/task", error), end; !error && task != end;
       task.increment(error)) {
    if (Running(task->path())) ++count;
  }
  return error ? -1 : count;
}

#endif

int ThreadsSettledTo(int expected) {
  int threads = ThreadsOfThisProcess();
  for (int attempt = 0; threads > expected && attempt < 1000; ++attempt) {
    if (attempt < 100) {
      std::this_thread::yield();
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    threads = ThreadsOfThisProcess();
  }
  return threads;
}

}  // namespace simtool
