// Taking the plugin's emptied temporary pods out of a game inventory. Nothing
// else ever leaves: an item without the temporary-pod marker, or a pod that
// still holds its creature, stays where it is whoever asks. Each removal
// first takes the pod out of its slot and clears the slot-bar entries that
// point at it, then asks the game to remove it by its id, which the game
// resolves to the first item carrying it. A removal counts only when the
// inventory no longer lists the pod afterwards, whatever the game answered:
// then, and only then, it is counted in the status and written to the
// capture journal ("podRemoved", with the Removal's player, creature and
// label), once. A pod the game answered "removed" and kept is told in one
// warn line and tried again quietly by later passes. Nothing else here logs
// or catches exceptions.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <cstddef>

#include "asa/engine_types.h"
#include "journal/identities.h"

namespace ck::temporary_pods {

// Who a removal is for and what made it, for the capture journal's
// "podRemoved" line: the player whose inventory held the pod (none: the line
// names no player), the pass, scan or release that removed it, and the
// creature that left the pod when the remover knows it.
struct Removal {
  AShooterPlayerController* controller = nullptr;
  const char* by = "";
  const journal::CreatureSnapshot* creature = nullptr;
};

// How many pods the game kept after answering their removal are remembered
// (each is told once in a warn line; one past this may be told again).
inline constexpr std::size_t kMostKeptPodsRemembered = 256;

// Whether two item ids are the same id (the engine's type has no comparison).
inline bool SameItemId(const FItemNetID& a, const FItemNetID& b) {
  return a.ItemID1 == b.ItemID1 && a.ItemID2 == b.ItemID2;
}

// The first item of the inventory carrying the id, or null.
UPrimalItem* FindItemById(UPrimalInventoryComponent* inventory, FItemNetID id);

// Removes the first item carrying the id when it is an emptied temporary
// pod; the game's result, false when there is no such item or it is no
// emptied temporary pod (nothing is then changed).
bool RemoveItemById(UPrimalInventoryComponent* inventory, FItemNetID id, const Removal& removal = {});

// Removes a given emptied temporary pod the inventory lists (among its items
// or its tribute items, which lose every entry pointing at it); the game's
// result, false when the inventory does not list it, it is no emptied
// temporary pod, or an earlier item carries its id (the game would remove
// that one instead).
bool RemoveItemObject(UPrimalInventoryComponent* inventory, UPrimalItem* item, const Removal& removal = {});

bool InventoryListsItem(UPrimalInventoryComponent* inventory, UPrimalItem* item);

// Removes every temporary pod whose creature has left it and whose id leads
// the game to it; the number that left. The walk ends whatever the game
// answers: a pod the game reports removed but still lists is passed over.
int SweepEmptyTemporaryPods(UPrimalInventoryComponent* inventory, const Removal& removal = {});

// The capacity a TArray of 8-byte entries shrinks to after a removal, or the
// same capacity when the engine keeps it.
int32 ShrunkCapacity(int32 count, int32 capacity);

}  // namespace ck::temporary_pods
