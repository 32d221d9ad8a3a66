// Every way a transfer starts, as far as the plugin's capture goes: the
// hooked triggers, the observation of the game emptying a companion slot,
// and another plugin's upload command. Game thread only.
#pragma once

#include <string>
#include <string_view>

#include "asa/engine_types.h"

namespace ck::transfer {

// With Enabled and CaptureOnTransferButton on and a controller: traces the
// trigger, collects the pawn's companions (with `retrieve_previous_secondary`
// also the pet the game already moved to the previous-secondary slot) and,
// when there are any and the pawn's cooldown lets it through, captures them.
// `label` is what the trace line names, `trigger` the word the capture
// journal writes. Exceptions pass to the caller.
void TriggerCaptureForController(AShooterPlayerController* controller, const std::string& label,
                                 std::string_view trigger, bool retrieve_previous_secondary);

// When the game empties a slot on a player character while the player is
// transferring or at an upload terminal, the companions still attached
// (with `check_previous` also the one in the previous slot) are captured
// before the game goes on. Nothing happens while the plugin clears a slot
// itself on this thread. Enabled is not consulted. Exceptions pass to the
// caller.
void ObserveShoulderDetach(APrimalCharacter* pawn, const std::string& label, std::string_view trigger, bool secondary,
                           bool check_previous);

// Another plugin's upload command: with Enabled and CaptureOnTransferButton
// on and a controller, captures the pawn's companions. True when nothing
// attached is left behind (or the capture on transfer is off); false when
// the player has no character (no pawn, or a pawn of another class such as a
// spectator's), a capture failed, or the cooldown held one back while
// companions are still attached. Logs "Cradlekeep transfer trigger fired:
// external /upload command" before a capture. Exceptions pass to the caller.
[[nodiscard]] bool CaptureForUploadCommand(AShooterPlayerController* controller);

}  // namespace ck::transfer
