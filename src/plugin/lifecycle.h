// Start-up and tear-down of the plugin, in their fixed order.
#pragma once

namespace ck::plugin {

// Creates the logger, then inside one error guard makes the plugin's state
// (state/plugin_state.h) afresh, runs every start-up step and announces the
// version. A failure is logged as "Cradlekeep failed to load: {}" and ends
// start-up; what was done stays done. Never throws. Game thread only.
void Startup();

// Removes the ticks, commands and hooks (each step guards itself),
// destroys the plugin's state and logs "Cradlekeep unloaded". Never throws.
// Game thread only.
void Teardown();

}  // namespace ck::plugin
