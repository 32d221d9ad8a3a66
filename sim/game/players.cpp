// The simulated world's players: adding and spawning them, their companion
// slots, the items of their inventories, and the transfer lock fields the
// game set for them.
#include <algorithm>
#include <stdexcept>

#include "sim/framework/framework.h"
#include "sim/game/buffs.h"
#include "sim/game/custom_data.h"
#include "sim/game/engine_arrays.h"
#include "sim/game/hooked_functions.h"
#include "sim/game/items.h"
#include "sim/game/layout.h"
#include "sim/game/names.h"
#include "sim/game/game.h"

namespace sim {

void Game::AddPlayer(const PlayerSpec& spec) {
  if (spec.id.empty()) throw std::invalid_argument("a player needs an id");
  if (FindPlayer(spec.id) != nullptr) throw std::invalid_argument("player '" + spec.id + "' is defined twice");
  auto player = std::make_unique<Player>();
  player->id = spec.id;
  player->name = spec.name.value_or(spec.id);
  player->linked_player_id = spec.linked_player_id.value_or(DefaultLinkedPlayerId(spec.id));
  player->team = spec.team;
  player->at = spec.at;
  player->cheat_manager = spec.cheat_manager;
  player->inventory_limit = spec.inventory_limit;
  if (spec.pawn != "character" && spec.pawn != "spectator" && spec.pawn != "none") {
    throw std::invalid_argument("player '" + spec.id + "' has an unknown pawn '" + spec.pawn + "'");
  }
  player->possesses = spec.pawn;
  SpawnPlayer(*player);
  for (const auto& [slot, creature_id] : spec.slots) {
    if (std::find(std::begin(kSlotNames), std::end(kSlotNames), slot) == std::end(kSlotNames)) {
      throw std::invalid_argument("player '" + spec.id + "' has an unknown slot '" + slot + "'");
    }
    Creature* creature = FindCreature(creature_id);
    if (creature == nullptr || creature->actor() == nullptr) {
      throw std::invalid_argument("player '" + spec.id + "' slot '" + slot + "' names unknown creature '" +
                                  creature_id + "'");
    }
    if (spec.team != 0 && creature->actor()->TargetingTeam == 0) {
      creature->actor()->TargetingTeam = spec.team;
      creature->actor()->TamingTeamID = spec.team;
      creature->spec.team = spec.team;
    }
    creature->actor()->SetLocation(spec.at);
    SetSlot(*player, slot, creature->actor());
  }
  for (const ItemSpec& item : spec.inventory) AddItem(*player, item);
  ItemSpec filler;
  filler.id = "filler";
  for (int i = 0; i < spec.filler_items; ++i) AddItem(*player, filler);
  for (const std::string& buff : spec.buffs) GiveBuff(player->pawn, buff);
  players_.push_back(std::move(player));
}

void Game::SpawnPlayer(Player& player) {
  auto* pc = Objects().Create<ShooterPlayerController>(ClassNamed("ShooterPlayerController"),
                                                       "ShooterPlayerController_" + player.id);
  pc->RootComponent = Objects().Create<SceneComponent>(ClassNamed("SceneComponent"), "ControllerRoot_" + player.id);
  pc->player_id = player.id;
  pc->LinkedPlayerID = player.linked_player_id;
  pc->TargetingTeam = player.team;
  if (player.cheat_manager) {
    pc->CheatManager = Objects().Create<ShooterCheatManager>(ClassNamed("ShooterCheatManager"), "CheatManager_" + player.id);
  }
  auto* pawn = Objects().Create<ShooterCharacter>(ClassNamed("PlayerPawnTest_Male_C"),
                                                  "PlayerPawnTest_Male_C_" + player.id);
  pawn->RootComponent = Objects().Create<SceneComponent>(ClassNamed("SceneComponent"), "PawnRoot_" + player.id);
  pawn->SetLocation(player.at);
  pawn->TargetingTeam = player.team;
  pawn->owner_controller = pc;
  pawn->PlayerName = MakeText(player.name);
  // A character that left without uploading comes back to its own inventory.
  Inventory* inventory = player.inventory != nullptr && Objects().IsLive(player.inventory) ? player.inventory : nullptr;
  if (inventory == nullptr) {
    inventory = Objects().Create<Inventory>(ClassNamed("PrimalInventoryComponent"), "Inventory_" + player.id);
    for (int32 i = 0; i < Inventory::kSlotBarSize; ++i) AppendToEngineArray(inventory->ItemSlots, static_cast<Item*>(nullptr));
  }
  inventory->owner = pawn;
  inventory->item_limit = player.inventory_limit;
  pawn->MyInventoryComponent = inventory;
  player.inventory = inventory;
  player.expected_transferring = 0;
  player.expected_inventory_flags = inventory->InventoryFlags;
  pc->Pawn = pawn;
  // A spectating player's controller possesses a spectator's pawn, and one
  // between bodies possesses nothing; the character stays on the server.
  player.spectator = nullptr;
  if (player.possesses == "spectator") {
    player.spectator = Objects().Create<SpectatorPawn>(ClassNamed("SpectatorPawn"), "SpectatorPawn_" + player.id);
    player.spectator->RootComponent =
        Objects().Create<SceneComponent>(ClassNamed("SceneComponent"), "SpectatorRoot_" + player.id);
    player.spectator->SetLocation(player.at);
    pc->Pawn = player.spectator;
  } else if (player.possesses == "none") {
    pc->Pawn = nullptr;
  }
  std::string& had = controller_addresses_[pc];
  if (!had.empty() && had != player.id) Event(player.id + "'s controller is made at the address " + had + "'s had");
  had = player.id;
  player.controller = pc;
  player.pawn = pawn;
  player.online = true;
  AppendToEngineArray(world_->PlayerControllerList, Objects().WeakOf(pc));
}

Player* Game::FindPlayer(const std::string& id) {
  for (auto& p : players_) {
    if (p->id == id) return p.get();
  }
  return nullptr;
}

std::string Game::PlayerIdOf(const AShooterPlayerController* controller) const {
  const auto* pc = reinterpret_cast<const ShooterPlayerController*>(controller);
  for (const auto& p : players_) {
    if (p->controller == pc) return p->id;
  }
  return {};
}

DinoCharacter* Game::SlotCreature(const Player& player, const std::string& slot) const {
  if (player.pawn == nullptr) return nullptr;
  const FWeakObjectPtr* weak = nullptr;
  if (slot == "riding") weak = &player.pawn->RidingDino;
  else if (slot == "mounted") weak = &player.pawn->MountedDino;
  else if (slot == "carried") weak = &player.pawn->CarryingDino;
  else if (slot == "secondary") weak = &player.pawn->SecondaryMountedActor;
  else if (slot == "previousMounted") weak = &player.pawn->PreviousMountedDino;
  else if (slot == "previousSecondary") weak = &player.pawn->PreviousSecondaryMountedDino;
  if (weak == nullptr) return nullptr;
  return dynamic_cast<DinoCharacter*>(Objects().Resolve(*weak, false));
}

void Game::SetSlot(Player& player, const std::string& slot, DinoCharacter* creature) {
  if (player.pawn == nullptr) return;
  const FWeakObjectPtr weak = Objects().WeakOf(creature);
  const bool attached = slot == "riding" || slot == "mounted" || slot == "carried" || slot == "secondary";
  if (creature != nullptr && attached) creature->attach_parent = Objects().WeakOf(player.pawn);
  if (slot == "riding") player.pawn->RidingDino = weak;
  else if (slot == "mounted") player.pawn->MountedDino = weak;
  else if (slot == "carried") player.pawn->CarryingDino = weak;
  else if (slot == "secondary") player.pawn->SecondaryMountedActor = weak;
  else if (slot == "previousMounted") player.pawn->PreviousMountedDino = weak;
  else if (slot == "previousSecondary") player.pawn->PreviousSecondaryMountedDino = weak;
}

void Game::AddItem(Player& player, const ItemSpec& spec) {
  Item* item = nullptr;
  if (!spec.cryopod_of.empty()) {
    Creature* creature = FindCreature(spec.cryopod_of);
    if (creature == nullptr || creature->actor() == nullptr || !Objects().IsLive(creature->actor())) {
      throw std::invalid_argument("player '" + player.id + "' item '" + spec.id + "' holds unknown creature '" +
                                  spec.cryopod_of + "'");
    }
    item = NewItem(ClassForGame(kVanillaCryopodClass));
    item->UploadEarliestValidTime = 0;
    CustomData data = MakeCryoData(creature->id, DinoId{creature->actor()->DinoID1, creature->actor()->DinoID2});
    AppendCustomData(item->CustomItemDatas, data);
    DestroyCustomData(data);
    if (spec.temporary_pod) AddMarker(item);
    Objects().Destroy(creature->actor());
  } else {
    Class* cls = ClassNamed(spec.class_name);
    if (cls == nullptr) cls = MakeClass(spec.class_name, ClassNamed("PrimalItem"));
    if (!cls->IsChildOf(ClassNamed("PrimalItem"))) {
      throw std::invalid_argument("item class '" + spec.class_name + "' is no item class");
    }
    item = NewItem(cls);
    item->UploadEarliestValidTime = spec.ready_for_upload ? 0 : 1e12;
  }
  if (!spec.same_id_as.empty()) {
    const Item* twin = FindPlayerItem(player, spec.same_id_as, "");
    if (twin == nullptr) {
      throw std::invalid_argument("player '" + player.id + "' item '" + spec.id + "' names no earlier entry '" +
                                  spec.same_id_as + "'");
    }
    item->ItemID = twin->ItemID;
  }
  item->removal_ignored = spec.removal_ignored;
  item->entry_id = spec.id;
  player.inventory->Place(item);
}

std::vector<std::string> Game::LockViolations() const {
  std::vector<std::string> violations;
  for (const auto& p : players_) {
    if (!p->online || p->controller == nullptr || p->inventory == nullptr) continue;
    if (p->controller->bIsTransferringCharacter != p->expected_transferring) {
      violations.push_back(p->id + "'s transferring flag is " + std::to_string(p->controller->bIsTransferringCharacter) +
                           ", the game set " + std::to_string(p->expected_transferring));
    }
    if (p->inventory->InventoryFlags != p->expected_inventory_flags) {
      violations.push_back(p->id + "'s inventory flags are " + std::to_string(p->inventory->InventoryFlags) +
                           ", the game set " + std::to_string(p->expected_inventory_flags));
    }
  }
  return violations;
}

}  // namespace sim
