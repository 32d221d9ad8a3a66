// The guard around every call into the framework on Windows.
//
// The framework is built with MSVC: a C++ exception it throws (std::bad_alloc
// from its containers, spdlog's error when a sink cannot write, an exception
// from a callback it copies) is an MSVC exception, structured exception code
// 0xE06D7363, which passes straight through the plugin's own (GCC) catch
// clauses. CkCallGuarded runs a call under a structured exception handler
// compiled in MSVC mode (seh_guard.cpp, built by clang) that catches exactly
// that code and nothing else: an access violation or any other structured
// exception is never swallowed. The caller then turns the fault into a C++
// exception of its own.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

struct CkFrameworkFault {
  // 1 when the thrown object is a std::exception (its what() text is in
  // `message`), 0 for anything else.
  int standard;
  char message[256];
};

// Runs call(context). Returns 0 when it returned, 1 when it threw an MSVC C++
// exception (`fault` describes it; the call's frames are unwound).
int CkCallGuarded(void (*call)(void* context), void* context, struct CkFrameworkFault* fault);

#ifdef __cplusplus
}
#endif
