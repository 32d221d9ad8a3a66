// Start-up and tear-down of the plugin, in their fixed order.
#pragma once

namespace ck::plugin {

// Creates the logger, then inside one error guard makes the plugin's state
// (state/plugin_state.h) afresh, runs every start-up step and announces the
// version. A failure is logged as "Cradlekeep failed to load: {}" and ends
// start-up; what was done stays done. Settings that do not load leave the
// plugin idle with only its admin commands registered (when the game build
// is usable), so that an admin can read why and reload a mended file.
// Never throws. Game thread only.
void Startup();

// The start-up steps that follow loaded settings on a usable game build:
// the hooks, the debug commands, the admin commands (unless registered
// already), the recurring scan's tick, the "Cradlekeep loaded version"
// line. A reload that loads the settings after a failed start-up calls it.
// Exceptions of the framework pass to the caller's guard.
void CompleteStartup(bool admin_commands_registered);

// Removes the ticks, commands and hooks (each step guards itself),
// destroys the plugin's state and logs "Cradlekeep unloaded". Never throws.
// Game thread only.
void Teardown();

}  // namespace ck::plugin
