// The simulated framework: one process-wide instance holding the key
// registry, hooks, commands and ticks, utilities, log sinks, the engine
// allocator, the clock and the fault table. The sdk's functions are answered
// from here.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sim/framework/api_utils.h"
#include "sim/framework/clock.h"
#include "sim/framework/commands.h"
#include "sim/framework/engine_memory.h"
#include "sim/framework/faults.h"
#include "sim/framework/game_build.h"
#include "sim/framework/hooks.h"
#include "sim/framework/key_registry.h"
#include "sim/framework/log_sinks.h"
#include "sim/framework/modules.h"

namespace simfw {

class ASAAPI_API Framework {
 public:
  Framework();

  Modules modules;
  KeyRegistry registry;
  GameBuild build;
  Faults faults;
  SimHooks hooks;
  SimCommands commands;
  SimApiUtils utils;
  LogSinks logs;
  EngineMemory memory;
  SimClock clock;

  // Back to a fresh framework: no keys, hooks, commands, ticks, messages,
  // faults or log records; the clock at its start; the allocator's accounting
  // emptied (the previous world must have been torn down first). The
  // framework's own commands are registered again.
  void Reset();

  // The framework's loading and unloading of a plugin by name, as its
  // plugins.load and plugins.unload commands do it; whoever plays the server
  // provides them. Each answers the reply the framework gives ("Successfully
  // unloaded plugin", "Failed to unload plugin - ...").
  std::function<std::string(const std::string& name)> load_plugin;
  std::function<std::string(const std::string& name)> unload_plugin;

  // What the framework does around a plugin's Plugin_Unload before it frees
  // the library (API 2.03, PluginManager::UnloadPlugin): every command and
  // callback of the module emptied and removed, every hook of the module
  // taken out. Fault-able as "ICommands.RemoveAllCommandsFromModule" when
  // `faultable`: a failure (in every fault mode) throws before anything is
  // removed, as the framework's unload then stops before it frees the
  // library.
  void ForgetModule(int module, bool faultable = false);

  // What the framework's own console commands answered the admin, in order;
  // `on_reply` sees each as it is sent.
  std::vector<std::string> replies;
  std::function<void(const std::string&)> on_reply;
  void Reply(std::string text);

 private:
  void RegisterOwnCommands();
};

ASAAPI_API Framework& Fw();

}  // namespace simfw
