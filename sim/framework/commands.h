// The framework's console commands and tick callbacks.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "asa/commands.h"
#include "sim/framework/faults.h"

namespace simfw {

class ASAAPI_API SimCommands final : public AsaApi::ICommands {
 public:
  explicit SimCommands(Faults& faults) : faults_(faults) {}

  // Each is fault-able under "ICommands.<operation>" with the name or id as
  // target; a failing add registers nothing, a failing remove removes nothing.
  void AddConsoleCommand(const FString& command, const AsaApi::ConsoleCommandCallback& callback) override;
  void AddOnTickCallback(const FString& id, const AsaApi::TickCallback& callback) override;
  bool RemoveConsoleCommand(const FString& command) override;
  bool RemoveOnTickCallback(const FString& id) override;

  // The kinds the plugin does not use are accepted and forgotten.
  void AddChatCommand(const FString&,
                      const std::function<void(AShooterPlayerController*, FString*, int, int)>&) override {}
  void AddRconCommand(const FString&,
                      const std::function<void(RCONClientConnection*, RCONPacket*, UWorld*)>&) override {}
  void AddOnTimerCallback(const FString&, const std::function<void()>&) override {}
  void AddOnChatMessageCallback(
      const FString&,
      const std::function<bool(AShooterPlayerController*, FString*, int, int, bool, bool)>&) override {}
  bool RemoveChatCommand(const FString&) override { return false; }
  bool RemoveRconCommand(const FString&) override { return false; }
  bool RemoveOnTimerCallback(const FString&) override { return false; }
  bool RemoveOnChatMessageCallback(const FString&) override { return false; }

  // Runs the command whose name is the line's first word (case ignored) with
  // the whole line. False when no command has that name.
  bool DispatchConsole(const std::string& line, APlayerController* caller = nullptr);

  // Runs every tick callback registered when the tick began, in registration
  // order, skipping those removed meanwhile. Allocates nothing.
  void RunTick(float delta_seconds);

  std::vector<std::string> ConsoleCommandNames() const;
  std::vector<std::string> TickCallbackIds() const;

  void Clear();

 private:
  struct Command {
    std::string name;
    AsaApi::ConsoleCommandCallback callback;
  };
  struct Tick {
    std::string id;
    AsaApi::TickCallback callback;
    bool removed = false;
  };
  void Compact();

  Faults& faults_;
  std::vector<Command> commands_;
  std::vector<std::unique_ptr<Tick>> ticks_;
  int ticking_depth_ = 0;
};

}  // namespace simfw
