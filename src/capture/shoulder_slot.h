// Clearing a captured companion's slot on the pawn with the game's own
// slot-clearing functions, without the plugin observing its own clearing.
#pragma once

#include "asa/engine_types.h"
#include "capture/attached_companion.h"

namespace ck::capture {

// True on this thread while the plugin itself clears a slot.
bool SlotClearingInProgress();

// For a mounted companion: APrimalCharacter.ClearMountedDino(secondary,
// false); for a carried one: APrimalCharacter.ClearCarryingDino(false, false);
// both, mounted first, when both flags are set; nothing for a null pawn.
// SlotClearingInProgress is set meanwhile and restored to its previous value
// on every way out; exceptions of the game pass through.
void ClearShoulderSlot(APrimalCharacter* pawn, const AttachedCompanion& companion);

}  // namespace ck::capture
