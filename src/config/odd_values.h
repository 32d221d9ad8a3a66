// Setting values that load but do not mean what they seem: each is named in
// one warn line with what the plugin does with it instead. None of them is
// changed or refused here (a file that loaded before still loads the same).
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "config/plugin_config.h"

namespace ck::config {

// The warn lines for `root` (the file's JSON) and `loaded` (the settings
// read from it), in the settings' order:
//  - a root that is not an object (every setting keeps its default);
//  - `Messages` that is not an object (the default messages);
//  - an interval between 0 and 1 (the scan runs every second), a negative
//    interval (the scan is off);
//  - a negative `CaptureCooldownSeconds` (no cooldown);
//  - a `CaptureMode` none of the accepted spellings (SCS);
//  - an empty `ItemsPlusTransferNetExecCommand` or an empty entry of
//    `ItemsPlusActorNameContains` (it matches everything).
std::vector<std::string> OddValues(const nlohmann::json& root, const PluginConfig& loaded);

}  // namespace ck::config
