// Putting a freshly made pod into the player's inventory, also while a
// transfer holds the inventory locked.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include "asa/engine_types.h"

namespace ck::capture {

// Tries the plain add; then, when the controller is transferring, the
// extended add with the transfer lock lifted for that one call; then the
// item's forced add-to-inventory with the lock lifted. After each attempt it
// checks whether the pod really arrived. Returns the item now in the
// inventory (possibly another item than the one given), or null: silently
// for a null pawn, controller or item; with a warn line when the pawn has
// no inventory. The lock (the controller's transferring byte and the
// inventory's can-inventory bit) is restored after each lifted call, also
// when that call throws. When telling the game that the pod arrived fails
// (its update and refresh calls), the pod is taken back out of the
// inventory (TakePodBack) and the failure goes on.
[[nodiscard]] UPrimalItem* InsertPodIntoInventory(AShooterCharacter* pawn, AShooterPlayerController* controller, UPrimalItem* item);

// True when the inventory lists the item among its items, or the item's
// owner inventory is this inventory (asked of the game only when the list
// does not hold it).
[[nodiscard]] bool IsInInventory(UPrimalItem* item, UPrimalInventoryComponent* inventory);

}  // namespace ck::capture
