// The vanilla path: the game's own cryopod, filled with the creature's cryo
// data, marked as one of the plugin's temporary pods, placed in the player's
// inventory, made uploadable at once; then the slot is cleared and the
// creature destroyed.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include "asa/engine_types.h"
#include "capture/attached_companion.h"
#include "capture/capture_outcome.h"

namespace ck::capture {

// Podded (with the pod's id) when the pod is in the player's inventory and
// the creature has been destroyed; otherwise left, with why. On every
// failure before the pod is placed the creature stays in the world and its
// slot is not cleared. Once the pod is placed, the steps that only make it
// uploadable at once or trace its readiness are told by a warn line when
// they fail, and the capture goes on. A creature the game does not destroy
// gets its pod taken back out of the inventory (TakePodBack), so that it is
// never in the world and in its pod at once: the companion is then left, or
// the destroy's exception goes on. Other exceptions of the game pass
// through; one from clearing the slot only after the creature is gone.
[[nodiscard]] CaptureOutcome CaptureWithVanillaCryopod(AShooterCharacter* pawn, AShooterPlayerController* controller,
                                                       const AttachedCompanion& companion);

}  // namespace ck::capture
