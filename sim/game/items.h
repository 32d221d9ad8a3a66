// Items and inventories.
//
// An item's custom data is a game-owned engine array of the game's custom
// item data records (sim/game/custom_data.h). A player's inventory refuses new items through its plain add while the
// transfer lock holds (the owner is transferring, or the inventory's
// can-inventory bit is off); the extended add obeys the same lock, which a
// caller may lift for one call; the forced add only needs the bit. An
// inventory may hold a limited number of items: at the limit the plain and
// extended adds refuse, and the forced add does too unless the server lets
// it pass the limit. The game's own placements (world building, a character
// arriving with its uploaded items, a release replacing its pod) ignore it.
#pragma once

#include <optional>
#include <string>

#include "asa/engine_types.h"
#include "sim/game/actors.h"
#include "sim/game/custom_data.h"

namespace sim {

class Inventory;

class Item : public Object {
 public:
  ~Item() override;
  FItemNetID ItemID{0, 0};
  CustomDataArray CustomItemDatas{nullptr, 0, 0};
  FWeakObjectPtr OwnerInventory{0, 0};
  double UploadEarliestValidTime = 0;

  std::string entry_id;  // the scenario's name for the item, when it has one
  // The game's RemoveItem answers true for this item and leaves it where it is.
  bool removal_ignored = false;
};

class Inventory : public Object {
 public:
  static constexpr uint32 kCanInventoryItemsBit = 1u << 2;
  static constexpr int32 kSlotBarSize = 10;

  ~Inventory() override;
  TArray<Item*> InventoryItems{nullptr, 0, 0};
  TArray<Item*> ItemSlots{nullptr, 0, 0};
  TArray<Item*> ArkTributeItems{nullptr, 0, 0};
  uint32 InventoryFlags = kCanInventoryItemsBit;

  Character* owner = nullptr;
  // When set, adds place a replacement copy of the given item (new id) and
  // hand that back, as the game does for items it re-creates on insertion.
  bool adds_replace_item = false;
  int refreshes = 0;
  std::optional<int32> item_limit;  // the most items the adds let in; none when empty

  bool CanInventoryItems() const { return (InventoryFlags & kCanInventoryItemsBit) != 0; }
  bool AtLimit() const { return item_limit && InventoryItems.ArrayNum >= *item_limit; }
  bool OwnerTransferring() const;
  bool Holds(const Item* item) const;
  // Puts the item in (or its replacement); returns what is now in.
  Item* Place(Item* item);
  // Takes the item out of InventoryItems (slots and tribute are the caller's).
  bool Take(const Item* item);
};

// The creature whose cryo data the item holds, or "".
std::string PayloadCreature(const Item* item);
// The two-part creature id the item's cryo data carries; none without one.
std::optional<DinoId> PayloadDinoId(const Item* item);
// Empties the item's cryo data entries (the name stays), as a release does.
void EmptyCryoData(Item* item);
// True when the item carries an entry whose name is exactly `name`.
bool HasEntryNamed(const Item* item, const std::string& name);

inline constexpr const char* kMarkerName = "CradlekeepTemporaryCryopod";
// Adds the temporary-pod marker as the plugin writes it.
void AddMarker(Item* item);

}  // namespace sim
