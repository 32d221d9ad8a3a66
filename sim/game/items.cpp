#include "sim/game/items.h"

#include <cstring>
#include <utility>

#include "sim/framework/engine_text.h"
#include "sim/game/engine_arrays.h"
#include "sim/game/game.h"
#include "sim/game/names.h"

namespace sim {

namespace {

constexpr const char* kCryoEntryName = "Dino";
constexpr const char* kCryoBytesPrefix = "creature:";

template <typename T>
void CopyInto(TArray<T>& target, const TArray<T>& source) {
  for (const T& value : source) AppendToEngineArray(target, value);
}

void CopyText(TArray<char16_t>& target, const TArray<char16_t>& source) {
  target = TArray<char16_t>{nullptr, 0, 0};
  if (source.ArrayNum <= 0) return;
  target.Data = static_cast<char16_t*>(FMemory::Malloc(sizeof(char16_t) * static_cast<uint64>(source.ArrayNum), 2));
  std::memcpy(target.Data, source.Data, sizeof(char16_t) * static_cast<std::size_t>(source.ArrayNum));
  target.ArrayNum = target.ArrayMax = source.ArrayNum;
}

}  // namespace

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
    for (const FCustomItemData& entry : item->CustomItemDatas) AppendCustomData(placed->CustomItemDatas, entry);
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

void AppendCustomData(TArray<FCustomItemData>& array, const FCustomItemData& entry) {
  FCustomItemData copy{};
  copy.CustomDataName = entry.CustomDataName;
  for (const FString& text : entry.CustomDataStrings) CopyText(AppendZeroed(copy.CustomDataStrings).Data, text.Data);
  CopyInto(copy.CustomDataFloats, entry.CustomDataFloats);
  for (const FSoftObjectPtr& soft : entry.CustomDataSoftClasses) {
    FSoftObjectPtr c = soft;
    CopyText(c.SubPathString, soft.SubPathString);
    AppendToEngineArray(copy.CustomDataSoftClasses, c);
  }
  CopyInto(copy.CustomDataObjects, entry.CustomDataObjects);
  CopyInto(copy.CustomDataClasses, entry.CustomDataClasses);
  CopyInto(copy.CustomDataNames, entry.CustomDataNames);
  for (const FCustomItemByteArray& bytes : entry.CustomDataBytes.ByteArrays) {
    FCustomItemByteArray c{};
    CopyInto(c.Bytes, bytes.Bytes);
    AppendToEngineArray(copy.CustomDataBytes.ByteArrays, c);
  }
  CopyInto(copy.CustomDataDoubles.Doubles, entry.CustomDataDoubles.Doubles);
  AppendToEngineArray(array, copy);
}

void DestroyCustomData(FCustomItemData& entry) {
  for (FString& text : entry.CustomDataStrings) FreeEngineArray(text.Data);
  FreeEngineArray(entry.CustomDataStrings);
  FreeEngineArray(entry.CustomDataFloats);
  for (FSoftObjectPtr& soft : entry.CustomDataSoftClasses) FreeEngineArray(soft.SubPathString);
  FreeEngineArray(entry.CustomDataSoftClasses);
  FreeEngineArray(entry.CustomDataObjects);
  FreeEngineArray(entry.CustomDataClasses);
  FreeEngineArray(entry.CustomDataNames);
  for (FCustomItemByteArray& bytes : entry.CustomDataBytes.ByteArrays) FreeEngineArray(bytes.Bytes);
  FreeEngineArray(entry.CustomDataBytes.ByteArrays);
  FreeEngineArray(entry.CustomDataDoubles.Doubles);
}

void DestroyCustomDataArray(TArray<FCustomItemData>& array) {
  for (FCustomItemData& entry : array) DestroyCustomData(entry);
  FreeEngineArray(array);
}

FCustomItemData MakeCryoData(const std::string& creature_id) {
  FCustomItemData data{};
  data.CustomDataName = Names().Add(kCryoEntryName);
  FString text = simfw::FromUtf8(creature_id);
  std::swap(AppendZeroed(data.CustomDataStrings).Data, text.Data);
  AppendToEngineArray(data.CustomDataFloats, 1.0f);
  AppendToEngineArray(data.CustomDataDoubles.Doubles, 0.5);
  FCustomItemByteArray bytes{};
  const std::string saved = std::string(kCryoBytesPrefix) + creature_id;
  for (char c : saved) AppendToEngineArray(bytes.Bytes, static_cast<uint8>(c));
  AppendToEngineArray(data.CustomDataBytes.ByteArrays, bytes);
  return data;
}

std::string PayloadCreature(const Item* item) {
  if (item == nullptr) return {};
  for (const FCustomItemData& entry : item->CustomItemDatas) {
    if (Names().Text(entry.CustomDataName) != kCryoEntryName) continue;
    for (const FCustomItemByteArray& bytes : entry.CustomDataBytes.ByteArrays) {
      std::string saved(bytes.Bytes.begin(), bytes.Bytes.end());
      if (saved.rfind(kCryoBytesPrefix, 0) == 0) return saved.substr(std::strlen(kCryoBytesPrefix));
    }
  }
  return {};
}

void EmptyCryoData(Item* item) {
  if (item == nullptr) return;
  for (FCustomItemData& entry : item->CustomItemDatas) {
    if (Names().Text(entry.CustomDataName) != kCryoEntryName) continue;
    const FName name = entry.CustomDataName;
    DestroyCustomData(entry);
    entry = FCustomItemData{};
    entry.CustomDataName = name;
  }
}

bool HasEntryNamed(const Item* item, const std::string& name) {
  if (item == nullptr) return false;
  for (const FCustomItemData& entry : item->CustomItemDatas) {
    if (Names().Text(entry.CustomDataName) == name) return true;
  }
  return false;
}

void AddMarker(Item* item) {
  FCustomItemData marker{};
  marker.CustomDataName = Names().Add(kMarkerName);
  FString text = simfw::FromUtf8("Cradlekeep");
  std::swap(AppendZeroed(marker.CustomDataStrings).Data, text.Data);
  AppendCustomData(item->CustomItemDatas, marker);
  DestroyCustomData(marker);
}

}  // namespace sim
