// Taking a placed pod back out of the player's inventory, or emptying it
// where it is.
#include "capture/pod_take_back.h"

#include "host/engine/weak_pointer.h"

#include <exception>

#include "core/boundary.h"
#include "core/log.h"
#include "host/engine/custom_item_record.h"
#include "host/game/catalogue.h"
#include "host/game/parts.h"
#include "state/plugin_state.h"
#include "temporary_pods/inventory_sweep.h"

namespace ck::capture {

namespace {

// The game's removal of the pod by its id. `removed` is what the game
// answered, set as soon as it answered: from then on the pod may be gone.
void RemoveThroughTheGame(UPrimalInventoryComponent* inventory, UPrimalItem* pod, bool& removed) {
  FItemNetID id = game::kItemID.Read(pod);
  // The game removes the first item carrying the id: when that is another
  // item, the pod stays and is emptied instead.
  if (temporary_pods::FindItemById(inventory, id) != pod) return;
  game::kItemRemoveFromSlot(pod, true, false);
  auto* slots = game::kInventoryItemSlots.In(inventory);
  for (int32 i = 0; i < slots->Num(); ++i) {
    if ((*slots)[i] == pod) (*slots)[i] = nullptr;
  }
  removed = game::kInventoryRemoveItem(inventory, &id, false, false, true, false);
  game::kInventoryRefresh(inventory);
}

// Releases every custom data record of the pod and leaves its list empty;
// the list's storage stays the item's, for the game to reuse or free.
void EmptyPod(UPrimalItem* pod) {
  TArray<FCustomItemData>& records = *game::kItemCustomItemDatas.In(pod);
  for (FCustomItemData& record : records) host::ReleaseRecord(record);
  records.ArrayNum = 0;
}

}  // namespace

void TakePodBack(UPrimalInventoryComponent* inventory, UPrimalItem* pod) noexcept {
  if (inventory == nullptr || pod == nullptr) return;
  bool removed = false;
  std::exception_ptr failure;
  if (state::PartOn(host::Part::kPodRemoval)) {
    core::Attempt([&] { RemoveThroughTheGame(inventory, pod, removed); }, failure);
  }
  if (failure) {
    log::Warn("Cradlekeep could not take the pod back out of the player's inventory: {}", core::FailureText(failure));
  }
  // The game may report a removal and keep the item all the same.
  if (removed && !temporary_pods::InventoryListsItem(inventory, pod)) return;
  // Only vanilla pods hold a creature's data while in the inventory, and
  // the vanilla capture stands on reading item data.
  if (!state::PartOn(host::Part::kMarker)) return;
  core::Contain([&] { EmptyPod(pod); },
                [](const char* what) { log::Warn("Cradlekeep could not empty the pod it took back: {}", what); });
}

bool CreatureRemains(const std::optional<bool>& destroyed, const FWeakObjectPtr& creature_ref) noexcept {
  if (destroyed) return !*destroyed;
  bool remains = false;
  for (int read = 0; read < 2 && !remains; ++read) {
    core::Contain([&] { remains = host::ResolveWeak(&creature_ref) != nullptr; },
                  [](const char* what) {
                    log::Warn("Cradlekeep could not tell whether the podded companion left the world: {}", what);
                  });
  }
  return remains;
}

}  // namespace ck::capture
