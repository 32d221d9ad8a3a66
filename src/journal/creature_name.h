// The name a player is told for a creature: in the capture's message, and in
// every journal line about the creature, so that a capture line and a later
// release line name it alike.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <string>

#include "asa/engine_types.h"

namespace ck::journal {

// The creature's current name as the player sees it (looked up with the
// player's controller), else its descriptive name (a name lookup that throws
// counts as empty), else from its class name ("Autumn Drakeling",
// "Drakeling", "Tidepup", or the class name), else "shoulder pet". Without
// the name lookups on this game build the class name serves.
std::string CompanionDisplayName(APrimalDinoCharacter* creature, AShooterPlayerController* controller);

}  // namespace ck::journal
