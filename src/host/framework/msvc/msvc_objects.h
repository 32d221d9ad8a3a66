// Objects of the MSVC standard library and of spdlog 0.16.2, laid out by hand
// the way the real framework (built with MSVC) lays them out, for the
// binary-interface layer of the Windows DLL. Each fact is written down with
// its source in docs/framework-abi.md; the offsets asserted below are the
// ones clang reports for the framework's declarations in MSVC mode
// (sim/msvc/framework_decls.h, -fdump-record-layouts).
//
// The plugin never lets the framework own memory of these objects that the
// plugin allocated the framework's way: strings handed over are read only;
// std::function implementations live inside the std::function's own storage;
// shared pointers received are released through their control block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "asa/engine_types.h"

namespace ck::host::msvc {

// std::string (release): a 16-byte buffer/pointer union, the size, the
// capacity; the text is inline while the capacity is 15 or less.
struct String {
  union {
    char buffer[16];
    const char* pointer;
  };
  std::uint64_t size;
  std::uint64_t capacity;
};
static_assert(sizeof(String) == 32 && offsetof(String, size) == 16 && offsetof(String, capacity) == 24);

// The implementation interface behind std::function<R(Args...)>, one C
// function per virtual slot; `this` comes first, and _Do_call receives the
// address of each argument (its parameters are forwarding references).
struct FunctionImpl;
// The members are in slot order (slots.h: kFunctionCopy ... kFunctionGet).
struct FunctionImplVtable {
  FunctionImpl* (*copy)(const FunctionImpl* self, void* where);
  FunctionImpl* (*move)(FunctionImpl* self, void* where);
  void* do_call;
  const void* (*target_type)(const FunctionImpl* self);
  void (*delete_this)(FunctionImpl* self, bool deallocate);
  const void* (*get)(const FunctionImpl* self);
};

// The plugin's implementation object: its vtable and the plugin function it
// calls. 16 bytes, so it always lives inside the std::function's storage.
struct FunctionImpl {
  const FunctionImplVtable* vtable;
  void* target;
};

// std::function: 56 bytes of small-object storage, then the implementation
// pointer (equal to the storage's own address when the implementation lives
// inside it). 64 bytes in all.
//
// An image whose implementation lives inside it points into itself, so it is
// right only where it was built: it can be neither copied nor moved, and is
// built in place in storage its user owns.
struct Function {
  Function() = default;
  Function(const Function&) = delete;
  Function& operator=(const Function&) = delete;

  union {
    double align;
    unsigned char storage[56];
  };
  FunctionImpl* impl = nullptr;
};
static_assert(sizeof(Function) == 64 && offsetof(Function, impl) == 56);
static_assert(!std::is_copy_constructible_v<Function> && !std::is_move_constructible_v<Function>,
              "a std::function image points into itself: a copy would point into the original");

// FLinearColor {R, G, B, A}, as the plugin hands one to the framework: a
// 16-byte class passed by value travels as the address of the caller's copy.
// The framework's 2.03 headers declare four floats; the copy is kept on a
// 16-byte boundary all the same, so a callee built to read the colour as one
// vector register with an aligned load reads it safely.
struct alignas(16) LinearColor {
  float r;
  float g;
  float b;
  float a;
};
static_assert(sizeof(LinearColor) == 16 && alignof(LinearColor) == 16);

// std::_Ref_count_base: the control block of a shared pointer.
struct ControlBlock;
// In slot order (slots.h: kControlDestroy, kControlDeleteThis).
struct ControlBlockVtable {
  void (*destroy)(ControlBlock* self);      // destroys the managed object
  void (*delete_this)(ControlBlock* self);  // frees the block
};
struct ControlBlock {
  const ControlBlockVtable* vtable;
  std::uint32_t uses;   // atomic
  std::uint32_t weaks;  // atomic
};
static_assert(offsetof(ControlBlock, uses) == 8 && offsetof(ControlBlock, weaks) == 12);

// std::shared_ptr<T>: the object, then the control block.
struct SharedPtr {
  void* object;
  ControlBlock* control;
};
static_assert(sizeof(SharedPtr) == 16);

// std::vector<T>: first element, one past the last, end of the storage.
template <typename T>
struct Vector {
  T* first;
  T* last;
  T* end;
};
static_assert(sizeof(Vector<SharedPtr>) == 24);

// fmt::MemoryWriter (fmt 4.1, bundled with spdlog 0.16.2): a BasicWriter
// (vtable, then a reference to its buffer) followed by its inline
// MemoryBuffer<char, 500> (vtable, data pointer, size, capacity, then 500
// inline bytes; its empty allocator base takes no room).
struct MemoryWriter {
  const void* writer_vtable;
  void* buffer;  // BasicWriter::buffer_, the address of `buffer_vtable`
  const void* buffer_vtable;
  const char* data;
  std::uint64_t size;
  std::uint64_t capacity;
  char inline_data[500];
};
static_assert(offsetof(MemoryWriter, buffer_vtable) == 16 && offsetof(MemoryWriter, data) == 24 &&
              offsetof(MemoryWriter, size) == 32 && offsetof(MemoryWriter, capacity) == 40 &&
              offsetof(MemoryWriter, inline_data) == 48 && sizeof(MemoryWriter) == 552);

// spdlog::details::log_msg (spdlog 0.16.2).
struct LogMessage {
  const String* logger_name;
  std::int32_t level;  // spdlog::level::level_enum
  std::int64_t time;   // system_clock::time_point: 100 ns units since 1970
  std::uint64_t thread_id;
  MemoryWriter raw;        // the message text
  MemoryWriter formatted;  // the whole line as the pattern renders it
  std::uint64_t msg_id;
};
static_assert(offsetof(LogMessage, level) == 8 && offsetof(LogMessage, time) == 16 &&
              offsetof(LogMessage, thread_id) == 24 && offsetof(LogMessage, raw) == 32 &&
              offsetof(LogMessage, formatted) == 584 && offsetof(LogMessage, msg_id) == 1136 &&
              sizeof(LogMessage) == 1144);

// spdlog::sinks::sink: its vtable, then the lowest level it writes (atomic int).
struct Sink;
// In slot order (slots.h: kSinkLog, kSinkFlush after the destructor).
struct SinkVtable {
  void* scalar_deleting_destructor;
  void (*log)(Sink* self, const LogMessage* message);
  void (*flush)(Sink* self);
};
struct Sink {
  const SinkVtable* vtable;
  std::int32_t level;
};
static_assert(offsetof(Sink, level) == 8);

// spdlog 0.16's level names, as %l renders them.
inline constexpr const char* kLevelNames[] = {"trace", "debug", "info", "warning", "error", "critical", "off"};
inline constexpr std::int32_t kLevelInfo = 2;
inline constexpr std::int32_t kLevelWarn = 3;
inline constexpr std::int32_t kLevelError = 4;

}  // namespace ck::host::msvc
