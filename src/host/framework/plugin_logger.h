// The plugin's one logger: "Cradlekeep", on the framework's shared sinks,
// pattern "%D %R [%n][%l] %v", flushed after every line (all of the plugin's
// lines are info or above).
// Game thread only: the engine allocator and the game's objects are not thread-safe.
#pragma once

namespace ck::host {

// Opens the logger on the framework's sinks, replacing any earlier one.
void CreatePluginLogger();

// True once CreatePluginLogger has run.
bool PluginLoggerReady();

}  // namespace ck::host
