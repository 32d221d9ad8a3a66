// The exported capture for another plugin's upload command.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include "asa/engine_types.h"

namespace ck::plugin {

// True when the plugin leaves nothing attached behind (or its capture on
// transfer is switched off); false when the player has no character, a
// capture failed or was held back while companions are still attached, an
// error occurred, or the plugin did not start (its start-up failed, or the
// running game build leaves it nothing to work with), in which case it makes
// no call at all. Never throws.
bool CaptureForTransfer(AShooterPlayerController* controller);

}  // namespace ck::plugin
