// Taking items out of a game inventory. Each removal first takes the item
// out of its slot and clears the slot-bar entries that point at it, then
// asks the game to remove it. Nothing here logs or catches exceptions.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include "asa/engine_types.h"

namespace ck::temporary_pods {

// The first item of the inventory carrying the id, or null.
UPrimalItem* FindItemById(UPrimalInventoryComponent* inventory, FItemNetID id);

// Removes the item carrying the id; the game's result, false when there is
// no such item (nothing is then changed).
bool RemoveItemById(UPrimalInventoryComponent* inventory, FItemNetID id);

// Removes a given item the inventory lists (among its items or its tribute
// items, which lose every entry pointing at it); the game's result, false
// when the inventory does not list it.
bool RemoveItemObject(UPrimalInventoryComponent* inventory, UPrimalItem* item);

bool InventoryListsItem(UPrimalInventoryComponent* inventory, UPrimalItem* item);

// Removes every temporary pod whose creature has left it; the number removed.
int SweepEmptyTemporaryPods(UPrimalInventoryComponent* inventory);

// The capacity a TArray of 8-byte entries shrinks to after a removal, or the
// same capacity when the engine keeps it.
int32 ShrunkCapacity(int32 count, int32 capacity);

}  // namespace ck::temporary_pods
