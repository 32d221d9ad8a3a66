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

// Tells the hooks the framework dropped (state::TellLostHooks), takes them
// out of InstalledHooks() and returns their keys, in install order: a later
// InstallHook may put them in front of their functions again.
std::vector<std::string> ForgetLostHooks();

// The status line of the hooks: "hooks: <n> installed", n counting only the
// ones the framework's chain holds, with "; lost: <key>, ... (Cradlekeep.Reload
// installs them again)" when the framework dropped some. Tells a loss not yet
// told, as the tick would.
std::string HooksLine();

// Removes every installed hook, in install order, and forgets them.
void RemoveInstalledHooks() noexcept;

}  // namespace ck::plugin
