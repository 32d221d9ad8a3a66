// The simulated framework's side of the Windows framework double: the C
// bridge the double (AsaApi.dll, MSVC's binary interface) forwards every
// framework operation to. Connected when the framework is first created.
#if defined(_WIN32)

#include "sim/framework/msvc_bridge.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <type_traits>

#include "sim/framework/engine_text.h"
#include "asa/offsets.h"
#include "sim/framework/framework.h"
#include "sim/msvc/bridge.h"

namespace simfw {

namespace {

long long g_live_blocks = 0;

std::string Narrow(const char* text, unsigned long long length) { return std::string(text, length); }

FString Wide(const wchar_t* text, int length) {
  return FString(length, reinterpret_cast<const WIDECHAR*>(text));
}

// Runs `work`; a throw becomes the bridge error the double raises again
// (and a result, if any, its default value).
template <typename Work>
auto Reporting(CkBridgeError* error, Work work) -> decltype(work()) {
  try {
    return work();
  } catch (const BareRethrow&) {
    error->status = 3;
    error->message[0] = '\0';
  } catch (const std::exception& e) {
    error->status = 1;
    std::strncpy(error->message, e.what(), sizeof(error->message) - 1);
    error->message[sizeof(error->message) - 1] = '\0';
  } catch (...) {
    error->status = 2;
    error->message[0] = '\0';
  }
  if constexpr (!std::is_void_v<decltype(work())>) return decltype(work())();
}

// A callback the double keeps; released once the framework forgets it.
struct HeldCallback {
  HeldCallback(void* held_context, CkRelease held_release) : context(held_context), release(held_release) {}
  ~HeldCallback() { release(context); }
  HeldCallback(const HeldCallback&) = delete;
  HeldCallback& operator=(const HeldCallback&) = delete;

  void* context;
  CkRelease release;
};

const char* LevelName(int level) {
  switch (level) {
    case 0: return "trace";
    case 1: return "debug";
    case 2: return "info";
    case 3: return "warn";
    case 4: return "error";
    case 5: return "critical";
    default: return "off";
  }
}

const CkBridge kBridge = {
    // set_hook
    [](const char* key, unsigned long long length, void* detour, void** original, CkBridgeError* error) {
      return Reporting(error, [&] { return Fw().hooks.SetHook(Narrow(key, length), detour, original); });
    },
    // disable_hook
    [](const char* key, unsigned long long length, void* detour, CkBridgeError* error) {
      return Reporting(error, [&] { return Fw().hooks.DisableHook(Narrow(key, length), detour); });
    },
    // add_console_command
    [](const wchar_t* name, int length, CkConsoleInvoke invoke, CkRelease release, void* context,
       CkBridgeError* error) {
      auto held = std::make_shared<HeldCallback>(context, release);
      Reporting(error, [&] {
        Fw().commands.AddConsoleCommand(Wide(name, length), [held, invoke](APlayerController* caller, FString* line,
                                                                           bool from_rcon) {
          invoke(held->context, caller, line, from_rcon);
        });
      });
    },
    // remove_console_command
    [](const wchar_t* name, int length, CkBridgeError* error) {
      return Reporting(error, [&] { return Fw().commands.RemoveConsoleCommand(Wide(name, length)); });
    },
    // add_tick_callback
    [](const wchar_t* id, int length, CkTickInvoke invoke, CkRelease release, void* context, CkBridgeError* error) {
      auto held = std::make_shared<HeldCallback>(context, release);
      Reporting(error, [&] {
        Fw().commands.AddOnTickCallback(Wide(id, length),
                                        [held, invoke](float delta) { invoke(held->context, delta); });
      });
    },
    // remove_tick_callback
    [](const wchar_t* id, int length, CkBridgeError* error) {
      return Reporting(error, [&] { return Fw().commands.RemoveOnTickCallback(Wide(id, length)); });
    },
    // world, game_mode
    []() -> void* { return Fw().utils.GetWorld(); },
    []() -> void* { return Fw().utils.GetShooterGameMode(); },
    // messaging_requested
    [](const wchar_t* plugin, int length) { (void)Fw().utils.GetMessagingManager(Wide(plugin, length)); },
    // send_message
    [](const char* member, const wchar_t* plugin, int plugin_length, void* player, const wchar_t* sender,
       int sender_length, const wchar_t* text, int text_length, CkBridgeError* error) {
      Reporting(error, [&] {
        Fw().utils.RecordMessage(static_cast<AShooterPlayerController*>(player), member,
                                 sender == nullptr ? std::string("Server")
                                                   : ToUtf8(reinterpret_cast<const char16_t*>(sender), sender_length),
                                 ToUtf8(reinterpret_cast<const char16_t*>(text), text_length),
                                 ToUtf8(reinterpret_cast<const char16_t*>(plugin), plugin_length));
      });
    },
    // field_address, function_address, bit_field
    [](const void* base, const char* key, unsigned long long length, CkBridgeError* error) {
      return Reporting(error, [&] { return static_cast<unsigned long long>(::GetAddress(base, Narrow(key, length))); });
    },
    [](const char* key, unsigned long long length, CkBridgeError* error) -> void* {
      return Reporting(error, [&] { return ::GetAddress(Narrow(key, length)); });
    },
    [](const void* base, const char* key, unsigned long long length, void* out, CkBridgeError* error) {
      Reporting(error, [&] {
        const BitField field = ::GetBitField(base, Narrow(key, length));
        std::memcpy(out, &field, sizeof(field));
      });
    },
    // log
    [](const char* logger, unsigned long long logger_length, int level, const char* text,
       unsigned long long text_length, const char* line, unsigned long long line_length, CkBridgeError* error) {
      Reporting(error, [&] {
        Fw().logs.WriteRendered(Narrow(logger, logger_length), LevelName(level), Narrow(text, text_length),
                                Narrow(line, line_length));
      });
    },
    // flush
    [](CkBridgeError* error) {
      Reporting(error, [&] {
        Fw().logs.FlushRendered();
      });
    },
    // construct_fstring
    [](void* target, int length, const wchar_t* text) {
      new (target) FString(length, reinterpret_cast<const WIDECHAR*>(text));
    },
    // allocate, free
    [](unsigned long long size) -> void* {
      void* block = std::calloc(1, size);
      if (block == nullptr) std::abort();
      ++g_live_blocks;
      return block;
    },
    [](void* block) {
      if (block != nullptr) --g_live_blocks;
      std::free(block);
    },
    // add_rcon_command
    [](const wchar_t* name, int length, CkRconInvoke invoke, CkRelease release, void* context,
       CkBridgeError* error) {
      auto held = std::make_shared<HeldCallback>(context, release);
      Reporting(error, [&] {
        Fw().commands.AddRconCommand(Wide(name, length), [held, invoke](RCONClientConnection* connection,
                                                                        RCONPacket* packet, UWorld* world) {
          invoke(held->context, connection, packet, world);
        });
      });
    },
    // remove_rcon_command
    [](const wchar_t* name, int length, CkBridgeError* error) {
      return Reporting(error, [&] { return Fw().commands.RemoveRconCommand(Wide(name, length)); });
    },
};

}  // namespace

void ConnectFrameworkDouble() { CkConnectFrameworkDouble(&kBridge); }

long long FrameworkDoubleLiveBlocks() { return g_live_blocks; }

}  // namespace simfw

#endif  // _WIN32
