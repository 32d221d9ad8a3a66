// Taking a pod that a capture placed in the player's inventory back out,
// when the capture gives up after placing it while the creature is still in
// the world: a creature must never be in its pod and in the world at once.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <optional>

#include "asa/engine_types.h"

namespace ck::capture {

// Takes the pod out of the inventory: out of its slots and removed by the
// game through its id, when this game build can remove items and the id
// leads the game to this pod. A pod the inventory still lists afterwards
// (the removal failed, was refused or is off on this build) is emptied where
// it is instead: every custom data record it holds is released, the
// creature's with the rest, so that it holds nothing. The pod is not touched
// after the game removed it. Never throws; a removal that threw is written as
// a warn line.
void TakePodBack(UPrimalInventoryComponent* inventory, UPrimalItem* pod) noexcept;

// Whether the creature is still in the world after the game was asked to
// take it out (a destroy, or the cryopod mod's capture). A destroy that
// answered is believed (`destroyed`). Otherwise the creature's weak reference
// tells, read a second time when the first read does not find it: a read
// that failed must not pass for a creature gone, which would leave it in the
// world and in its pod. When neither read finds it the creature counts as
// gone and its pod stays. A failed read is a warn line. Never throws.
bool CreatureRemains(const std::optional<bool>& destroyed, const FWeakObjectPtr& creature_ref) noexcept;

}  // namespace ck::capture
