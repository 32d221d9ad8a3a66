#include "sim/game/items.h"

#include <cstring>
#include <utility>

#include "sim/framework/engine_text.h"
#include "sim/game/engine_arrays.h"
#include "sim/game/game.h"
#include "sim/game/names.h"

namespace sim {

Item::~Item() { DestroyCustomDataArray(CustomItemDatas); }

Inventory::~Inventory() {
  FreeEngineArray(InventoryItems);
  FreeEngineArray(ItemSlots);
  FreeEngineArray(ArkTributeItems);
}

bool Inventory::OwnerTransferring() const {
  if (owner == nullptr) return false;
  const auto* pc = dynamic_cast<const ShooterPlayerController*>(owner->owner_controller);
  return pc != nullptr && pc->bIsTransferringCharacter != 0;
}

bool Inventory::Holds(const Item* item) const {
  for (const Item* i : InventoryItems) {
    if (i == item) return true;
  }
  return false;
}

Item* Inventory::Place(Item* item) {
  Item* placed = item;
  if (adds_replace_item) {
    placed = Objects().Create<Item>(item->ClassPrivate, item->Name() + "_placed");
    placed->ItemID = FItemNetID{item->ItemID.ItemID1 + 100000, item->ItemID.ItemID2};
    placed->UploadEarliestValidTime = item->UploadEarliestValidTime;
    for (const CustomData& entry : item->CustomItemDatas) AppendCustomData(placed->CustomItemDatas, entry);
    if (Game* game = Game::Current()) game->TrackItem(placed);
  }
  AppendToEngineArray(InventoryItems, placed);
  placed->OwnerInventory = Objects().WeakOf(this);
  return placed;
}

bool Inventory::Take(const Item* item) {
  for (int32 i = 0; i < InventoryItems.ArrayNum; ++i) {
    if (InventoryItems[i] == item) {
      RemoveFromEngineArray(InventoryItems, i);
      return true;
    }
  }
  return false;
}

std::string PayloadCreature(const Item* item) {
  if (item == nullptr) return {};
  for (const CustomData& entry : item->CustomItemDatas) {
    std::string creature = CreatureOf(entry);
    if (!creature.empty()) return creature;
  }
  return {};
}

std::optional<DinoId> PayloadDinoId(const Item* item) {
  if (item == nullptr) return std::nullopt;
  for (const CustomData& entry : item->CustomItemDatas) {
    if (std::optional<DinoId> id = DinoIdOf(entry)) return id;
  }
  return std::nullopt;
}

void EmptyCryoData(Item* item) {
  if (item == nullptr) return;
  for (CustomData& entry : item->CustomItemDatas) {
    if (NameOf(entry) != kCryoEntryName) continue;
    const rec::FName name = entry.CustomDataName;
    DestroyCustomData(entry);
    entry.CustomDataName = name;
  }
}

bool HasEntryNamed(const Item* item, const std::string& name) {
  if (item == nullptr) return false;
  for (const CustomData& entry : item->CustomItemDatas) {
    if (NameOf(entry) == name) return true;
  }
  return false;
}

void AddMarker(Item* item) {
  CustomData marker{};
  SetName(marker, kMarkerName);
  FString text = simfw::FromUtf8("Cradlekeep");
  rec::FString& slot = AppendZeroed(marker.CustomDataStrings);
  slot.Data = {text.Data.Data, text.Data.ArrayNum, text.Data.ArrayMax};
  text.Data = TArray<char16_t>{nullptr, 0, 0};
  AppendCustomData(item->CustomItemDatas, marker);
  DestroyCustomData(marker);
}

}  // namespace sim
