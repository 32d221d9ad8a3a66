// Console commands and tick callbacks.
//
// A console command is dispatched on the first word of the typed line,
// compared without regard to case; its callback receives the whole line.
// Tick callbacks run on every server tick with the tick's delta in seconds; a
// callback may remove itself while it runs.
#pragma once

#include <functional>

#include "asa/engine_types.h"

namespace AsaApi {

using ConsoleCommandCallback = std::function<void(APlayerController*, FString*, bool)>;
using TickCallback = std::function<void(float)>;

class ICommands {
 public:
  virtual ~ICommands() = default;
  virtual void AddConsoleCommand(const FString& command, const ConsoleCommandCallback& callback) = 0;
  virtual void AddOnTickCallback(const FString& id, const TickCallback& callback) = 0;
  // True when a command of that name was registered and is now gone.
  virtual bool RemoveConsoleCommand(const FString& command) = 0;
  // True when a tick callback of that id was registered and is now gone.
  virtual bool RemoveOnTickCallback(const FString& id) = 0;
};

ASAAPI_API ICommands& GetCommands();

}  // namespace AsaApi
