// The vanilla path: the game's own cryopod, filled with the creature's cryo
// data, marked as one of the plugin's temporary pods, placed in the player's
// inventory, made uploadable at once; then the slot is cleared and the
// creature destroyed.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include "asa/engine_types.h"
#include "capture/attached_companion.h"

namespace ck::capture {

// True when the pod is in the player's inventory and the creature has been
// destroyed. On every failure the player gets the CaptureFailed message, the
// creature stays in the world and its slot is not cleared. Exceptions of the
// game pass through.
[[nodiscard]] bool CaptureWithVanillaCryopod(AShooterCharacter* pawn, AShooterPlayerController* controller,
                               const AttachedCompanion& companion);

}  // namespace ck::capture
