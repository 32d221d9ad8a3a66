// The framework door on Windows: the real framework is built with MSVC, so
// every call follows MSVC's binary interface, written out here.
//
// - Imports bind by the framework's MSVC-decorated names (asaapi.def gives
//   each a plain C name for this file).
// - A call into a framework object is a plain C function pointer read from
//   its vtable slot (slots.h), `this` first; a member function returning a
//   class gets the address of the result right after `this`.
// - std::string, std::function, std::shared_ptr, std::vector and spdlog's
//   log record are laid out by hand (msvc_objects.h).
// - Every call runs under the structured-exception guard (seh_guard.h): an
//   MSVC C++ exception from the framework comes back as a std::runtime_error
//   (or, for an object that is no std::exception, as FrameworkFault), and no
//   exception of the plugin's crosses into the framework.
#if defined(_WIN32)

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <new>
#include <utility>

#include "core/boundary.h"
#include "host/framework/engine_text.h"
#include "host/framework/framework.h"
#include "host/framework/msvc/msvc_objects.h"
#include "host/framework/msvc/seh_guard.h"
#include "host/framework/msvc/slots.h"

extern "C" {
__declspec(dllimport) void* CkGetHooks();
__declspec(dllimport) void* CkGetCommands();
__declspec(dllimport) void* CkGetApiUtils();
__declspec(dllimport) DWORD64 CkGetFieldAddress(const void* base, const ck::host::msvc::String* name);
__declspec(dllimport) void* CkGetFunctionAddress(const ck::host::msvc::String* name);
// Returns BitField (32 bytes) by value: the result's address comes first.
__declspec(dllimport) BitField* CkGetBitField(BitField* result, const void* base,
                                              const ck::host::msvc::String* name);
__declspec(dllimport) ck::host::msvc::Vector<ck::host::msvc::SharedPtr>* CkGetLogSinks();
// FString::FString(int32 Len, const WIDECHAR* Str): `this` first.
__declspec(dllimport) void* CkConstructFString(FString* self, int32 length, const wchar_t* text);
}

namespace ck::host {

namespace {

using msvc::ControlBlock;
using msvc::Function;
using msvc::FunctionImpl;
using msvc::FunctionImplVtable;
using msvc::SharedPtr;

// A framework failure that was not a std::exception.
struct FrameworkFault {};

// The C function in `slot` of `object`'s vtable.
template <typename Fn>
Fn Slot(const void* object, int slot) {
  return reinterpret_cast<Fn>((*static_cast<void* const* const*>(object))[slot]);
}

// Runs `call` (which calls into the framework) under the guard. Not noexcept
// on purpose: nothing of the plugin may end the process while an MSVC
// exception passes through these frames.
template <typename Call>
void Guarded(Call&& call) {
  CkFrameworkFault fault{};
  auto trampoline = [](void* context) { (*static_cast<Call*>(context))(); };
  if (CkCallGuarded(trampoline, &call, &fault) == 0) return;
  if (fault.standard != 0) throw std::runtime_error(fault.message);
  throw FrameworkFault{};
}

// A std::string (MSVC layout) holding `text`; long texts point at `text`'s
// own bytes, which must outlive it (the framework only reads it).
msvc::String KeyString(const std::string& text) {
  msvc::String key{};
  key.size = text.size();
  if (text.size() < sizeof(key.buffer)) {
    std::memcpy(key.buffer, text.data(), text.size());
    key.buffer[text.size()] = '\0';
    key.capacity = sizeof(key.buffer) - 1;
  } else {
    key.pointer = text.c_str();
    key.capacity = text.size();
  }
  return key;
}

// --- std::function implementations the framework copies and calls ---------

FunctionImpl* CopyImpl(const FunctionImpl* self, void* where) {
  return new (where) FunctionImpl{self->vtable, self->target};
}
FunctionImpl* MoveImpl(FunctionImpl* self, void* where) { return CopyImpl(self, where); }
const void* TargetType(const FunctionImpl* /*self*/) {
  static const void* const kNoType[4] = {};
  return kNoType;
}
void DeleteThis(FunctionImpl* /*self*/, bool /*deallocate*/) {}
const void* GetTarget(const FunctionImpl* self) { return &self->target; }

// _Do_call receives the address of each argument. Nothing the plugin throws
// may reach the framework's frames.
void CallConsole(FunctionImpl* self, APlayerController** caller, FString** line, bool* from_rcon) {
  core::Contain([&] { reinterpret_cast<ConsoleCommandFn>(self->target)(*caller, *line, *from_rcon); },
                [](const char*) {});
}
void CallRcon(FunctionImpl* self, RCONClientConnection** connection, RCONPacket** packet, UWorld** world) {
  core::Contain([&] { reinterpret_cast<RconCommandFn>(self->target)(*connection, *packet, *world); },
                [](const char*) {});
}
void CallTick(FunctionImpl* self, float* delta_seconds) {
  core::Contain([&] { reinterpret_cast<TickFn>(self->target)(*delta_seconds); }, [](const char*) {});
}

const FunctionImplVtable kConsoleVtable{&CopyImpl, &MoveImpl, reinterpret_cast<void*>(&CallConsole),
                                            &TargetType, &DeleteThis, &GetTarget};
const FunctionImplVtable kRconVtable{&CopyImpl, &MoveImpl, reinterpret_cast<void*>(&CallRcon),
                                     &TargetType, &DeleteThis, &GetTarget};
const FunctionImplVtable kTickVtable{&CopyImpl, &MoveImpl, reinterpret_cast<void*>(&CallTick),
                                         &TargetType, &DeleteThis, &GetTarget};

// Builds, in `function` (storage its caller owns and keeps while the
// framework copies it), a std::function whose implementation lives in that
// storage.
void PlaceFunction(Function& function, const FunctionImplVtable* vtable, void* target) {
  function.impl = new (function.storage) FunctionImpl{vtable, target};
}

// Drops one reference of a shared pointer the framework handed over: at
// zero uses the object is destroyed, at zero weak references the block.
void Release(SharedPtr& pointer) {
  ControlBlock* control = pointer.control;
  pointer = SharedPtr{nullptr, nullptr};
  if (control == nullptr) return;
  if (__atomic_sub_fetch(&control->uses, 1, __ATOMIC_ACQ_REL) != 0) return;
  Guarded([&] { Slot<void (*)(ControlBlock*)>(control, msvc::kControlDestroy)(control); });
  if (__atomic_sub_fetch(&control->weaks, 1, __ATOMIC_ACQ_REL) != 0) return;
  Guarded([&] { Slot<void (*)(ControlBlock*)>(control, msvc::kControlDeleteThis)(control); });
}

// --- the log -----------------------------------------------------------------

struct LogState {
  bool open = false;
  std::string name;
  msvc::String name_string{};
};

LogState& Log() {
  static LogState state;
  return state;
}

void Nothing() {}
// Vtables for the writers and buffers inside a log record; sinks never call
// them (they read the buffers' data and size), but each slot is harmless.
void* const kInertVtable[4] = {reinterpret_cast<void*>(&Nothing), reinterpret_cast<void*>(&Nothing),
                               reinterpret_cast<void*>(&Nothing), reinterpret_cast<void*>(&Nothing)};

void FillWriter(msvc::MemoryWriter& writer, std::string_view text) {
  writer.writer_vtable = kInertVtable;
  writer.buffer = &writer.buffer_vtable;
  writer.buffer_vtable = kInertVtable;
  writer.data = text.data();
  writer.size = text.size();
  writer.capacity = text.size();
}

// "%D %R [%n][%l] %v" in local time, ended as spdlog 0.16 ends lines on
// Windows.
std::string RenderLine(const std::string& name, std::int32_t level, std::string_view text) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char stamp[32];
  std::snprintf(stamp, sizeof(stamp), "%02u/%02u/%02u %02u:%02u", now.wMonth, now.wDay, now.wYear % 100, now.wHour,
                now.wMinute);
  std::string line = stamp;
  line += " [";
  line += name;
  line += "][";
  line += msvc::kLevelNames[level];
  line += "] ";
  line.append(text.data(), text.size());
  line += "\r\n";
  return line;
}

std::int64_t SystemClockNow() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const std::int64_t since_1601 =
      (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | static_cast<std::int64_t>(now.dwLowDateTime);
  return since_1601 - 116444736000000000LL;  // 100 ns units from 1601 to 1970
}

}  // namespace

bool SetHook(const std::string& key, void* detour, void** original) {
  const msvc::String name = KeyString(key);
  bool installed = false;
  Guarded([&] {
    void* hooks = CkGetHooks();
    installed = Slot<bool (*)(void*, const msvc::String*, void*, void**)>(hooks, msvc::kSetHookInternal)(
        hooks, &name, detour, original);
  });
  return installed;
}

bool DisableHook(const std::string& key, void* detour) {
  const msvc::String name = KeyString(key);
  bool disabled = false;
  Guarded([&] {
    void* hooks = CkGetHooks();
    disabled = Slot<bool (*)(void*, const msvc::String*, void*)>(hooks, msvc::kDisableHook)(hooks, &name,
                                                                                                  detour);
  });
  return disabled;
}

namespace {

// ICommands' add and remove calls take a name as engine text; an add also
// takes a std::function the framework copies.
void AddCallback(int slot, std::u16string_view name, const FunctionImplVtable* vtable, void* target) {
  const EngineString text(name);
  Function function;
  PlaceFunction(function, vtable, target);
  Guarded([&] {
    void* commands = CkGetCommands();
    Slot<void (*)(void*, const FString*, const Function*)>(commands, slot)(commands, text.get(), &function);
  });
}

bool RemoveByName(int slot, std::u16string_view name) {
  const EngineString text(name);
  bool removed = false;
  Guarded([&] {
    void* commands = CkGetCommands();
    removed = Slot<bool (*)(void*, const FString*)>(commands, slot)(commands, text.get());
  });
  return removed;
}

}  // namespace

void AddConsoleCommand(std::u16string_view name, ConsoleCommandFn callback) {
  AddCallback(msvc::kAddConsoleCommand, name, &kConsoleVtable, reinterpret_cast<void*>(callback));
}

bool RemoveConsoleCommand(std::u16string_view name) { return RemoveByName(msvc::kRemoveConsoleCommand, name); }

void AddRconCommand(std::u16string_view name, RconCommandFn callback) {
  AddCallback(msvc::kAddRconCommand, name, &kRconVtable, reinterpret_cast<void*>(callback));
}

bool RemoveRconCommand(std::u16string_view name) { return RemoveByName(msvc::kRemoveRconCommand, name); }

void AddOnTickCallback(std::u16string_view id, TickFn callback) {
  AddCallback(msvc::kAddOnTickCallback, id, &kTickVtable, reinterpret_cast<void*>(callback));
}

bool RemoveOnTickCallback(std::u16string_view id) { return RemoveByName(msvc::kRemoveOnTickCallback, id); }

namespace {

// An IApiUtils getter that takes nothing and returns a pointer.
template <typename T>
T* UtilsPointer(int slot) {
  T* result = nullptr;
  Guarded([&] {
    void* utils = CkGetApiUtils();
    result = Slot<T* (*)(const void*)>(utils, slot)(utils);
  });
  return result;
}

}  // namespace

UWorld* CurrentWorld() { return UtilsPointer<UWorld>(msvc::kGetWorld); }

AShooterGameMode* CurrentGameMode() { return UtilsPointer<AShooterGameMode>(msvc::kGetShooterGameMode); }

namespace {

// Runs `send` with the plugin's messaging object (false when there is none);
// the object's reference goes back whatever happens on the way.
template <typename Send>
bool WithMessaging(std::u16string_view module_path, Send&& send) {
  const EngineString plugin(module_path);
  SharedPtr messaging{nullptr, nullptr};
  Guarded([&] {
    void* utils = CkGetApiUtils();
    // A std::shared_ptr returned by value: the result's address after `this`.
    Slot<SharedPtr* (*)(const void*, SharedPtr*, const FString*)>(
        utils, msvc::kGetMessagingManagerInternal)(utils, &messaging, plugin.get());
  });
  if (messaging.object == nullptr) {
    Release(messaging);
    return false;
  }
  std::exception_ptr failure;
  core::Attempt([&] { send(messaging.object); }, failure);
  Release(messaging);
  if (failure) std::rethrow_exception(failure);
  return true;
}

}  // namespace

bool SendChatMessage(AShooterPlayerController* player, std::u16string_view module_path,
                     std::u16string_view sender, std::u16string_view text) {
  return WithMessaging(module_path, [&](void* messaging) {
    const EngineString from(sender);
    const EngineString line(text);
    Guarded([&] {
      Slot<void (*)(void*, AShooterPlayerController*, const FString*, const FString*)>(
          messaging, msvc::kSendChatMessageImpl)(messaging, player, from.get(), line.get());
    });
  });
}

bool SendServerMessage(AShooterPlayerController* player, std::u16string_view module_path,
                       std::u16string_view text) {
  return WithMessaging(module_path, [&](void* messaging) {
    const EngineString line(text);
    // By value: the address of the caller's copy, on a 16-byte boundary.
    const msvc::LinearColor white{1.0f, 1.0f, 1.0f, 1.0f};
    Guarded([&] {
      Slot<void (*)(void*, AShooterPlayerController*, const msvc::LinearColor*, const FString*)>(
          messaging, msvc::kSendServerMessageImpl)(messaging, player, &white, line.get());
    });
  });
}

void* FieldAddress(const void* object, const std::string& key) {
  const msvc::String name = KeyString(key);
  DWORD64 address = 0;
  Guarded([&] { address = CkGetFieldAddress(object, &name); });
  return reinterpret_cast<void*>(address);
}

void* FunctionAddress(const std::string& key) {
  const msvc::String name = KeyString(key);
  void* address = nullptr;
  Guarded([&] { address = CkGetFunctionAddress(&name); });
  return address;
}

BitField BitFieldOf(const void* object, const std::string& key) {
  const msvc::String name = KeyString(key);
  BitField field{};
  Guarded([&] { CkGetBitField(&field, object, &name); });
  return field;
}

void ConstructEngineString(FString* target, std::u16string_view text) {
  *reinterpret_cast<TArray<char16_t>*>(target) = TArray<char16_t>{nullptr, 0, 0};
  Guarded([&] {
    CkConstructFString(target, static_cast<int32>(text.size()), reinterpret_cast<const wchar_t*>(text.data()));
  });
}

void OpenLog(std::string_view logger_name) {
  LogState& log = Log();
  log.name.assign(logger_name.data(), logger_name.size());
  log.name_string = KeyString(log.name);
  log.open = true;
}

bool LogIsOpen() { return Log().open; }

void WriteLog(LogLevel level, std::string_view text) {
  LogState& log = Log();
  if (!log.open) return;
  const std::int32_t spd = level == LogLevel::kError  ? msvc::kLevelError
                           : level == LogLevel::kWarn ? msvc::kLevelWarn
                                                      : msvc::kLevelInfo;
  const std::string line = RenderLine(log.name, spd, text);
  static msvc::LogMessage message;  // 1144 bytes: kept off the stack
  std::memset(&message, 0, sizeof(message));
  message.logger_name = &log.name_string;
  message.level = spd;
  message.time = SystemClockNow();
  message.thread_id = GetCurrentThreadId();
  FillWriter(message.raw, text);
  FillWriter(message.formatted, line);
  msvc::Vector<SharedPtr>* sinks = nullptr;
  Guarded([&] { sinks = CkGetLogSinks(); });
  if (sinks == nullptr) return;
  for (SharedPtr* entry = sinks->first; entry != sinks->last; ++entry) {
    auto* sink = static_cast<msvc::Sink*>(entry->object);
    if (sink == nullptr || spd < __atomic_load_n(&sink->level, __ATOMIC_RELAXED)) continue;
    Guarded([&] { Slot<void (*)(msvc::Sink*, const msvc::LogMessage*)>(sink, msvc::kSinkLog)(sink, &message); });
  }
  // Every line the plugin writes is info or above: flush after each.
  for (SharedPtr* entry = sinks->first; entry != sinks->last; ++entry) {
    auto* sink = static_cast<msvc::Sink*>(entry->object);
    if (sink == nullptr) continue;
    Guarded([&] { Slot<void (*)(msvc::Sink*)>(sink, msvc::kSinkFlush)(sink); });
  }
}

}  // namespace ck::host

#endif  // _WIN32
