// The twelve hooks of the plugin, in install order, with the condition under
// which each is installed.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

namespace ck::plugin {

// Installs the hooks the settings ask for, in order: eight always, the Items+
// net-exec hook when ItemsPlusCompatibility is on, the three temporary-pod
// hooks when the capture mode is vanilla and TemporaryVanillaCryopods is on.
// A hook whose part the running game build turned off is left out.
void InstallConfiguredHooks();

// Disables every hook that was installed, in install order.
void UninstallAllHooks();

}  // namespace ck::plugin
