// The framework double's runtime: what a freestanding MSVC-mode module needs
// from the C runtime it does not link, and the throw of MSVC C++ exceptions.
// Compiled with exceptions and RTTI so that clang lays out the throw
// information (ThrowInfo, catchable types, type descriptors) itself.
#include "runtime.h"

extern "C" {

typedef void* HANDLE;
__declspec(dllimport) HANDLE __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(HANDLE file, const void* data, unsigned long size,
                                              unsigned long* written, void* overlapped);
__declspec(dllimport) void __stdcall ExitProcess(unsigned int code);
__declspec(dllimport) void __stdcall RaiseException(unsigned long code, unsigned long flags, unsigned long count,
                                                    const unsigned long long* arguments);

// The image's own base; lld-link defines it.
extern const char __ImageBase;

int _fltused = 0;

void* memcpy(void* to, const void* from, size_t size) {
  auto* out = static_cast<unsigned char*>(to);
  const auto* in = static_cast<const unsigned char*>(from);
  for (size_t i = 0; i < size; ++i) out[i] = in[i];
  return to;
}

void* memset(void* to, int value, size_t size) {
  auto* out = static_cast<unsigned char*>(to);
  for (size_t i = 0; i < size; ++i) out[i] = static_cast<unsigned char>(value);
  return to;
}

int _purecall() { ck_double::Fatal("pure virtual function called"); }

// What MSVC's runtime does for `throw`: raise the C++ exception code with
// the object, its throw information and the image base.
[[noreturn]] void _CxxThrowException(void* object, void* throw_info) {
  const unsigned long long arguments[4] = {0x19930520ull, reinterpret_cast<unsigned long long>(object),
                                           reinterpret_cast<unsigned long long>(throw_info),
                                           reinterpret_cast<unsigned long long>(&__ImageBase)};
  RaiseException(0xE06D7363ul, 1ul /* not continuable */, 4ul, arguments);
  ExitProcess(3);
  __builtin_unreachable();
}

// type_info's vtable, referenced by every type descriptor; never called.
extern const void* const ck_type_info_vtable[2] __asm__("??_7type_info@@6B@");
const void* const ck_type_info_vtable[2] = {nullptr, nullptr};

}  // extern "C"

void operator delete(void*) noexcept {}
void operator delete(void*, size_t) noexcept {}

// std::exception with MSVC's layout: its vtable, then the what() text and
// whether to free it.
namespace std {
class exception {
 public:
  explicit exception(const char* what) noexcept : what_(what), do_free_(false) {}
  exception(const exception& other) noexcept = default;
  virtual ~exception() noexcept {}
  virtual const char* what() const noexcept { return what_ != nullptr ? what_ : "Unknown exception"; }

 private:
  const char* what_;
  [[maybe_unused]] bool do_free_;
};

class runtime_error : public exception {
 public:
  explicit runtime_error(const char* what) noexcept : exception(what) {}
};
}  // namespace std

namespace {

// A thrown object that is no std::exception.
struct FrameworkFault {
  int status;
};

char g_message[256];

}  // namespace

namespace ck_double {

void Fatal(const char* text) {
  HANDLE error = GetStdHandle(static_cast<unsigned long>(-12));
  unsigned long written = 0;
  unsigned long length = 0;
  while (text[length] != 0) ++length;
  WriteFile(error, "fatal: ", 7, &written, nullptr);
  WriteFile(error, text, length, &written, nullptr);
  WriteFile(error, "\n", 1, &written, nullptr);
  ExitProcess(3);
  __builtin_unreachable();
}

void RaiseFrameworkError(int status, const char* message) {
  // `throw;` with no exception in flight: MSVC raises its C++ exception code
  // with neither an object nor throw information.
  if (status == 3) _CxxThrowException(nullptr, nullptr);
  if (status == 1) {
    unsigned n = 0;
    for (; n + 1 < sizeof(g_message) && message[n] != 0; ++n) g_message[n] = message[n];
    g_message[n] = 0;
    throw std::runtime_error(g_message);
  }
  throw FrameworkFault{status};
}

}  // namespace ck_double
