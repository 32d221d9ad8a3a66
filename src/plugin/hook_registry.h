// The hook registry: installs hooks through the framework, remembers which
// ones took, and disables exactly those.
#pragma once

#include <string>
#include <vector>

namespace ck::plugin {

// Keys of the hooks whose install succeeded, in install order.
const std::vector<std::string>& InstalledHookKeys();
void ClearInstalledHookKeys();

// Installs `detour` in front of the game function `key`, the framework
// storing the game function's address in `*original`. On success the key is
// recorded (trace "Cradlekeep hook registered: {}"); a refusal or a throw is
// logged at warn level and the key is not recorded. Never throws.
void InstallHook(const std::string& key, void* detour, void** original);

// Disables the hook of `key` when it is recorded as installed (a key that is
// not is passed over silently); a throw is logged at warn level. The key
// stays recorded. Never throws.
void UninstallHook(const std::string& key, void* detour);

}  // namespace ck::plugin
