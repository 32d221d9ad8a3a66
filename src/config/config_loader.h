// Loading the settings from "ArkApi/Plugins/Cradlekeep/config.json",
// relative to the server's working directory.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include "config/class_cache.h"
#include "config/plugin_config.h"

namespace ck::config {

inline constexpr const char* kConfigPath = "ArkApi/Plugins/Cradlekeep/config.json";

// Empties `classes`, then reads the file into `live`: JSON with comments allowed.
// A missing file gives the defaults (with a warn line); a file that is not
// valid JSON, or a setting of the wrong type, throws the JSON library's
// exception and leaves `live` untouched. Unknown keys, null
// values and a root that is no object leave the defaults in place. Logs
// "Cradlekeep config loaded" (with every setting when DebugLogging is on).
void LoadConfiguration(PluginConfig& live, ClassCache& classes);

}  // namespace ck::config
