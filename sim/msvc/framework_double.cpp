// The framework double: AsaApi.dll for the Windows tests, implementing the
// framework's declarations (framework_decls.h) in MSVC's binary interface and
// forwarding every operation to the simulated framework through the C bridge.
// Built by clang in MSVC mode, freestanding, and linked by lld-link: what the
// plugin meets here is what the MSVC-built framework would present.
#define CK_DOUBLE_BUILDING
#include "bridge.h"
#include "framework_decls.h"
#include "runtime.h"

namespace {

const CkBridge* g_bridge = nullptr;

const CkBridge& Bridge() {
  if (g_bridge == nullptr) ck_double::Fatal("the framework double was used before the simulated framework connected");
  return *g_bridge;
}

// Runs one bridge operation, handing it the error record; a failure the
// simulated framework reported is thrown as an MSVC C++ exception, as the
// real framework would throw it.
template <typename Operation>
auto Forward(Operation operation) -> decltype(operation(static_cast<CkBridgeError*>(nullptr))) {
  using Result = decltype(operation(static_cast<CkBridgeError*>(nullptr)));
  CkBridgeError error{};
  if constexpr (__is_same(Result, void)) {
    operation(&error);
    if (error.status != 0) ck_double::RaiseFrameworkError(error.status, error.message);
  } else {
    const Result result = operation(&error);
    if (error.status != 0) ck_double::RaiseFrameworkError(error.status, error.message);
    return result;
  }
}

int32 Length(const wchar_t* text) {
  int32 n = 0;
  while (text != nullptr && text[n] != 0) ++n;
  return n;
}

int32 TextLength(const FString& text) { return text.Data.ArrayNum > 0 ? text.Data.ArrayNum - 1 : 0; }

// --- callbacks the framework keeps -------------------------------------------

// Whether `address` is on the calling thread's stack (NT_TIB: the stack's
// base at gs:[8], its limit at gs:[16]).
bool OnThisStack(const void* address) {
  unsigned long long base = 0;
  unsigned long long limit = 0;
  __asm__("movq %%gs:0x8, %0" : "=r"(base));
  __asm__("movq %%gs:0x10, %0" : "=r"(limit));
  const auto at = reinterpret_cast<unsigned long long>(address);
  return at >= limit && at < base;
}

// A std::function's implementation lives in its own storage or on the heap.
// One elsewhere on the stack belongs to another std::function whose bytes
// were copied into this one: the framework would call into storage that is
// gone once the caller returns. The real framework would crash some time
// later; the double stops at once.
template <class Fn>
void RefuseBorrowedImplementation(const Fn& callback) {
  if (callback.impl() == nullptr || callback.local() || !OnThisStack(callback.impl())) return;
  ck_double::Fatal("a std::function handed to the framework points into another std::function's storage "
                   "(its image was copied after it was built)");
}

// The framework's own copy of a std::function: made with the implementation's
// _Copy into storage of its own, destroyed with _Delete_this.
template <class Fn>
Fn* KeepCopy(const Fn& callback) {
  RefuseBorrowedImplementation(callback);
  auto* copy = static_cast<Fn*>(Bridge().allocate(sizeof(Fn)));
  for (auto& pointer : copy->storage.ptrs) pointer = nullptr;
  if (callback.impl() != nullptr) copy->storage.ptrs[7] = callback.impl()->_Copy(&copy->storage);
  return copy;
}

template <class Fn>
void ReleaseCopy(void* context) {
  auto* copy = static_cast<Fn*>(context);
  if (copy->impl() != nullptr) copy->impl()->_Delete_this(!copy->local());
  Bridge().free(copy);
}

using ConsoleFunction = std::function<void(APlayerController*, FString*, bool)>;
using TickFunction = std::function<void(float)>;
using RconFunction = std::function<void(RCONClientConnection*, RCONPacket*, UWorld*)>;

void InvokeRcon(void* context, void* connection, void* packet, void* world) {
  auto* callback = static_cast<RconFunction*>(context);
  if (callback->impl() == nullptr) return;
  auto* client = static_cast<RCONClientConnection*>(connection);
  auto* body = static_cast<RCONPacket*>(packet);
  auto* in_world = static_cast<UWorld*>(world);
  callback->impl()->_Do_call(static_cast<RCONClientConnection*&&>(client), static_cast<RCONPacket*&&>(body),
                             static_cast<UWorld*&&>(in_world));
}

void InvokeConsole(void* context, void* caller, void* line, bool from_rcon) {
  auto* callback = static_cast<ConsoleFunction*>(context);
  if (callback->impl() == nullptr) return;
  auto* who = static_cast<APlayerController*>(caller);
  auto* text = static_cast<FString*>(line);
  bool rcon = from_rcon;
  callback->impl()->_Do_call(static_cast<APlayerController*&&>(who), static_cast<FString*&&>(text),
                             static_cast<bool&&>(rcon));
}

void InvokeTick(void* context, float delta_seconds) {
  auto* callback = static_cast<TickFunction*>(context);
  if (callback->impl() == nullptr) return;
  float delta = delta_seconds;
  callback->impl()->_Do_call(static_cast<float&&>(delta));
}

// --- the interfaces -------------------------------------------------------------

class DoubleHooks final : public AsaApi::IHooks {
 public:
  bool DisableHook(const std::string& func_name, LPVOID detour) override {
    return Forward([&](CkBridgeError* error) {
      return Bridge().disable_hook(func_name.data(), func_name.size, detour, error);
    });
  }

 private:
  bool SetHookInternal(const std::string& func_name, LPVOID detour, LPVOID* original) override {
    return Forward([&](CkBridgeError* error) {
      return Bridge().set_hook(func_name.data(), func_name.size, detour, original, error);
    });
  }
};

class DoubleCommands final : public AsaApi::ICommands {
 public:
  void AddChatCommand(const FString&,
                      const std::function<void(AShooterPlayerController*, FString*, int, int)>&) override {}
  void AddConsoleCommand(const FString& command, const ConsoleFunction& callback) override {
    Forward([&](CkBridgeError* error) {
      Bridge().add_console_command(command.Data.Data, TextLength(command), &InvokeConsole,
                                   &ReleaseCopy<ConsoleFunction>, KeepCopy(callback), error);
    });
  }
  void AddRconCommand(const FString& command, const RconFunction& callback) override {
    Forward([&](CkBridgeError* error) {
      Bridge().add_rcon_command(command.Data.Data, TextLength(command), &InvokeRcon, &ReleaseCopy<RconFunction>,
                                KeepCopy(callback), error);
    });
  }
  void AddOnTickCallback(const FString& id, const TickFunction& callback) override {
    Forward([&](CkBridgeError* error) {
      Bridge().add_tick_callback(id.Data.Data, TextLength(id), &InvokeTick, &ReleaseCopy<TickFunction>,
                                 KeepCopy(callback), error);
    });
  }
  void AddOnTimerCallback(const FString&, const std::function<void()>&) override {}
  void AddOnChatMessageCallback(
      const FString&,
      const std::function<bool(AShooterPlayerController*, FString*, int, int, bool, bool)>&) override {}
  bool RemoveChatCommand(const FString&) override { return false; }
  bool RemoveConsoleCommand(const FString& command) override {
    return Forward([&](CkBridgeError* error) {
      return Bridge().remove_console_command(command.Data.Data, TextLength(command), error);
    });
  }
  bool RemoveRconCommand(const FString& command) override {
    return Forward([&](CkBridgeError* error) {
      return Bridge().remove_rcon_command(command.Data.Data, TextLength(command), error);
    });
  }
  bool RemoveOnTickCallback(const FString& id) override {
    return Forward(
        [&](CkBridgeError* error) { return Bridge().remove_tick_callback(id.Data.Data, TextLength(id), error); });
  }
  bool RemoveOnTimerCallback(const FString&) override { return false; }
  bool RemoveOnChatMessageCallback(const FString&) override { return false; }
};

// One plugin's messaging object; it remembers the plugin's module path.
class DoubleMessaging final : public MessagingManager {
 public:
  DoubleMessaging(const wchar_t* plugin, int32 length) : plugin_length_(length) {
    plugin_ = static_cast<wchar_t*>(Bridge().allocate(sizeof(wchar_t) * static_cast<size_t>(length + 1)));
    for (int32 i = 0; i < length; ++i) plugin_[i] = plugin[i];
    plugin_[length] = 0;
  }
  ~DoubleMessaging() { Bridge().free(plugin_); }

  // Every member records which one the caller reached, so a call through
  // the wrong slot shows as the wrong member, not as a chat line.
 protected:
  // The colour arrives as the address of the caller's copy; a caller must
  // keep it on a 16-byte boundary, where a build reading it as one vector
  // register with an aligned load finds it.
  void SendServerMessage_Impl(AShooterPlayerController* player_controller, FLinearColor msg_color,
                              const FString& msg) override {
    if ((reinterpret_cast<unsigned long long>(&msg_color) & 15u) != 0) {
      ck_double::Fatal("SendServerMessage_Impl: the caller's copy of the colour is not on a 16-byte boundary");
    }
    Send("SendServerMessage_Impl", player_controller, nullptr, &msg);
  }
  void SendChatMessage_Impl(AShooterPlayerController* player_controller, const FString& sender_name,
                            const FString& msg) override {
    Send("SendChatMessage_Impl", player_controller, &sender_name, &msg);
  }
  // The text comes from the stack here; a caller that meant another member
  // left nothing readable there, so only the member and the player are kept.
  void SendNotification_Impl(AShooterPlayerController* player_controller, FLinearColor, float, float, UTexture2D*,
                             const FString&) override {
    Send("SendNotification_Impl", player_controller, nullptr, nullptr);
  }

 private:
  void Send(const char* member, AShooterPlayerController* player, const FString* sender, const FString* msg) {
    Forward([&](CkBridgeError* error) {
      Bridge().send_message(member, plugin_, plugin_length_, player, sender ? sender->Data.Data : nullptr,
                            sender ? TextLength(*sender) : 0, msg ? msg->Data.Data : nullptr,
                            msg ? TextLength(*msg) : 0, error);
    });
  }

  wchar_t* plugin_;
  int32 plugin_length_;
};

// The control block and the messaging object in one allocation, as
// std::make_shared makes them.
class MessagingBlock final : public std::_Ref_count_base {
 public:
  MessagingBlock(const wchar_t* plugin, int32 length) : messaging(plugin, length) {}

  DoubleMessaging messaging;

 private:
  void _Destroy() noexcept override { messaging.~DoubleMessaging(); }
  void _Delete_this() noexcept override { Bridge().free(this); }
};

class DoubleUtils final : public AsaApi::IApiUtils {
 public:
  UWorld* GetWorld() const override { return static_cast<UWorld*>(Bridge().world()); }
  AShooterGameMode* GetShooterGameMode() const override {
    return static_cast<AShooterGameMode*>(Bridge().game_mode());
  }
  AsaApi::ServerStatus GetStatus() const override { return AsaApi::ServerStatus::Ready; }
  UShooterCheatManager* GetCheatManager() const override { return nullptr; }

 private:
  AShooterPlayerController* FindPlayerFromEOSID_Internal(const FString&) const override { return nullptr; }
  std::shared_ptr<MessagingManager> GetMessagingManagerInternal(const FString& forPlugin) const override {
    Bridge().messaging_requested(forPlugin.Data.Data, TextLength(forPlugin));
    void* memory = Bridge().allocate(sizeof(MessagingBlock));
    auto* block = new (memory) MessagingBlock(forPlugin.Data.Data, TextLength(forPlugin));
    std::shared_ptr<MessagingManager> result;
    result.ptr = &block->messaging;
    result.rep = block;
    return result;
  }
  void SetMessagingManagerInternal(const FString&, std::shared_ptr<MessagingManager>) override {}
};

// The shared sinks: one sink that hands every line to the simulated
// framework's sinks.
class DoubleSink final : public spdlog::sinks::sink {
 public:
  void log(const spdlog::details::log_msg& msg) override {
    static const char kNoName[] = "";
    const char* name = msg.logger_name != nullptr ? msg.logger_name->data() : kNoName;
    const size_t name_length = msg.logger_name != nullptr ? msg.logger_name->size : 0;
    // Sinks read the writers' buffers through their Buffer references.
    const auto& raw = reinterpret_cast<const ck_double::BufferView&>(msg.raw.buffer_);
    const auto& line = reinterpret_cast<const ck_double::BufferView&>(msg.formatted.buffer_);
    Forward([&](CkBridgeError* error) {
      Bridge().log(name, name_length, msg.level, raw.ptr, raw.size, line.ptr, line.size, error);
    });
  }
  void flush() override {
    Forward([](CkBridgeError* error) { Bridge().flush(error); });
  }
};

// Never destroyed: a statically held control block that outlives everything.
class StaticBlock final : public std::_Ref_count_base {
  void _Destroy() noexcept override {}
  void _Delete_this() noexcept override {}
};

[[clang::no_destroy]] DoubleHooks g_hooks;
[[clang::no_destroy]] DoubleCommands g_commands;
[[clang::no_destroy]] DoubleUtils g_utils;
[[clang::no_destroy]] DoubleSink g_sink;
[[clang::no_destroy]] StaticBlock g_sink_block;
spdlog::sink_ptr g_sink_pointers[1];
std::vector<spdlog::sink_ptr> g_sinks;

}  // namespace

extern "C" void CkConnectFrameworkDouble(const CkBridge* bridge) {
  g_bridge = bridge;
  g_sink_pointers[0].ptr = &g_sink;
  g_sink_pointers[0].rep = &g_sink_block;
  g_sinks.first = g_sink_pointers;
  g_sinks.last = g_sink_pointers + 1;
  g_sinks.end = g_sink_pointers + 1;
}

namespace AsaApi {

IHooks& GetHooks() { return g_hooks; }
ICommands& GetCommands() { return g_commands; }
IApiUtils& GetApiUtils() { return g_utils; }

}  // namespace AsaApi

DWORD64 GetAddress(const void* base, const std::string& name) {
  return Forward([&](CkBridgeError* error) { return Bridge().field_address(base, name.data(), name.size, error); });
}

LPVOID GetAddress(const std::string& name) {
  return Forward([&](CkBridgeError* error) { return Bridge().function_address(name.data(), name.size, error); });
}

BitField GetBitField(const void* base, const std::string& name) {
  BitField field{};
  Forward([&](CkBridgeError* error) { Bridge().bit_field(base, name.data(), name.size, &field, error); });
  return field;
}

std::vector<spdlog::sink_ptr>& GetLogSinks() { return g_sinks; }

FString::FString(const WIDECHAR* Str) { Bridge().construct_fstring(this, Length(Str), Str); }

FString::FString(int32 Len, const WIDECHAR* Str) { Bridge().construct_fstring(this, Len, Str); }

std::optional<std::string> MessagingManager::MeetsRequirementsToWork() {
  std::optional<std::string> none;
  none.has_value = false;
  return none;
}
void MessagingManager::SendServerMessage_Impl(AShooterPlayerController*, FLinearColor, const FString&) {}
void MessagingManager::SendChatMessage_Impl(AShooterPlayerController*, const FString&, const FString&) {}
void MessagingManager::SendNotification_Impl(AShooterPlayerController*, FLinearColor, float, float, UTexture2D*,
                                             const FString&) {}
