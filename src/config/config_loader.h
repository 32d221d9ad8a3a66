// Loading the settings from "ArkApi/Plugins/Cradlekeep/config.json",
// relative to the server's working directory, or, when that file is not
// there, from the config.json beside the installed plugin (a server started
// from another folder still finds its settings).
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

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
// The working directory's file comes first; only when it cannot be opened is
// "config.json" in `plugin_folder` read (an empty folder: none), and the
// loaded line then names it: "Cradlekeep config loaded (beside the plugin:
// <path>)". Neither file gives the defaults, with a warn line naming every
// path tried; a file that is not
// valid JSON throws the JSON library's exception (its text gives the line
// and column), or ConfigError in words for a comma before a closing bracket
// and for a file that is not UTF-8; a setting of the wrong type throws
// ConfigError naming it; each leaves `live` untouched. A file in UTF-16 (as
// Notepad saves "Unicode") is read as such, with an info line; a UTF-8
// byte-order mark is skipped. Null values and a root that is no object leave
// the defaults in place. A key the loader does not read (at the root or in
// Messages) is ignored with a warn line naming it and the setting it most
// likely meant, e.g. "Cradlekeep config ignores unknown setting `CaptureMod`
// (did you mean `CaptureMode`?)"; those lines are also appended to `notes`
// when given. Logs "Cradlekeep config loaded" (with every setting when
// DebugLogging is on).
// Returns where the settings came from: the file's path ("<path> (beside
// the plugin)" for the second one), or "defaults (no file at <path>)".
// With `missing_fails` (a reload), neither file throws ConfigError naming
// every path tried, and `live` stays as it is: the running settings are not
// traded for the defaults because a file was moved.
std::string LoadConfiguration(PluginConfig& live, ClassCache& classes, const std::filesystem::path& plugin_folder,
                              std::vector<std::string>* notes = nullptr, bool missing_fails = false);

// As above, with the folder the framework installed this plugin in (none
// when the plugin does not sit in the framework's plugin folders).
std::string LoadConfiguration(PluginConfig& live, ClassCache& classes, std::vector<std::string>* notes = nullptr,
                              bool missing_fails = false);

// The folder of the config file a load reads: the working directory's
// ArkApi/Plugins/Cradlekeep when its config.json is there, else the plugin's
// own folder when one is there, else the working directory's folder (where
// the defaults' file would be). The journal's default folder is beside it.
std::filesystem::path ConfigFolder();

}  // namespace ck::config
