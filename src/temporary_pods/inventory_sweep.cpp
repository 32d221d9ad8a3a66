#include "temporary_pods/inventory_sweep.h"

#include "state/plugin_state.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "host/framework/engine_allocator.h"
#include "host/game/catalogue.h"
#include "journal/identities.h"
#include "journal/journal.h"
#include "core/log.h"
#include "temporary_pods/custom_item_data.h"

namespace ck::temporary_pods {

namespace {

TArray<UPrimalItem*>* ItemsOf(UPrimalInventoryComponent* inventory) { return game::kInventoryItems.In(inventory); }

TArray<UPrimalItem*>* TributeOf(UPrimalInventoryComponent* inventory) {
  return game::kInventoryTributeItems.In(inventory);
}

bool Lists(TArray<UPrimalItem*>* array, UPrimalItem* item) {
  for (int32 i = 0; i < array->Num(); ++i) {
    if ((*array)[i] == item) return true;
  }
  return false;
}

void TakeOutOfSlots(UPrimalInventoryComponent* inventory, UPrimalItem* item) {
  game::kItemRemoveFromSlot(item, true, false);
  auto* slots = game::kInventoryItemSlots.In(inventory);
  for (int32 i = 0; i < slots->Num(); ++i) {
    if ((*slots)[i] == item) (*slots)[i] = nullptr;
  }
}

// The emptied temporary pods the game answered "removed" and kept, by id:
// each was told once in a warn line and is tried again quietly.
std::vector<FItemNetID>& KeptPods() { return state::Current().kept_pods; }

bool Forget(std::vector<FItemNetID>& ids, FItemNetID id) {
  return std::erase_if(ids, [&](const FItemNetID& kept) { return SameItemId(kept, id); }) > 0;
}

void JournalRemoval(const Removal& removal, FItemNetID id) {
  journal::Line line("podRemoved");
  journal::Add(line, journal::SnapPlayer(removal.controller));
  if (removal.creature != nullptr) journal::Add(line, *removal.creature);
  journal::AddItem(line, "item", id);
  line.Text("by", removal.by);
  journal::Record(line);
}

// A pod the game answered "removed" and still lists: one warn line the
// first time, nothing on later tries.
void TellKept(FItemNetID id, const Removal& removal) {
  std::vector<FItemNetID>& kept = KeptPods();
  if (std::any_of(kept.begin(), kept.end(), [&](const FItemNetID& k) { return SameItemId(k, id); })) return;
  if (kept.size() >= kMostKeptPodsRemembered) kept.erase(kept.begin());
  kept.push_back(id);
  log::Warn(
      "Cradlekeep the game kept temporary vanilla cryopod itemId=({}, {}) after answering its removal ({}); it is "
      "tried again on later passes",
      id.ItemID1, id.ItemID2, removal.by);
}

// The game's removal of a listed pod by its id. True only when the pod has
// left the inventory; that removal is counted and journalled here, once,
// before the inventory's refresh (which may throw).
bool RemoveAndRefresh(UPrimalInventoryComponent* inventory, UPrimalItem* item, FItemNetID id,
                      const Removal& removal) {
  const bool answered = game::kInventoryRemoveItem(inventory, &id, false, false, true, false);
  const bool gone = answered && !InventoryListsItem(inventory, item);
  if (gone) {
    ++state::Current().counters.pods_removed;
    Forget(KeptPods(), id);
    JournalRemoval(removal, id);
  } else if (answered) {
    TellKept(id, removal);
  }
  game::kInventoryRefresh(inventory);
  return gone;
}

// The only items the plugin ever takes out of an inventory: its own
// temporary pods, once their creature has left.
bool EmptiedTemporaryPod(UPrimalItem* item) { return IsTemporaryPod(item) && !HasCreaturePayload(item); }

// A listed item whose id leads the game to it: out of its slots, then the
// game's removal by id.
bool RemoveListedItem(UPrimalInventoryComponent* inventory, UPrimalItem* item, FItemNetID id,
                      const Removal& removal) {
  TakeOutOfSlots(inventory, item);
  return RemoveAndRefresh(inventory, item, id, removal);
}

}  // namespace

int32 ShrunkCapacity(int32 count, int32 capacity) {
  const int64 spare = static_cast<int64>(capacity) - count;
  const bool much_spare = spare >= 2048 || 3 * static_cast<int64>(count) < 2 * static_cast<int64>(capacity);
  const bool worth_it = spare > 64 || count == 0;
  return much_spare && worth_it && count != capacity ? count : capacity;
}

UPrimalItem* FindItemById(UPrimalInventoryComponent* inventory, FItemNetID id) {
  if (inventory == nullptr) return nullptr;
  TArray<UPrimalItem*>* items = ItemsOf(inventory);
  for (int32 i = 0; i < items->Num(); ++i) {
    UPrimalItem* item = (*items)[i];
    if (item != nullptr && SameItemId(game::kItemID.Read(item), id)) return item;
  }
  return nullptr;
}

bool RemoveItemById(UPrimalInventoryComponent* inventory, FItemNetID id, const Removal& removal) {
  UPrimalItem* item = FindItemById(inventory, id);
  if (item == nullptr || !EmptiedTemporaryPod(item)) return false;
  return RemoveListedItem(inventory, item, id, removal);
}

bool InventoryListsItem(UPrimalInventoryComponent* inventory, UPrimalItem* item) {
  if (inventory == nullptr || item == nullptr) return false;
  return Lists(ItemsOf(inventory), item) || Lists(TributeOf(inventory), item);
}

bool RemoveItemObject(UPrimalInventoryComponent* inventory, UPrimalItem* item, const Removal& removal) {
  if (!InventoryListsItem(inventory, item) || !EmptiedTemporaryPod(item)) return false;
  const FItemNetID id = game::kItemID.Read(item);
  // The game removes by id, the first of the inventory's items carrying it
  // first: another item with the same id would go in the pod's place.
  UPrimalItem* first = FindItemById(inventory, id);
  if (first != nullptr && first != item) return false;
  TakeOutOfSlots(inventory, item);
  TArray<UPrimalItem*>* tribute = TributeOf(inventory);
  int32 index = 0;
  while (index < tribute->Num()) {
    if ((*tribute)[index] != item) {
      ++index;
      continue;
    }
    std::memmove(&(*tribute)[index], &(*tribute)[index] + 1,
                 sizeof(UPrimalItem*) * static_cast<std::size_t>(tribute->ArrayNum - index - 1));
    --tribute->ArrayNum;
    const int32 capacity = ShrunkCapacity(tribute->ArrayNum, tribute->ArrayMax);
    if (capacity != tribute->ArrayMax) {
      tribute->Data = static_cast<UPrimalItem**>(
          host::EngineRealloc(tribute->Data, sizeof(UPrimalItem*) * static_cast<uint64>(capacity), 8));
      tribute->ArrayMax = capacity;
    }
  }
  return RemoveAndRefresh(inventory, item, id, removal);
}

int SweepEmptyTemporaryPods(UPrimalInventoryComponent* inventory, const Removal& removal) {
  if (inventory == nullptr) return 0;
  int removed = 0;
  const MarkerTest marker;
  const TArray<UPrimalItem*>* items = ItemsOf(inventory);
  // Every turn either moves past the item at `index` or finds the list
  // shorter, so the walk ends whatever the game answers. The game may report
  // a removal that did not happen, and item ids are not always unique on a
  // live server.
  int32 index = 0;
  while (index < items->Num()) {
    UPrimalItem* item = (*items)[index];
    if (!marker.IsTemporaryPod(item) || HasCreaturePayload(item)) {
      ++index;
      continue;
    }
    // The game removes by id, taking the first item that carries it: the pod
    // goes only when its id leads back to it, here.
    const FItemNetID id = game::kItemID.Read(item);
    const int32 count = items->Num();
    if (FindItemById(inventory, id) == item && RemoveListedItem(inventory, item, id, removal) && items->Num() < count &&
        (index >= items->Num() || (*items)[index] != item)) {
      ++removed;  // gone: the item after it has moved up to `index`
      continue;
    }
    ++index;
  }
  return removed;
}

}  // namespace ck::temporary_pods
