#include "capture/inventory_insertion.h"

#include <exception>

#include "host/game_access.h"
#include "host/weak_pointer.h"
#include "plugin/log.h"

namespace ck::capture {

namespace {

constexpr const char* kTransferring = "AShooterPlayerController.bIsTransferringCharacter";
constexpr const char* kCanInventory = "UPrimalInventoryComponent.bCanInventoryItems";

// Lifts the transfer inventory lock for the lifetime of the object: the
// transferring byte is cleared and the can-inventory bit set; both get their
// saved values back at the end, whatever happened in between.
class LiftedTransferLock {
 public:
  LiftedTransferLock(AShooterPlayerController* controller, UPrimalInventoryComponent* inventory)
      : controller_(controller),
        inventory_(inventory),
        transferring_(host::ReadField<uint8>(controller, kTransferring)),
        can_inventory_(host::ReadBitField(inventory, kCanInventory)) {
    host::WriteField<uint8>(controller_, kTransferring, 0);
    host::WriteBitField(inventory_, kCanInventory, true);
  }
  ~LiftedTransferLock() {
    host::WriteBitField(inventory_, kCanInventory, can_inventory_);
    host::WriteField<uint8>(controller_, kTransferring, transferring_);
  }
  LiftedTransferLock(const LiftedTransferLock&) = delete;
  LiftedTransferLock& operator=(const LiftedTransferLock&) = delete;

 private:
  AShooterPlayerController* controller_;
  UPrimalInventoryComponent* inventory_;
  uint8 transferring_;
  bool can_inventory_;
};

UPrimalItem* Finish(UPrimalItem* result, UPrimalInventoryComponent* inventory) {
  host::GameFunction<void(UPrimalItem*, bool, bool)>("UPrimalItem.UpdatedItem(bool,bool)")(result, true, false);
  host::GameFunction<void(UPrimalItem*)>("UPrimalItem.InventoryRefreshCheckItem()")(result);
  host::GameFunction<void(UPrimalInventoryComponent*)>("UPrimalInventoryComponent.InventoryRefresh()")(inventory);
  return result;
}

}  // namespace

bool IsInInventory(UPrimalItem* item, UPrimalInventoryComponent* inventory) {
  if (item == nullptr || inventory == nullptr) return false;
  if (host::ResolveWeakField<UPrimalInventoryComponent>(item, "UPrimalItem.OwnerInventory") == inventory) return true;
  const auto* items = host::FieldPtr<TArray<UPrimalItem*>>(inventory, "UPrimalInventoryComponent.InventoryItems");
  for (int32 i = 0; i < items->Num(); ++i) {
    if ((*items)[i] == item) return true;
  }
  return false;
}

namespace {

// Runs one insertion attempt. An attempt that throws counts as one that
// failed, so that the next attempt still gets its chance: a pod that holds a
// creature must not be left outside the inventory because one way in broke.
// The first failure is kept, to be reported.
template <typename Attempt>
auto TryAttempt(std::exception_ptr& first_failure, Attempt attempt) -> decltype(attempt()) {
  try {
    return attempt();
  } catch (...) {
    if (!first_failure) first_failure = std::current_exception();
    return {};
  }
}

// A pod got in after an attempt failed: the failure is still told.
UPrimalItem* ReportRecovered(UPrimalItem* result, const std::exception_ptr& failure) {
  if (!failure) return result;
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& e) {
    log::Warn("Cradlekeep inserted pod after an insertion attempt failed: {}", e.what());
  } catch (...) {
    log::Warn("Cradlekeep inserted pod after an insertion attempt failed: unknown exception");
  }
  return result;
}

}  // namespace

UPrimalItem* InsertPodIntoInventory(AShooterCharacter* pawn, AShooterPlayerController* controller, UPrimalItem* item) {
  if (pawn == nullptr || controller == nullptr || item == nullptr) return nullptr;
  auto* inventory = host::ReadField<UPrimalInventoryComponent*>(pawn, "APrimalCharacter.MyInventoryComponent");
  if (inventory == nullptr) {
    log::Warn("Cradlekeep could not resolve player inventory from character field");
    return nullptr;
  }
  std::exception_ptr failure;

  UPrimalItem* added = TryAttempt(failure, [&] {
    return host::GameFunction<UPrimalItem*(UPrimalInventoryComponent*, UPrimalItem*)>(
        "UPrimalInventoryComponent.AddItemObject(UPrimalItem*)")(inventory, item);
  });
  if (added != nullptr) return ReportRecovered(Finish(added, inventory), failure);
  if (IsInInventory(item, inventory)) return ReportRecovered(Finish(item, inventory), failure);

  if (host::ReadField<uint8>(controller, kTransferring) != 0) {
    UPrimalItem* extended = TryAttempt(failure, [&] {
      LiftedTransferLock lifted(controller, inventory);
      return host::GameFunction<UPrimalItem*(UPrimalInventoryComponent*, UPrimalItem*, bool, bool, bool, bool, bool,
                                             bool, AShooterCharacter*, bool, UPrimalItem*, bool)>(
          "UPrimalInventoryComponent.AddItemObjectEx(UPrimalItem*,bool,bool,bool,bool,bool,bool,AShooterCharacter*,"
          "bool,UPrimalItem*,bool)")(inventory, item, false, false, true, true, true, true, pawn, false, nullptr,
                                     false);
    });
    UPrimalItem* result = extended != nullptr ? extended : (IsInInventory(item, inventory) ? item : nullptr);
    if (result != nullptr) {
      log::Trace("Cradlekeep inserted pod while temporarily lifting the transfer inventory lock");
      return ReportRecovered(Finish(result, inventory), failure);
    }
  }

  TryAttempt(failure, [&] {
    LiftedTransferLock lifted(controller, inventory);
    return host::GameFunction<bool(UPrimalItem*, UPrimalInventoryComponent*, bool, bool, FItemNetID*, bool, bool, bool,
                                   bool, bool, bool)>(
        "UPrimalItem.AddToInventory(UPrimalInventoryComponent*,bool,bool,FItemNetID*,bool,bool,bool,bool,bool,bool)")(
        item, inventory, false, false, nullptr, true, true, true, false, false, false);
  });
  if (IsInInventory(item, inventory)) {
    log::Trace("Cradlekeep inserted pod through the forced item inventory path");
    return ReportRecovered(Finish(item, inventory), failure);
  }
  host::GameFunction<void(UPrimalInventoryComponent*)>("UPrimalInventoryComponent.InventoryRefresh()")(inventory);
  if (failure) std::rethrow_exception(failure);
  return nullptr;
}

}  // namespace ck::capture
