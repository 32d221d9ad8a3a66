#include "capture/inventory_insertion.h"

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

UPrimalItem* InsertPodIntoInventory(AShooterCharacter* pawn, AShooterPlayerController* controller, UPrimalItem* item) {
  if (pawn == nullptr || controller == nullptr || item == nullptr) return nullptr;
  auto* inventory = host::ReadField<UPrimalInventoryComponent*>(pawn, "APrimalCharacter.MyInventoryComponent");
  if (inventory == nullptr) {
    log::Warn("Cradlekeep could not resolve player inventory from character field");
    return nullptr;
  }

  UPrimalItem* added = host::GameFunction<UPrimalItem*(UPrimalInventoryComponent*, UPrimalItem*)>(
      "UPrimalInventoryComponent.AddItemObject(UPrimalItem*)")(inventory, item);
  if (added != nullptr) return Finish(added, inventory);
  if (IsInInventory(item, inventory)) return Finish(item, inventory);

  if (host::ReadField<uint8>(controller, kTransferring) != 0) {
    UPrimalItem* extended = nullptr;
    {
      LiftedTransferLock lifted(controller, inventory);
      extended = host::GameFunction<UPrimalItem*(UPrimalInventoryComponent*, UPrimalItem*, bool, bool, bool, bool,
                                                 bool, bool, AShooterCharacter*, bool, UPrimalItem*, bool)>(
          "UPrimalInventoryComponent.AddItemObjectEx(UPrimalItem*,bool,bool,bool,bool,bool,bool,AShooterCharacter*,"
          "bool,UPrimalItem*,bool)")(inventory, item, false, false, true, true, true, true, pawn, false, nullptr,
                                     false);
    }
    UPrimalItem* result = extended != nullptr ? extended : (IsInInventory(item, inventory) ? item : nullptr);
    if (result != nullptr) {
      log::Trace("Cradlekeep inserted pod while temporarily lifting the transfer inventory lock");
      return Finish(result, inventory);
    }
  }

  {
    LiftedTransferLock lifted(controller, inventory);
    host::GameFunction<bool(UPrimalItem*, UPrimalInventoryComponent*, bool, bool, FItemNetID*, bool, bool, bool, bool,
                            bool, bool)>(
        "UPrimalItem.AddToInventory(UPrimalInventoryComponent*,bool,bool,FItemNetID*,bool,bool,bool,bool,bool,bool)")(
        item, inventory, false, false, nullptr, true, true, true, false, false, false);
  }
  if (IsInInventory(item, inventory)) {
    log::Trace("Cradlekeep inserted pod through the forced item inventory path");
    return Finish(item, inventory);
  }
  host::GameFunction<void(UPrimalInventoryComponent*)>("UPrimalInventoryComponent.InventoryRefresh()")(inventory);
  return nullptr;
}

}  // namespace ck::capture
