// What the freestanding framework double needs from a runtime, written out:
// placement new, a fatal stop, and throwing the simulated framework's
// failures as MSVC C++ exceptions.
#pragma once

using size_t = unsigned long long;

inline void* operator new(size_t, void* where) noexcept { return where; }

namespace ck_double {

// fmt::Buffer's members as a sink reads them: vtable, data, size, capacity.
struct BufferView {
  const void* vtable;
  const char* ptr;
  size_t size;
  size_t capacity;
};

// Writes "fatal: <text>" to the standard error and ends the process.
[[noreturn]] void Fatal(const char* text);

// Throws an MSVC C++ exception: a std::runtime_error with `message` for
// status 1, an object that is no std::exception for any other status.
[[noreturn]] void RaiseFrameworkError(int status, const char* message);

}  // namespace ck_double
