// Chat, console and RCON commands, tick, timer and chat-message callbacks
// (the framework's ICommands).
//
// A console command is dispatched on the first word of the typed line,
// compared without regard to case; its callback receives the whole line.
// Tick callbacks run on every server tick with the tick's delta in seconds; a
// callback may remove itself while it runs. The framework keeps its own
// copies of the callbacks it is given.
//
// Virtual slots, in the framework's order (API 2.03): 0 destructor, 1 AddChatCommand,
// 2 AddConsoleCommand, 3 AddRconCommand, 4 AddOnTickCallback,
// 5 AddOnTimerCallback, 6 AddOnChatMessageCallback, 7 RemoveChatCommand,
// 8 RemoveConsoleCommand, 9 RemoveRconCommand, 10 RemoveOnTickCallback,
// 11 RemoveOnTimerCallback, 12 RemoveOnChatMessageCallback.
#pragma once

#include <functional>

#include "asa/engine_types.h"

struct RCONClientConnection;

namespace AsaApi {

using ConsoleCommandCallback = std::function<void(APlayerController*, FString*, bool)>;
using TickCallback = std::function<void(float)>;

class ARK_API ICommands {
 public:
  virtual ~ICommands() = default;

  virtual void AddChatCommand(const FString& command,
                              const std::function<void(AShooterPlayerController*, FString*, int, int)>&
                                  callback) = 0;
  virtual void AddConsoleCommand(const FString& command, const ConsoleCommandCallback& callback) = 0;
  virtual void AddRconCommand(const FString& command,
                              const std::function<void(RCONClientConnection*, RCONPacket*, UWorld*)>& callback) = 0;
  virtual void AddOnTickCallback(const FString& id, const TickCallback& callback) = 0;
  virtual void AddOnTimerCallback(const FString& id, const std::function<void()>& callback) = 0;
  virtual void AddOnChatMessageCallback(
      const FString& id,
      const std::function<bool(AShooterPlayerController*, FString*, int, int, bool, bool)>& callback) = 0;

  // Each is true when something of that name or id was registered and is now gone.
  virtual bool RemoveChatCommand(const FString& command) = 0;
  virtual bool RemoveConsoleCommand(const FString& command) = 0;
  virtual bool RemoveRconCommand(const FString& command) = 0;
  virtual bool RemoveOnTickCallback(const FString& id) = 0;
  virtual bool RemoveOnTimerCallback(const FString& id) = 0;
  virtual bool RemoveOnChatMessageCallback(const FString& id) = 0;
};

ARK_API ICommands& GetCommands();

}  // namespace AsaApi
