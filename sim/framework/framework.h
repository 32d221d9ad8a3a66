// The simulated framework: one process-wide instance holding the key
// registry, hooks, commands and ticks, utilities, log sinks, the engine
// allocator, the clock and the fault table. The sdk's functions are answered
// from here.
#pragma once

#include "sim/framework/api_utils.h"
#include "sim/framework/clock.h"
#include "sim/framework/commands.h"
#include "sim/framework/engine_memory.h"
#include "sim/framework/faults.h"
#include "sim/framework/game_build.h"
#include "sim/framework/hooks.h"
#include "sim/framework/key_registry.h"
#include "sim/framework/log_sinks.h"

namespace simfw {

class ASAAPI_API Framework {
 public:
  Framework();

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
  // emptied (the previous world must have been torn down first).
  void Reset();
};

ASAAPI_API Framework& Fw();

}  // namespace simfw
