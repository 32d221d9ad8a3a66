// Start-up and tear-down of the plugin, in their fixed order.
#pragma once

namespace ck::plugin {

// Creates the logger, then inside one error guard makes the plugin's state
// (state/plugin_state.h) afresh, runs every start-up step and announces the
// version. A failure is logged as "Cradlekeep failed to load: {}" and ends
// start-up; what was done stays done, and a reload completes the rest.
// Settings that do not load, or a game build that leaves the plugin nothing
// to do, leave it idle with only its admin commands registered, so that an
// admin can read why (and reload a mended file).
// Never throws. Game thread only.
void Startup();

// The start-up steps that follow loaded settings on a usable game build,
// each run once in the plugin's life (the state records which are done):
// the hooks, the debug commands, the admin commands, the recurring scan's
// tick; then the "Cradlekeep loaded version" line, and the plugin counts as
// started. A reload calls it to complete a start that stopped part-way (the
// settings did not load, or a step threw): only the steps not yet done run.
// Exceptions of the framework pass to the caller's guard, and the step that
// threw stays to be done.
void CompleteStartup();

// Removes the ticks, commands and hooks (each step guards itself),
// destroys the plugin's state and logs "Cradlekeep unloaded". Never throws.
// Game thread only.
void Teardown();

}  // namespace ck::plugin
