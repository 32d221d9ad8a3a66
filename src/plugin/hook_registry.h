// Installing hooks through the framework; the ones it accepts join the
// plugin's state as handles that know how to take themselves out again.
// Game thread only.
#pragma once

#include <string>
#include <vector>

#include "state/installed_hook.h"

namespace ck::plugin {

// The hooks installed since start-up, in install order.
std::vector<state::InstalledHook>& InstalledHooks();

// Installs `detour` in front of the game function `key`, the framework
// storing the game function's address in `*original`. On success the hook
// joins InstalledHooks() (trace "Cradlekeep hook registered: {}") and the
// call returns true; a refusal or a throw is a warn line "Cradlekeep hook
// skipped: <key> (<why>)", nothing joins and the call returns false. Never
// throws.
bool InstallHook(const std::string& key, void* detour, void** original);

// Removes every installed hook, in install order, and forgets them.
void RemoveInstalledHooks() noexcept;

}  // namespace ck::plugin
