// Start-up and tear-down of the plugin, in their fixed order.
#pragma once

namespace ck::plugin {

// Creates the logger, then inside one error guard runs every start-up step
// and announces the version. A failure is logged as "Cradlekeep failed to
// load: {}" and ends start-up; what was done stays done. Never throws.
void Startup();

// Runs every tear-down step (each guards itself) and logs "Cradlekeep
// unloaded". Never throws.
void Teardown();

}  // namespace ck::plugin
