// Finding the creatures attached to a player's pawn.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include "asa/engine_types.h"
#include "host/game/members.h"
#include "capture/attached_companion.h"

namespace ck::transfer {

// The pawn's companions, from five sources in this order: the riding slot,
// the mounted slot, the ridden creature the game reports (all mounted), the
// carried slot (carried), and the secondary mounted actor when it is a
// creature (mounted and secondary). A creature found twice is one record
// with the union of its flags, at the place where it was first found. Empty
// for a null pawn. A source whose keys the running game build lacks is
// passed over.
[[nodiscard]] capture::CompanionList CollectAttachedCompanions(AShooterCharacter* pawn);

// The creature the pawn's previous-secondary (secondary) or previous-mounted
// slot still records, or null (also when the game build lacks that slot).
[[nodiscard]] APrimalDinoCharacter* GetPreviousCompanion(APrimalCharacter* pawn, bool secondary);

// True when the list holds a record for the creature.
[[nodiscard]] bool ListHolds(const capture::CompanionList& list, const APrimalDinoCharacter* creature);

}  // namespace ck::transfer
