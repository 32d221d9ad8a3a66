#include "sim/game/item_functions.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "sim/framework/engine_text.h"
#include "sim/framework/game_functions.h"
#include "sim/game/engine_arrays.h"
#include "sim/game/game.h"
#include "sim/game/items.h"
#include "sim/game/names.h"

namespace sim {

namespace {

using simfw::GameFunction;

const char* B(bool v) { return v ? "true" : "false"; }

std::string Fmt(float v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(v));
  return buffer;
}

std::string Ptr(const void* p) { return p == nullptr ? "null" : "object"; }

// True (and told in the transcript) when an add must refuse the item because
// the inventory holds as many items as it may.
bool RefusedAtLimit(const Inventory* inventory, const char* add) {
  if (!inventory->AtLimit()) return false;
  const Player* player = G().PlayerOf(inventory->owner);
  G().Event((player != nullptr ? player->id + "'s inventory" : inventory->Name()) + " is full (" +
            std::to_string(*inventory->item_limit) + " item(s)): the " + add + " adds nothing");
  return true;
}

// --- classes and items

// Static; returns the class handle by value, so the result comes first.
SubclassOf* StringReferenceToClass(SubclassOf* result, FString* path) {
  if (result == nullptr || path == nullptr) throw std::invalid_argument("StringReferenceToClass: no result or path");
  result->uClass = G().ClassByBlueprint(simfw::ToUtf8(*path));
  return result;
}

// The game reads both class handles through their addresses.
std::string HandleText(const SubclassOf* handle) {
  if (handle == nullptr) throw std::invalid_argument("AddNewItem: a class handle's address is null");
  return handle->uClass != nullptr ? handle->uClass->Name() : std::string("null");
}

Item* AddNewItem(SubclassOf* item_handle, Inventory* inventory, bool a3, bool a4, float a5, bool a6, int a7, bool a8,
                 float a9, bool a10, SubclassOf* a11, float a12, bool a13, bool a14, bool a15, bool a16, bool a17,
                 bool a18, World* world) {
  const std::string item_text = HandleText(item_handle);
  Class* item_class = item_handle->uClass;
  G().RecordArgs("UPrimalItem.AddNewItem",
                 item_text + "," + Ptr(inventory) + "," +
                     B(a3) + "," + B(a4) + "," + Fmt(a5) + "," + B(a6) + "," + std::to_string(a7) + "," + B(a8) +
                     "," + Fmt(a9) + "," + B(a10) + "," + HandleText(a11) + "," + Fmt(a12) + "," + B(a13) + "," + B(a14) +
                     "," + B(a15) + "," + B(a16) + "," + B(a17) + "," + B(a18) + "," +
                     (world == G().world() ? "world" : Ptr(world)));
  if (!Game::Usable(item_class, "AddNewItem")) return nullptr;
  if (item_class == nullptr || !item_class->IsChildOf(G().ClassNamed("PrimalItem"))) return nullptr;
  Item* item = G().NewItem(item_class);
  item->removal_ignored = G().server().new_items_ignore_removal;
  if (inventory != nullptr) inventory->Place(item);
  return item;
}

// The result is constructed in the caller's memory, as a value the game
// returns by its hidden result pointer.
CustomData* GetCryoDinoData(CustomData* result, Object* /*context*/, DinoCharacter* dino) {
  if (result == nullptr || dino == nullptr || !Objects().IsLive(dino)) return nullptr;
  *result = MakeCryoData(dino->creature_id, DinoId{dino->DinoID1, dino->DinoID2});
  return result;
}

// The move assignment: the record's own buffers go, the other's move in and
// the other is left empty.
CustomData* MoveAssignCustomData(CustomData* self, CustomData* other) {
  if (self == nullptr || other == nullptr || self == other) return self;
  DestroyCustomData(*self);
  *self = *other;
  *other = CustomData{};
  return self;
}

void SetCustomItemData(Item* item, CustomData* data) {
  if (item == nullptr || data == nullptr) return;
  for (int32 i = 0; i < item->CustomItemDatas.ArrayNum; ++i) {
    if (item->CustomItemDatas[i].CustomDataName.ComparisonIndex == data->CustomDataName.ComparisonIndex) {
      DestroyCustomData(item->CustomItemDatas[i]);
      RemoveFromEngineArray(item->CustomItemDatas, i);
      break;
    }
  }
  AppendCustomData(item->CustomItemDatas, *data);
}

void UpdatedItem(Item* item, bool, bool) {
  if (item != nullptr) G().RecordArgs("UPrimalItem.UpdatedItem", item->Name());
}

float GetTimeUntilUploadAllowed(Item* item, World*) {
  if (item == nullptr) return 0;
  return static_cast<float>(std::max(0.0, item->UploadEarliestValidTime - G().NowSeconds()));
}

bool IsReadyToUpload(Item* item, World*) { return G().IsReadyToUpload(item); }

void InventoryRefreshCheckItem(Item* item) {
  if (item != nullptr) G().RecordArgs("UPrimalItem.InventoryRefreshCheckItem", item->Name());
}

// Returns nothing: whether the item went in is seen in the inventory.
void AddToInventory(Item* item, Inventory* inventory, bool a2, bool a3, FItemNetID* a4, bool a5, bool a6, bool a7,
                    bool a8, bool a9, bool a10) {
  G().RecordArgs("UPrimalItem.AddToInventory", Ptr(inventory) + "," + B(a2) + "," + B(a3) + "," + Ptr(a4) + "," +
                                                   B(a5) + "," + B(a6) + "," + B(a7) + "," + B(a8) + "," + B(a9) +
                                                   "," + B(a10));
  if (item == nullptr || inventory == nullptr || !inventory->CanInventoryItems()) return;
  if (inventory->Holds(item)) return;
  if (!G().server().forced_add_ignores_limit && RefusedAtLimit(inventory, "forced add")) return;
  inventory->Place(item);
}

void RemoveFromSlot(Item* item, bool, bool) {
  if (item != nullptr) G().RecordArgs("UPrimalItem.RemoveFromSlot", item->Name());
}

// --- inventories

Item* AddItemObject(Inventory* inventory, Item* item) {
  if (inventory == nullptr || item == nullptr) return nullptr;
  if (inventory->OwnerTransferring() || !inventory->CanInventoryItems()) return nullptr;
  if (RefusedAtLimit(inventory, "plain add")) return nullptr;
  return inventory->Place(item);
}

Item* AddItemObjectEx(Inventory* inventory, Item* item, bool a2, bool a3, bool a4, bool a5, bool a6, bool a7,
                      Character* pawn, bool a9, Item* a10, bool a11) {
  if (inventory == nullptr || item == nullptr) return nullptr;
  G().RecordArgs("UPrimalInventoryComponent.AddItemObjectEx",
                 B(a2) + std::string(",") + B(a3) + "," + B(a4) + "," + B(a5) + "," + B(a6) + "," + B(a7) + "," +
                     (pawn == inventory->owner ? "pawn" : Ptr(pawn)) + "," + B(a9) + "," + Ptr(a10) + "," + B(a11));
  if (inventory->OwnerTransferring() || !inventory->CanInventoryItems()) return nullptr;
  if (RefusedAtLimit(inventory, "extended add")) return nullptr;
  return inventory->Place(item);
}

void InventoryRefresh(Inventory* inventory) {
  if (inventory != nullptr) ++inventory->refreshes;
}

bool RemoveItem(Inventory* inventory, FItemNetID* id, bool, bool, bool, bool) {
  if (inventory == nullptr || id == nullptr) return false;
  for (const TArray<Item*>* list : {&inventory->InventoryItems, &inventory->ArkTributeItems}) {
    for (Item* item : *list) {
      if (item != nullptr && item->ItemID.ItemID1 == id->ItemID1 && item->ItemID.ItemID2 == id->ItemID2) {
        // The first item carrying the id answers for it; one whose removal
        // the game ignores is reported removed all the same.
        if (!item->removal_ignored) G().DestroyItem(item);
        return true;
      }
    }
  }
  return false;
}

// --- creatures

FString* GetCurrentDinoName(DinoCharacter* dino, FString* result, Object* /*controller*/) {
  if (result == nullptr) return nullptr;
  *result = simfw::FromUtf8(dino != nullptr ? dino->current_name : std::string());
  return result;
}

FString* GetDinoDescriptiveName(DinoCharacter* dino, FString* result, bool, bool) {
  if (result == nullptr) return nullptr;
  *result = simfw::FromUtf8(dino != nullptr ? dino->descriptive_name : std::string());
  return result;
}

bool DestroyActor(Actor* actor, bool, bool) {
  if (actor == nullptr) return false;
  G().DestroyActor(actor);
  return true;
}

// --- the cryopod mod's capture actor

void GetAllActorsOfClass(Object* /*context*/, SubclassOf* actor_class, TArray<Actor*>* out) {
  if (actor_class == nullptr) throw std::invalid_argument("GetAllActorsOfClass: the class handle's address is null");
  if (out == nullptr || actor_class->uClass == nullptr || !Game::Usable(actor_class->uClass, "GetAllActorsOfClass")) {
    return;
  }
  for (Actor* actor : G().ActorsOfClass(actor_class->uClass)) AppendToEngineArray(*out, actor);
}

Function* FindFunctionByName(Class* cls, FName name, int /*include_super*/) {
  if (cls == nullptr || !Game::Usable(cls, "FindFunctionByName")) return nullptr;
  for (Function* f : cls->functions) {
    if (f->NamePrivate.ComparisonIndex == name.ComparisonIndex && name.ComparisonIndex != 0) return f;
  }
  return nullptr;
}

void ProcessEvent(Actor* actor, Function* function, void* params) {
  if (actor == nullptr || function == nullptr || function->body == nullptr) return;
  function->body(actor, params);
}

}  // namespace

void RegisterItemFunctions() {
  auto& r = simfw::Fw().registry;
  r.AddField("UPrimalItem.ItemID", offsetof(Item, ItemID));
  r.AddField("UPrimalItem.CustomItemDatas", offsetof(Item, CustomItemDatas));
  r.AddField("UPrimalItem.OwnerInventory", offsetof(Item, OwnerInventory));
  r.AddField("UPrimalItem.UploadEarliestValidTime", offsetof(Item, UploadEarliestValidTime));
  r.AddField("UPrimalInventoryComponent.InventoryItems", offsetof(Inventory, InventoryItems));
  r.AddField("UPrimalInventoryComponent.ItemSlots", offsetof(Inventory, ItemSlots));
  r.AddField("UPrimalInventoryComponent.ArkTributeItems", offsetof(Inventory, ArkTributeItems));
  r.AddBitField("UPrimalInventoryComponent.bCanInventoryItems", offsetof(Inventory, InventoryFlags), 2, 1);
  for (const rec::RecordMember& member : rec::kRecordMembers) r.AddField(member.key, member.offset);
  r.AddField("UFunction.ParmsSize", offsetof(Function, ParmsSize));

  GameFunction<"UVictoryCore.StringReferenceToClass(FString&)", &StringReferenceToClass>::Register();
  GameFunction<"UPrimalItem.AddNewItem(TSubclassOf<UPrimalItem>,UPrimalInventoryComponent*,bool,bool,float,bool,int,"
               "bool,float,bool,TSubclassOf<UPrimalItem>,float,bool,bool,bool,bool,bool,bool,UWorld*)",
               &AddNewItem>::Register();
  GameFunction<"UVictoryCore.GetCryoDinoData(UObject*,APrimalDinoCharacter*)", &GetCryoDinoData>::Register();
  GameFunction<"UPrimalItem.SetCustomItemData(FCustomItemData&)", &SetCustomItemData>::Register();
  GameFunction<"FCustomItemData.operator=(FCustomItemData&&)", &MoveAssignCustomData>::Register();
  GameFunction<"UPrimalItem.UpdatedItem(bool,bool)", &UpdatedItem>::Register();
  GameFunction<"UPrimalItem.GetTimeUntilUploadAllowed(UWorld*)", &GetTimeUntilUploadAllowed>::Register();
  GameFunction<"UPrimalItem.IsReadyToUpload(UWorld*)", &IsReadyToUpload>::Register();
  GameFunction<"UPrimalItem.InventoryRefreshCheckItem()", &InventoryRefreshCheckItem>::Register();
  GameFunction<"UPrimalItem.AddToInventory(UPrimalInventoryComponent*,bool,bool,FItemNetID*,bool,bool,bool,bool,bool,"
               "bool)",
               &AddToInventory>::Register();
  GameFunction<"UPrimalItem.RemoveFromSlot(bool,bool)", &RemoveFromSlot>::Register();
  GameFunction<"UPrimalInventoryComponent.AddItemObject(UPrimalItem*)", &AddItemObject>::Register();
  GameFunction<"UPrimalInventoryComponent.AddItemObjectEx(UPrimalItem*,bool,bool,bool,bool,bool,bool,"
               "AShooterCharacter*,bool,UPrimalItem*,bool)",
               &AddItemObjectEx>::Register();
  GameFunction<"UPrimalInventoryComponent.InventoryRefresh()", &InventoryRefresh>::Register();
  GameFunction<"UPrimalInventoryComponent.RemoveItem(FItemNetID&,bool,bool,bool,bool)", &RemoveItem>::Register();
  GameFunction<"APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)", &GetCurrentDinoName>::Register();
  GameFunction<"APrimalDinoCharacter.GetDinoDescriptiveName(bool,bool)", &GetDinoDescriptiveName>::Register();
  GameFunction<"APrimalDinoCharacter.Destroy(bool,bool)", &DestroyActor>::Register();
  GameFunction<"UGameplayStatics.GetAllActorsOfClass(UObject*,TSubclassOf<AActor>,TArray<AActor*,"
               "TSizedDefaultAllocator<32>>&)",
               &GetAllActorsOfClass>::Register();
  GameFunction<"UClass.FindFunctionByName(FName,EIncludeSuperFlag::Type)", &FindFunctionByName>::Register();
  GameFunction<"AActor.ProcessEvent(UFunction*,void*)", &ProcessEvent>::Register();
}

}  // namespace sim
