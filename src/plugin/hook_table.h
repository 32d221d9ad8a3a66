// The hooks of the plugin (thirteen, of which a game build has at most twelve:
// the two forms of the mounted-slot clearing), in install order, with the condition under
// which each is installed.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <string>
#include <vector>

namespace ck::plugin {

// Installs the hooks the settings ask for, in order: eight always, the Items+
// net-exec hook when ItemsPlusCompatibility is on, the three temporary-pod
// hooks when the capture mode is vanilla and TemporaryVanillaCryopods is on.
// A hook whose part the running game build turned off is left out.
void InstallConfiguredHooks();

// Disables every hook that was installed, in install order.
void UninstallAllHooks();

// After the settings changed (a reload): installs the hooks the settings now
// ask for that are not installed, disables the installed ones they no
// longer ask for, and leaves the rest alone. A hook the framework would not
// disable stays listed as installed (a warn line says so), so that it is
// never installed twice. Returns what did not follow the settings, one text
// per hook ("the hook on <key> stays installed", "the hook on <key> is not
// installed"); empty when everything did. A hook the framework dropped
// (another plugin's removal) is forgotten and, when the settings still want
// it, installed again: an info line "Cradlekeep hook installed again: <key>"
// and its key in `*mended` (when given).
std::vector<std::string> FollowConfiguredHooks(std::vector<std::string>* mended = nullptr);

}  // namespace ck::plugin
