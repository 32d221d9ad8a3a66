// Loading the settings from "ArkApi/Plugins/Cradlekeep/config.json",
// relative to the server's working directory.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <stdexcept>
#include <string>

#include "config/class_cache.h"
#include "config/plugin_config.h"

namespace ck::config {

inline constexpr const char* kConfigPath = "ArkApi/Plugins/Cradlekeep/config.json";

// A setting of the wrong type, named: "setting 'CaptureCooldownSeconds' must
// be a number, got a string" (a message's setting as "Messages.Captured").
class ConfigError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Empties `classes`, then reads the file into `live`: JSON with comments allowed.
// A missing file gives the defaults (with a warn line); a file that is not
// valid JSON throws the JSON library's exception (its text gives the line
// and column), a setting of the wrong type throws ConfigError naming it;
// either leaves `live` untouched. Unknown keys, null
// values and a root that is no object leave the defaults in place. Logs
// "Cradlekeep config loaded" (with every setting when DebugLogging is on).
// Returns where the settings came from: the file's path, or "defaults (no
// file at <path>)".
std::string LoadConfiguration(PluginConfig& live, ClassCache& classes);

}  // namespace ck::config
