// The simulated game's flows that fire the hooked functions.
#include <algorithm>
#include <cstddef>
#include <stdexcept>

#include "sim/framework/framework.h"
#include "sim/game/engine_arrays.h"
#include "sim/game/game.h"
#include "sim/game/hooked_functions.h"
#include "sim/game/items.h"
#include "sim/game/buffs.h"
#include "sim/game/names.h"

namespace sim {

namespace {

Player& Online(Player& player) {
  if (!player.online || player.controller == nullptr || !Objects().IsLive(player.controller)) {
    throw std::runtime_error("player '" + player.id + "' is not online");
  }
  return player;
}

}  // namespace

Player* Game::PlayerOf(const Object* object) {
  for (auto& p : players_) {
    if (object != nullptr && (p->controller == object || p->pawn == object)) return p.get();
  }
  return nullptr;
}

void Game::TransferButton(Player& player) { TransferButton::Call(Online(player).controller); }

void Game::DialogResult(Player& player, bool accept) {
  TransferDialogResult::Call(game_mode_, accept, Online(player).controller);
}

void Game::ConfirmTransfer(Player& player, bool accept) { TransferConfirmation::Call(Online(player).controller, accept); }

void Game::Upload(Player& player) {
  CharacterUpload::Call(Online(player).controller, player.inventory, 0);
}

void Game::ForceUpload(Player& player) { sim::ForceUpload::Call(Online(player).controller); }

void Game::DropNotReady(Player& player) { sim::DropNotReady::Call(Online(player).controller); }

void Game::NetExec(Player& player, const std::string& command, const std::optional<std::string>& actor_name) {
  Online(player);
  Actor* actor = nullptr;
  if (actor_name) {
    Class* cls = ClassNamed(*actor_name);
    if (cls == nullptr) cls = MakeClass(*actor_name, ClassNamed("Actor"));
    actor = Objects().Create<Actor>(cls, *actor_name);
  }
  FBPNetExecParams params{};
  sim::NetExec::Call(player.controller, actor, Names().Add(command), &params);
  if (actor != nullptr) Objects().Destroy(actor);
}

void Game::ClearSlot(Player& player, const std::string& slot) {
  ShooterCharacter* pawn = Online(player).pawn;
  if (slot == "mounted") {
    ClearMountedThroughGame(pawn, false);
  } else if (slot == "secondary") {
    ClearMountedThroughGame(pawn, true);
  } else if (slot == "carried") {
    ClearCarrying::Call(pawn, false, false);
  } else {
    throw std::invalid_argument("the game empties only the mounted, secondary and carried slots");
  }
}

void Game::Attach(Player& player, const std::string& slot, Creature& creature) {
  Online(player);
  if (creature.actor() == nullptr || !Objects().IsLive(creature.actor())) {
    throw std::runtime_error("creature '" + creature.id + "' is not in the world");
  }
  creature.actor()->SetLocation(player.pawn->Location());
  SetSlot(player, slot, creature.actor());
  Event(creature.id + " attaches to " + player.id + " (" + slot + ")");
}

void Game::SetUploadTerminal(Player& player, bool viewing) {
  Online(player).controller->viewing_upload_terminal = viewing;
}

void Game::SetTransferring(Player& player, bool value) {
  Online(player).controller->bIsTransferringCharacter = value ? 1 : 0;
  player.expected_transferring = value ? 1 : 0;
}

void Game::Leave(Player& player) {
  Online(player);
  Event(player.id + " leaves the server");
  if (player.inventory != nullptr) player.inventory->owner = nullptr;
  Objects().Destroy(player.pawn);
  Objects().Destroy(player.spectator);
  Objects().Destroy(player.controller);
  player.pawn = nullptr;
  player.spectator = nullptr;
  player.controller = nullptr;
  player.online = false;
}

void Game::ClearMountedThroughGame(Character* character, bool secondary) {
  if (!build_->one_flag_mounted_clearing) {
    ClearMounted::Call(character, secondary, false);
  } else if (secondary) {
    ClearSecondaryMountedInGame(character);
  } else {
    ClearMountedOneBool::Call(character, false);
  }
}

void Game::EmptySlotsThroughGame(ShooterCharacter* pawn) {
  Player* player = PlayerOf(pawn);
  if (player == nullptr) return;
  if (SlotCreature(*player, "riding") != nullptr) ClearMountedThroughGame(pawn, false);
  if (SlotCreature(*player, "mounted") != nullptr) ClearMountedThroughGame(pawn, false);
  if (SlotCreature(*player, "secondary") != nullptr) ClearMountedThroughGame(pawn, true);
  if (SlotCreature(*player, "carried") != nullptr) ClearCarrying::Call(pawn, false, false);
}

void Game::DepartWithUpload(ShooterPlayerController* controller) {
  Player* player = PlayerOf(controller);
  if (player == nullptr || !player->online) return;
  player->attached_at_departure.clear();
  for (const char* slot : {"riding", "mounted", "carried", "secondary"}) {
    if (DinoCharacter* creature = SlotCreature(*player, slot)) player->attached_at_departure.push_back(creature->creature_id);
  }
  EmptySlotsThroughGame(player->pawn);

  Inventory* inventory = player->inventory;
  std::vector<Item*> ready;
  std::vector<Item*> staying;
  for (Item* item : inventory->InventoryItems) {
    if (item == nullptr) continue;
    (IsReadyToUpload(item) ? ready : staying).push_back(item);
  }
  for (Item* item : ready) {
    inventory->Take(item);
    for (Item*& slot : inventory->ItemSlots) {
      if (slot == item) slot = nullptr;
    }
    item->OwnerInventory = FWeakObjectPtr{0, 0};
    player->uploaded.push_back(item);
  }
  std::string listing;
  for (const Item* item : ready) {
    const std::string creature = PayloadCreature(item);
    listing += (listing.empty() ? "" : ", ") + item->ClassPrivate->Name() + (creature.empty() ? "" : " holding " + creature);
  }
  Event(player->id + " uploads " + std::to_string(ready.size()) + " item(s)" + (listing.empty() ? "" : ": " + listing) +
        "; " + std::to_string(staying.size()) + " stay behind");
  for (Item* item : staying) DestroyItem(item);
  Event(player->id + "'s character leaves the server");
  Objects().Destroy(player->pawn);
  Objects().Destroy(player->spectator);
  Objects().Destroy(player->controller);
  Objects().Destroy(inventory);
  player->pawn = nullptr;
  player->spectator = nullptr;
  player->controller = nullptr;
  player->inventory = nullptr;
  player->online = false;
}

void Game::DropItemsNotReady(ShooterPlayerController* controller) {
  Player* player = PlayerOf(controller);
  if (player == nullptr || player->inventory == nullptr) return;
  std::vector<Item*> dropped;
  for (Item* item : player->inventory->InventoryItems) {
    if (item != nullptr && !IsReadyToUpload(item)) dropped.push_back(item);
  }
  for (Item* item : dropped) DestroyItem(item);
  Event(player->id + " drops " + std::to_string(dropped.size()) + " item(s) not ready for upload");
}

}  // namespace sim

namespace sim {

namespace {

// The parameter blocks of the two uncryo broadcasts.
struct TryUnCryoParams {
  ShooterPlayerController* controller;  // 0
  uint8 unused[24];                     // 8
  bool before_spawn;                    // 32
  uint8 pad1[7];
  Item* item;    // 40
  bool success;  // 48
  uint8 pad2[7];
};
static_assert(sizeof(TryUnCryoParams) == 56);
static_assert(offsetof(TryUnCryoParams, before_spawn) == 32);
static_assert(offsetof(TryUnCryoParams, item) == 40);
static_assert(offsetof(TryUnCryoParams, success) == 48);

struct PostUnCryoParams {
  ShooterPlayerController* controller;  // 0
  DinoCharacter* creature;              // 8
  Item* item;                           // 16
  uint8 unused[8];
};

}  // namespace

Item* Game::FindPlayerItem(Player& player, const std::string& entry_id, const std::string& pod_of) {
  if (player.inventory == nullptr) return nullptr;
  for (Item* item : player.inventory->InventoryItems) {
    if (item == nullptr) continue;
    if (!entry_id.empty() && item->entry_id == entry_id) return item;
    if (!pod_of.empty() && PayloadCreature(item) == pod_of) return item;
  }
  return nullptr;
}

void Game::UseItem(Player& player, Item* item, bool with_actor, bool release_fails, bool through_replaced,
                   Inventory* from) {
  Online(player);
  Inventory* inventory = from != nullptr ? from : player.inventory;
  if (item == nullptr) throw std::runtime_error("player '" + player.id + "' has no such item");
  if (through_replaced && replaced_game_mode_ == nullptr) throw std::runtime_error("no game mode was replaced");
  release_fails_ = release_fails;
  release_game_mode_ = through_replaced ? replaced_game_mode_ : game_mode_;
  const FItemNetID id = item->ItemID;
  try {
    if (with_actor) {
      sim::UseItemWithActor::Call(player.controller, nullptr, inventory, id, 0);
    } else {
      sim::UseItem::Call(player.controller, inventory, id, 0);
    }
  } catch (...) {
    release_fails_ = false;
    release_game_mode_ = nullptr;
    throw;
  }
  release_fails_ = false;
  release_game_mode_ = nullptr;
}

// The release empties the pod as the server's uncryo setting says; returns
// the emptied pod (a new item when the game replaces it).
Item* Game::EmptyReleasedPod(Item* pod, Inventory* inventory) {
  Item* emptied = pod;
  if (server_.uncryo == "emptyInPlace") {
    EmptyCryoData(pod);
  } else if (server_.uncryo == "replaceItem") {
    emptied = NewItem(pod->ClassPrivate);
    emptied->UploadEarliestValidTime = pod->UploadEarliestValidTime;
    for (const CustomData& entry : pod->CustomItemDatas) AppendCustomData(emptied->CustomItemDatas, entry);
    EmptyCryoData(emptied);
    DestroyItem(pod);
    inventory->Place(emptied);
    Event("the emptied pod comes back as " + emptied->Name());
  } else {
    const FWeakObjectPtr weak = Objects().WeakOf(pod);
    timers_.push_back(Timer{simfw::Fw().clock.Now() + 2'000'000'000, [weak] {
                              if (auto* later = dynamic_cast<Item*>(Objects().Resolve(weak, false))) {
                                EmptyCryoData(later);
                                Game::Current()->Event(later->Name() + " is emptied");
                              }
                            }});
  }
  return emptied;
}

void Game::UseItemInGame(ShooterPlayerController* controller, Inventory* inventory, FItemNetID id) {
  Player* player = PlayerOf(controller);
  if (player == nullptr || inventory == nullptr) return;
  Item* pod = nullptr;
  for (Item* item : inventory->InventoryItems) {
    if (item != nullptr && item->ItemID.ItemID1 == id.ItemID1 && item->ItemID.ItemID2 == id.ItemID2) pod = item;
  }
  if (pod == nullptr) return;
  const std::string creature_id = PayloadCreature(pod);
  if (creature_id.empty()) {
    Event(player->id + " uses " + pod->Name() + "; nothing happens");
    return;
  }
  GameMode* broadcaster = release_game_mode_ != nullptr ? release_game_mode_ : game_mode_;
  TryUnCryoParams attempt{};
  attempt.controller = controller;
  attempt.before_spawn = true;
  attempt.item = pod;
  attempt.success = !release_fails_;
  MulticastDelegateDispatch::Call(&broadcaster->OnTryUnCryoDino, &attempt);
  if (release_fails_) {
    Event(player->id + " cannot release " + creature_id + " here; it stays in the pod");
    return;
  }
  Creature* creature = FindCreature(creature_id);
  const FVector at = player->pawn->Location();
  DinoCharacter* dino = SpawnCreatureActor(*creature, FVector{at.X + 200, at.Y, at.Z});
  // The creature comes out as its saved state has it, with its two-part id.
  if (const std::optional<DinoId> saved = PayloadDinoId(pod)) {
    dino->DinoID1 = saved->id1;
    dino->DinoID2 = saved->id2;
  }
  dino->TargetingTeam = player->team;
  dino->TamingTeamID = player->team;
  GiveBuff(dino, kCryoSicknessBuff);
  GiveBuff(player->pawn, kCryoCooldownBuff);
  Event(player->id + " releases " + creature_id + " from " + pod->Name() + "; " + creature_id +
        " has cryo sickness and " + player->id + " the cryo cooldown");

  Item* emptied = EmptyReleasedPod(pod, inventory);
  PostUnCryoParams post{};
  post.controller = controller;
  post.creature = dino;
  post.item = emptied;
  MulticastDelegateDispatch::Call(&broadcaster->OnPostUnCryoDino, &post);
}

void Game::Download(Player& player) {
  if (player.online) throw std::runtime_error("player '" + player.id + "' is already on this server");
  SpawnPlayer(player);
  for (Item* item : player.uploaded) player.inventory->Place(item);
  Event(player.id + "'s character arrives back with " + std::to_string(player.uploaded.size()) + " item(s)");
  player.uploaded.clear();
}

}  // namespace sim
