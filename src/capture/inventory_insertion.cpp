#include "capture/inventory_insertion.h"

#include <exception>

#include "capture/pod_take_back.h"
#include "core/boundary.h"
#include "host/game/catalogue.h"
#include "host/engine/weak_pointer.h"
#include "state/plugin_state.h"
#include "core/log.h"

namespace ck::capture {

namespace {

// Lifts the transfer inventory lock for the lifetime of the object: the
// transferring byte is cleared and the can-inventory bit set; both get their
// saved values back at the end, whatever happened in between.
class LiftedTransferLock {
 public:
  LiftedTransferLock(AShooterPlayerController* controller, UPrimalInventoryComponent* inventory)
      : controller_(controller),
        inventory_(inventory),
        transferring_(game::kPlayerControllerIsTransferringCharacter.Read(controller)),
        can_inventory_(game::kInventoryCanInventoryItems.Read(inventory)) {
    game::kPlayerControllerIsTransferringCharacter.Write(controller_, 0);
    game::kInventoryCanInventoryItems.Write(inventory_, true);
  }
  ~LiftedTransferLock() {
    game::kInventoryCanInventoryItems.Write(inventory_, can_inventory_);
    game::kPlayerControllerIsTransferringCharacter.Write(controller_, transferring_);
  }
  LiftedTransferLock(const LiftedTransferLock&) = delete;
  LiftedTransferLock& operator=(const LiftedTransferLock&) = delete;

 private:
  AShooterPlayerController* controller_;
  UPrimalInventoryComponent* inventory_;
  uint8 transferring_;
  bool can_inventory_;
};

// Tells the game the pod arrived. A pod the game was not told about is not
// a pod the capture can stand on: it is taken back out before the failure
// goes on, so that a vanilla pod never holds a creature that stays.
UPrimalItem* Finish(UPrimalItem* result, UPrimalInventoryComponent* inventory) {
  std::exception_ptr failure;
  core::Attempt(
      [&] {
        game::kItemUpdatedItem(result, true, false);
        game::kItemInventoryRefreshCheckItem(result);
        game::kInventoryRefresh(inventory);
      },
      failure);
  if (failure) {
    TakePodBack(inventory, result);
    std::rethrow_exception(failure);
  }
  return result;
}

}  // namespace

bool IsInInventory(UPrimalItem* item, UPrimalInventoryComponent* inventory) {
  if (item == nullptr || inventory == nullptr) return false;
  // The list first: reading it asks the game nothing, so a pod the
  // inventory lists is found even when the game's weak-pointer read fails.
  const auto* items = game::kInventoryItems.In(inventory);
  for (int32 i = 0; i < items->Num(); ++i) {
    if ((*items)[i] == item) return true;
  }
  return host::ResolveWeak(game::kItemOwnerInventory.In(item)) == inventory;
}

namespace {

// Runs one insertion attempt. An attempt that throws counts as one that
// failed, so that the next attempt still gets its chance: a pod must not be
// left outside the inventory because one way in broke. The first failure is
// kept, to be reported.
template <typename Attempt>
auto TryAttempt(std::exception_ptr& first_failure, Attempt attempt) -> decltype(attempt()) {
  decltype(attempt()) result{};
  core::Attempt([&] { result = attempt(); }, first_failure);
  return result;
}

// A pod got in after an attempt failed: the failure is still told.
UPrimalItem* ReportRecovered(UPrimalItem* result, const std::exception_ptr& failure) {
  if (failure) log::Warn("Cradlekeep inserted pod after an insertion attempt failed: {}", core::FailureText(failure));
  return result;
}

}  // namespace

UPrimalItem* InsertPodIntoInventory(AShooterCharacter* pawn, AShooterPlayerController* controller, UPrimalItem* item) {
  if (pawn == nullptr || controller == nullptr || item == nullptr) return nullptr;
  auto* inventory = game::kCharacterInventory.Read(pawn);
  if (inventory == nullptr) {
    log::Warn("Cradlekeep could not resolve player inventory from character field");
    return nullptr;
  }
  std::exception_ptr failure;

  // A way in that the game build lacks is passed over.
  using host::Part;
  if (state::PartOn(Part::kPlainAdd)) {
    UPrimalItem* added = TryAttempt(failure, [&] { return game::kInventoryAddItemObject(inventory, item); });
    if (added != nullptr) return ReportRecovered(Finish(added, inventory), failure);
    if (IsInInventory(item, inventory)) return ReportRecovered(Finish(item, inventory), failure);
  }

  if (state::PartOn(Part::kExtendedAdd) && game::kPlayerControllerIsTransferringCharacter.Read(controller) != 0) {
    UPrimalItem* extended = TryAttempt(failure, [&] {
      LiftedTransferLock lifted(controller, inventory);
      return game::kInventoryAddItemObjectEx(inventory, item, false, false, true, true, true, true, pawn, false,
                                             nullptr, false);
    });
    UPrimalItem* result = extended != nullptr ? extended : (IsInInventory(item, inventory) ? item : nullptr);
    if (result != nullptr) {
      log::Trace("Cradlekeep inserted pod while temporarily lifting the transfer inventory lock");
      return ReportRecovered(Finish(result, inventory), failure);
    }
  }

  if (state::PartOn(Part::kForcedAdd)) {
    TryAttempt(failure, [&] {
      LiftedTransferLock lifted(controller, inventory);
      game::kItemAddToInventory(item, inventory, false, false, nullptr, true, true, true, false, false, false);
      return true;
    });
  }
  if (IsInInventory(item, inventory)) {
    log::Trace("Cradlekeep inserted pod through the forced item inventory path");
    return ReportRecovered(Finish(item, inventory), failure);
  }
  game::kInventoryRefresh(inventory);
  if (failure) std::rethrow_exception(failure);
  return nullptr;
}

}  // namespace ck::capture
