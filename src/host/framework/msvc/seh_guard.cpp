// Compiled by clang in MSVC mode (x86_64-pc-windows-msvc) into an ordinary
// COFF object that links into the mingw-built DLL: the structured exception
// handler below is what GCC cannot write. No standard library, no CRT
// beyond __C_specific_handler (msvcrt.dll exports it).
#include "seh_guard.h"

namespace {

using uint32 = unsigned int;
using int32 = int;
using uint64 = unsigned long long;

constexpr uint32 kMsvcCxxException = 0xE06D7363;  // 'msc' | 0xE0000000
constexpr int kExecuteHandler = 1;
constexpr int kContinueSearch = 0;

struct ExceptionRecord {
  uint32 code;
  uint32 flags;
  ExceptionRecord* next;
  void* address;
  uint32 parameter_count;
  uint64 parameters[15];
};
struct ExceptionPointers {
  ExceptionRecord* record;
  void* context;
};

// The x64 throw information, every reference relative to the image base
// (parameter 3 of the exception): ThrowInfo -> CatchableTypeArray ->
// CatchableType -> TypeDescriptor (whose decorated name identifies the type).
struct ThrowInfo {
  uint32 attributes;
  int32 unwind;
  int32 forward_compat;
  int32 catchable_types;
};
struct CatchableTypeArray {
  int32 count;
  int32 types[1];
};
struct CatchableType {
  uint32 properties;
  int32 type;
  int32 member_displacement;  // where the type's subobject starts in the thrown object
  int32 vbtable_displacement;
  int32 displacement_in_vbtable;
  int32 size_or_offset;
  int32 copy_function;
};
struct TypeDescriptor {
  const void* vtable;
  void* spare;
  char name[1];
};

bool SameText(const char* a, const char* b) {
  while (*a != 0 && *a == *b) ++a, ++b;
  return *a == *b;
}

// Finds std::exception among the types the thrown object can be caught as and
// copies its what() text (std::exception keeps it right after its vtable).
void Describe(const ExceptionRecord* record, CkFrameworkFault* fault) {
  fault->standard = 0;
  fault->message[0] = 0;
  if (record->parameter_count < 4) return;
  const auto* object = reinterpret_cast<const char*>(record->parameters[1]);
  const auto* info = reinterpret_cast<const ThrowInfo*>(record->parameters[2]);
  const auto* base = reinterpret_cast<const char*>(record->parameters[3]);
  if (object == nullptr || info == nullptr || base == nullptr || info->catchable_types == 0) return;
  const auto* types = reinterpret_cast<const CatchableTypeArray*>(base + info->catchable_types);
  for (int32 i = 0; i < types->count; ++i) {
    const auto* type = reinterpret_cast<const CatchableType*>(base + types->types[i]);
    const auto* descriptor = reinterpret_cast<const TypeDescriptor*>(base + type->type);
    if (!SameText(descriptor->name, ".?AVexception@std@@")) continue;
    fault->standard = 1;
    const char* what = *reinterpret_cast<const char* const*>(object + type->member_displacement + 8);
    if (what == nullptr) what = "unknown exception";
    unsigned n = 0;
    for (; n + 1 < sizeof(fault->message) && what[n] != 0; ++n) fault->message[n] = what[n];
    fault->message[n] = 0;
    return;
  }
}

int Filter(const ExceptionPointers* pointers, CkFrameworkFault* fault) {
  if (pointers->record->code != kMsvcCxxException) return kContinueSearch;
  Describe(pointers->record, fault);
  return kExecuteHandler;
}

}  // namespace

extern "C" int CkCallGuarded(void (*call)(void* context), void* context, CkFrameworkFault* fault) {
  __try {
    call(context);
  } __except (Filter(static_cast<const ExceptionPointers*>(__exception_info()), fault)) {
    return 1;
  }
  return 0;
}
