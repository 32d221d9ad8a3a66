// One capture over the companion list a transfer trigger found: each
// companion goes down the configured path, and the player is told about
// every one that was captured.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "asa/engine_types.h"
#include "capture/attached_companion.h"
#include "host/game/parts.h"
#include "journal/creature_name.h"

namespace ck::capture {

// True when every companion was captured. A companion that fails does not
// stop the others, whether its path gave up (and logged why) or threw: the
// player gets CaptureFailed for it.
// Each companion's fate is told in one place: the counters, the player's
// message and one capture-journal line (its slot, `trigger`, the mode, and
// podded into which item or left and why), its player and creature read
// before the capture touches anything. An empty list sends NoShoulderPet and
// gives false. A companion whose path threw is journalled as left by a
// failure and counted as failed; after the last companion the first such
// exception (or one a path kept for after its pod was placed) passes to the
// trigger, which logs it once. A companion whose capture the running game build cannot carry
// out (its capture path or the insertion is off) is not touched: a warn line
// names what is off and the player gets CaptureFailed.
// A slot the build cannot clear does not hold the capture back: the
// companion is podded and its slot left as it is (see ClearShoulderSlot).
bool CaptureAttachedCompanions(AShooterCharacter* pawn, AShooterPlayerController* controller,
                               const CompanionList& companions, std::string_view trigger = {});

// The part that a capture in the configured mode needs and the running game
// build turned off, if any: the mode's capture path, then the insertion.
std::optional<host::Part> MissingCapturePart();

// The player-facing name of a creature (journal/creature_name.h).
using journal::CompanionDisplayName;

// The Captured setting with every "{creature}" replaced by the name, left to
// right (inserted text is not searched again); without a placeholder, a
// non-empty name is appended as " (name)". An empty setting stays empty:
// no message is sent.
std::string FormatCapturedMessage(const std::string& name);

}  // namespace ck::capture
