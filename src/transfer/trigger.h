// The trigger steps shared by every way a transfer starts, and the
// observation of the game emptying a companion slot.
#pragma once

#include <string>

#include "asa/engine_types.h"

namespace ck::transfer {

// With Enabled and CaptureOnTransferButton on and a controller: traces the
// trigger, collects the pawn's companions (with `retrieve_previous_secondary`
// also the pet the game already moved to the previous-secondary slot) and,
// when there are any and the pawn's cooldown lets it through, captures them.
// Exceptions pass to the caller.
void TriggerCaptureForController(AShooterPlayerController* controller, const std::string& label,
                                 bool retrieve_previous_secondary);

// When the game empties a slot on a player character while the player is
// transferring or at an upload terminal, the companions still attached
// (with `check_previous` also the one in the previous slot) are captured
// before the game goes on. Nothing happens while the plugin clears a slot
// itself on this thread. Enabled is not consulted. Exceptions pass to the
// caller.
void ObserveShoulderDetach(APrimalCharacter* pawn, const std::string& label, bool secondary, bool check_previous);

}  // namespace ck::transfer
