// The framework's console and RCON commands and tick callbacks, kept and
// dispatched as the released framework (API 2.03, Private/Commands.h) does:
//
// - each registration belongs to the module that made it (modules.h); the
//   framework's own commands (plugins.load, plugins.unload) to none;
// - a command is found by the first word of the line, letters' case
//   ignored, and removal by name ignores case too (FString ==);
// - dispatch runs from a copy of the list (shared entries), so an entry
//   removed meanwhile lives until the dispatch ends;
// - tick callbacks run from the list as it was when the tick began,
//   including any removed during the tick;
// - unloading a module first empties the callbacks of its entries, then
//   takes them out (RemoveAllFromModule).
// A callback of an unloaded module is never called and never destroyed: each
// attempt is a defect (see modules.h).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "asa/commands.h"
#include "sim/framework/faults.h"

namespace sim::rec {
struct RCONPacket;
}

namespace simfw {

class ASAAPI_API SimCommands final : public AsaApi::ICommands {
 public:
  // The framework's own handling of an RCON command: the reply to the client.
  using RconHandler = std::function<std::string(const std::string& line)>;

  explicit SimCommands(Faults& faults) : faults_(faults) {}

  // Each is fault-able under "ICommands.<operation>" with the name or id as
  // target; a failing add registers nothing, a failing remove removes nothing.
  void AddConsoleCommand(const FString& command, const AsaApi::ConsoleCommandCallback& callback) override;
  void AddOnTickCallback(const FString& id, const AsaApi::TickCallback& callback) override;
  bool RemoveConsoleCommand(const FString& command) override;
  bool RemoveOnTickCallback(const FString& id) override;
  void AddRconCommand(const FString& command,
                      const std::function<void(RCONClientConnection*, RCONPacket*, UWorld*)>& callback) override;
  bool RemoveRconCommand(const FString& command) override;

  // The kinds the plugin does not use are accepted and forgotten.
  void AddChatCommand(const FString&,
                      const std::function<void(AShooterPlayerController*, FString*, int, int)>&) override {}
  void AddOnTimerCallback(const FString&, const std::function<void()>&) override {}
  void AddOnChatMessageCallback(
      const FString&,
      const std::function<bool(AShooterPlayerController*, FString*, int, int, bool, bool)>&) override {}
  bool RemoveChatCommand(const FString&) override { return false; }
  bool RemoveOnTimerCallback(const FString&) override { return false; }
  bool RemoveOnChatMessageCallback(const FString&) override { return false; }

  // The framework's own commands, which belong to no module.
  void AddFrameworkConsoleCommand(const std::string& name, AsaApi::ConsoleCommandCallback callback);
  void AddFrameworkRconCommand(const std::string& name, RconHandler handler);

  // Runs the command whose name is the line's first word (case ignored) with
  // the whole line. False when no command has that name.
  bool DispatchConsole(const std::string& line, APlayerController* caller = nullptr);
  // The same over RCON, for the packet of an authenticated client (the
  // framework's hook on the game's packet processing): a plugin's command
  // gets the connection, the packet and the world; `reply` gets what the
  // framework's own command answered ("" for a plugin's command). False when
  // no command has the name of the packet body's first word. The packet is
  // the game's record (sim/game/records.h), read as the framework reads it.
  bool DispatchRcon(RCONClientConnection* connection, sim::rec::RCONPacket* packet, UWorld* world,
                    std::string& reply);

  // Runs every tick callback registered when the tick began, in registration
  // order. Allocates nothing.
  void RunTick(float delta_seconds);

  // Empties the callbacks of every entry of the module, then takes them out.
  void RemoveAllFromModule(int module);

  std::vector<std::string> ConsoleCommandNames() const;
  std::vector<std::string> RconCommandNames() const;
  std::vector<std::string> TickCallbackIds() const;

  void Clear();

 private:
  struct Command {
    std::string name;
    int module = 0;
    bool framework_own = false;  // plugins.load, plugins.unload
    AsaApi::ConsoleCommandCallback console;
    std::function<void(RCONClientConnection*, RCONPacket*, UWorld*)> rcon;
    RconHandler framework_rcon;
    Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;
    ~Command();
    bool Callable() const { return console || rcon || framework_rcon; }
  };
  struct Tick {
    std::string id;
    int module = 0;
    AsaApi::TickCallback callback;
    bool removed = false;
    Tick() = default;
    Tick(const Tick&) = delete;
    Tick& operator=(const Tick&) = delete;
    ~Tick();
  };
  using CommandList = std::vector<std::shared_ptr<Command>>;

  void Compact();
  bool Remove(CommandList& list, const std::string& name);
  // The entry of `list` the line names, from a copy of the list.
  static std::shared_ptr<Command> Find(const CommandList& snapshot, const std::string& line);

  Faults& faults_;
  CommandList commands_;
  CommandList rcon_commands_;
  std::vector<std::unique_ptr<Tick>> ticks_;
  int ticking_depth_ = 0;
};

}  // namespace simfw
