#include "sim/game/game.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "sim/framework/framework.h"
#include "sim/game/engine_arrays.h"
#include "sim/game/items.h"
#include "sim/game/buffs.h"
#include "sim/game/hooked_functions.h"
#include "sim/game/layout.h"
#include "sim/game/names.h"

namespace sim {

namespace {

Game* g_current = nullptr;

constexpr const char* kVanillaCryopodBlueprint =
    "Blueprint'/Game/Extinction/CoreBlueprints/Weapons/PrimalItem_WeaponEmptyCryopod.PrimalItem_WeaponEmptyCryopod'";
constexpr const char* kScsCryopodBlueprint = "Blueprint'/SCS/SCSCryopod/PrimalItem_SCSCryopod.PrimalItem_SCSCryopod'";
constexpr const char* kScsCaptureActorBlueprint = "Blueprint'/SCS/CCA_SCS.CCA_SCS'";
// Fresh vanilla cryopods cannot be uploaded for a while.
constexpr double kCryopodUploadDelaySeconds = 3600;

// The cryopod mod's CaptureDino: {creature, pod, flag, flag, padding}.
struct CaptureDinoBlock {
  DinoCharacter* creature;
  Item* pod;
  bool flag_a;
  bool flag_b;
  uint8 padding[6];
};
static_assert(sizeof(CaptureDinoBlock) == 24);

void CaptureDinoBody(Object* /*self*/, void* params) {
  auto* block = static_cast<CaptureDinoBlock*>(params);
  if (block == nullptr || block->creature == nullptr || block->pod == nullptr) return;
  if (!Objects().IsLive(block->creature)) return;
  std::string zeros;
  for (uint8 b : block->padding) zeros += std::to_string(b);
  Game::Current()->RecordArgs("CaptureDino", block->creature->creature_id + "," + block->pod->Name() + "," +
                                                 std::to_string(block->flag_a) + "," + std::to_string(block->flag_b) +
                                                 "," + zeros);
  CustomData data = MakeCryoData(block->creature->creature_id);
  AppendCustomData(block->pod->CustomItemDatas, data);
  DestroyCustomData(data);
  Game::Current()->Event("the cryopod mod captures " + block->creature->creature_id);
  Game::Current()->DestroyActor(block->creature);
}

// A version of the mod whose CaptureDino takes another block: a caller that
// lays out the known block hands it values it reads wrongly. Here it takes
// the creature out of the world without saving it anywhere, so a call shows
// as a lost creature.
void OtherCaptureDinoBody(Object* /*self*/, void* params) {
  auto* block = static_cast<CaptureDinoBlock*>(params);
  Game::Current()->RecordArgs("CaptureDino", "a block of another layout");
  if (block == nullptr || block->creature == nullptr || !Objects().IsLive(block->creature)) return;
  Game::Current()->Event("the cryopod mod misreads its parameters and loses " + block->creature->creature_id);
  Game::Current()->DestroyActor(block->creature);
}

}  // namespace

Game* Game::Current() { return g_current; }

DinoCharacter* Creature::actor() const { return dynamic_cast<DinoCharacter*>(Objects().Resolve(actor_ref, false)); }

Game::Game(ServerSettings server, ModSettings mods) : server_(std::move(server)), mods_(mods) {
  if (server_.tick_rate <= 0) throw std::invalid_argument("server.tickRate must be above 0");
  g_current = this;
  simfw::Fw().Reset();
  world_start_ns_ = simfw::Fw().clock.Now();
  Names().Clear();
  RegisterKeys();

  Class* object = MakeClass("Object", nullptr);
  Class* actor = MakeClass("Actor", object);
  MakeClass("Class", object);
  MakeClass("Function", object);
  MakeClass("SceneComponent", object);
  MakeClass("World", object);
  MakeClass("ShooterGameMode", actor);
  Class* controller = MakeClass("Controller", actor);
  Class* player_controller = MakeClass("PlayerController", controller);
  MakeClass("ShooterPlayerController", player_controller);
  MakeClass("ShooterCheatManager", object);
  Class* pawn = MakeClass("Pawn", actor);
  MakeClass("SpectatorPawn", pawn);
  Class* character = MakeClass("PrimalCharacter", pawn);
  Class* shooter = MakeClass("ShooterCharacter", character);
  MakeClass("PlayerPawnTest_Male_C", shooter);
  MakeClass("PrimalDinoCharacter", character);
  MakeClass("PrimalInventoryComponent", object);
  Class* item = MakeClass("PrimalItem", object);
  MakeClass("PrimalBuff", actor);
  blueprints_["Blueprint'/Game/Extinction/CoreBlueprints/Buffs/Buff_CryoCooldown.Buff_CryoCooldown'"] =
      MakeBuffClass(kCryoCooldownBuff);
  blueprints_["Blueprint'/Game/Extinction/CoreBlueprints/Buffs/Buff_CryoSickness.Buff_CryoSickness'"] =
      MakeBuffClass(kCryoSicknessBuff);
  blueprints_[kVanillaCryopodBlueprint] = MakeClass(kVanillaCryopodClass, item);
  if (mods_.cryopod_mod) {
    blueprints_[kScsCryopodBlueprint] = MakeClass(kScsCryopodClass, item);
    Class* capture_actor = MakeClass(kScsCaptureActorClass, actor);
    blueprints_[kScsCaptureActorBlueprint] = capture_actor;
    auto* capture_dino = Objects().Create<Function>(ClassNamed("Function"), "CaptureDino");
    capture_dino->ParmsSize = static_cast<uint16>(mods_.capture_dino_parms_size);
    capture_dino->body = mods_.capture_dino_parms_size == sizeof(CaptureDinoBlock) ? &CaptureDinoBody
                                                                                   : &OtherCaptureDinoBody;
    capture_actor->functions.push_back(capture_dino);
    for (int i = 0; i < mods_.capture_actors; ++i) {
      capture_actors_.push_back(Objects().Create<Actor>(capture_actor, "CCA_SCS_C_" + std::to_string(i)));
    }
  }

  world_ = Objects().Create<World>(ClassNamed("World"), "World");
  game_mode_ = Objects().Create<GameMode>(ClassNamed("ShooterGameMode"), "ShooterGameMode_0");
  PublishWorld();
  simfw::Fw().utils.SetPlayerName(
      [this](AShooterPlayerController* pc) { return PlayerIdOf(pc); });
}

void Game::PublishWorld() {
  simfw::Fw().utils.SetWorld(reinterpret_cast<UWorld*>(world_));
  simfw::Fw().utils.SetGameMode(reinterpret_cast<AShooterGameMode*>(game_mode_));
}

Game::~Game() {
  simfw::Fw().utils.SetWorld(nullptr);
  simfw::Fw().utils.SetGameMode(nullptr);
  simfw::Fw().utils.SetPlayerName(nullptr);
  FreeEngineArray(other_delegate_.InvocationList);
  timers_.clear();
  players_.clear();
  creatures_.clear();
  Objects().Clear();
  classes_.clear();
  if (g_current == this) g_current = nullptr;
}

void Game::RegisterKeys() { RegisterLayout(); }

Class* Game::MakeBuffClass(const std::string& name) {
  if (Class* existing = ClassNamed(name)) return existing;
  return MakeClass(name, ClassNamed("PrimalBuff"));
}

Class* Game::MakeClass(const std::string& name, Class* super) {
  Class* cls = Objects().Create<Class>(nullptr, name);
  cls->SuperStruct = super;
  classes_[name] = cls;
  if (Class* meta = ClassNamed("Class")) cls->ClassPrivate = meta;
  return cls;
}

Class* Game::ClassNamed(const std::string& name) const {
  auto it = classes_.find(name);
  return it == classes_.end() ? nullptr : it->second;
}

void Game::Event(const std::string& text) const {
  if (on_event) on_event(text);
}

void Game::AddCreature(const CreatureSpec& spec) {
  if (spec.id.empty()) throw std::invalid_argument("a creature needs an id");
  if (FindCreature(spec.id) != nullptr) throw std::invalid_argument("creature '" + spec.id + "' is defined twice");
  auto creature = std::make_unique<Creature>();
  creature->id = spec.id;
  creature->spec = spec;
  Creature& added = *creature;
  creatures_.push_back(std::move(creature));
  DinoCharacter* dino = SpawnCreatureActor(added, spec.at);
  for (const std::string& buff : spec.buffs) GiveBuff(dino, buff);
  if (spec.cryo_sickness) GiveBuff(dino, kCryoSicknessBuff);
}

DinoCharacter* Game::SpawnCreatureActor(Creature& creature, const FVector& at) {
  const CreatureSpec& spec = creature.spec;
  Class* cls = ClassNamed(spec.class_name);
  if (cls == nullptr) cls = MakeClass(spec.class_name, ClassNamed("PrimalDinoCharacter"));
  auto* dino = Objects().Create<DinoCharacter>(cls, spec.class_name + "_" + spec.id);
  dino->RootComponent = Objects().Create<SceneComponent>(ClassNamed("SceneComponent"), "DinoRoot_" + spec.id);
  dino->SetLocation(at);
  dino->creature_id = spec.id;
  dino->current_name = spec.name;
  dino->descriptive_name = spec.descriptive_name;
  dino->TargetingTeam = spec.team.value_or(0);
  dino->TamingTeamID = dino->TargetingTeam;
  creature.actor_ref = Objects().WeakOf(dino);
  return dino;
}

TArray<AActor*> Game::ActorsInRange(FVector centre, float radius, EServerOctreeGroup group) const {
  TArray<AActor*> found{nullptr, 0, 0};
  if (group != EServerOctreeGroup::DINOPAWNS) return found;
  for (const auto& c : creatures_) {
    if (c->actor() == nullptr || !Objects().IsLive(c->actor())) continue;
    const FVector at = c->actor()->Location();
    const double dx = at.X - centre.X, dy = at.Y - centre.Y, dz = at.Z - centre.Z;
    if (dx * dx + dy * dy + dz * dz <= static_cast<double>(radius) * radius) {
      AppendToEngineArray(found, reinterpret_cast<AActor*>(c->actor()));
    }
  }
  return found;
}

void Game::AddPlayer(const PlayerSpec& spec) {
  if (spec.id.empty()) throw std::invalid_argument("a player needs an id");
  if (FindPlayer(spec.id) != nullptr) throw std::invalid_argument("player '" + spec.id + "' is defined twice");
  auto player = std::make_unique<Player>();
  player->id = spec.id;
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
  for (const std::string& buff : spec.buffs) GiveBuff(player->pawn, buff);
  players_.push_back(std::move(player));
}

void Game::SpawnPlayer(Player& player) {
  auto* pc = Objects().Create<ShooterPlayerController>(ClassNamed("ShooterPlayerController"),
                                                       "ShooterPlayerController_" + player.id);
  pc->RootComponent = Objects().Create<SceneComponent>(ClassNamed("SceneComponent"), "ControllerRoot_" + player.id);
  pc->player_id = player.id;
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
  player.controller = pc;
  player.pawn = pawn;
  player.online = true;
  AppendToEngineArray(world_->PlayerControllerList, Objects().WeakOf(pc));
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

void Game::Advance(double seconds) {
  if (!(seconds >= 0) || seconds > 1e7) throw std::invalid_argument("advance needs a number of seconds from 0 to 10000000");
  auto& fw = simfw::Fw();
  // Ticks fall on exact multiples of the tick period since the world began;
  // the clock ends exactly `seconds` later, between ticks if need be.
  const int64 target = fw.clock.Now() + static_cast<int64>(std::llround(seconds * 1e9));
  const float delta = 1.0f / static_cast<float>(server_.tick_rate);
  while (true) {
    const int64 next = world_start_ns_ + (ticks_run_ + 1) * 1'000'000'000 / server_.tick_rate;
    if (next > target) break;
    fw.clock.SetNow(next);
    ++ticks_run_;
    // The framework's hook on the world's tick runs the plugins' tick
    // callbacks first, then the world's own tick with the game's timers.
    fw.commands.RunTick(delta);
    for (std::size_t i = 0; i < timers_.size();) {
      if (timers_[i].due <= next) {
        auto run = std::move(timers_[i].run);
        timers_.erase(timers_.begin() + static_cast<std::ptrdiff_t>(i));
        run();
      } else {
        ++i;
      }
    }
    for (int i = 0; i < server_.broadcasts_per_tick; ++i) {
      char params[32] = {};
      MulticastDelegateDispatch::Call(&other_delegate_, params);
    }
    Objects().Collect();
  }
  fw.clock.SetNow(target);
}

Player* Game::FindPlayer(const std::string& id) {
  for (auto& p : players_) {
    if (p->id == id) return p.get();
  }
  return nullptr;
}

Creature* Game::FindCreature(const std::string& id) {
  for (auto& c : creatures_) {
    if (c->id == id) return c.get();
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

CreaturePlace Game::PlaceOf(const Creature& creature) const {
  if (creature.actor() != nullptr && Objects().IsLive(creature.actor())) {
    for (const auto& p : players_) {
      if (!p->online) continue;
      for (const char* slot : {"riding", "mounted", "carried", "secondary"}) {
        if (SlotCreature(*p, slot) == creature.actor()) return CreaturePlace{"slot", p->id};
      }
    }
    return CreaturePlace{"world", std::nullopt};
  }
  for (Item* item : AllItems()) {
    if (PayloadCreature(item) != creature.id) continue;
    if (auto holder = HolderOf(item)) return CreaturePlace{holder->second ? "uploaded" : "pod", holder->first};
  }
  return CreaturePlace{"lost", std::nullopt};
}

Item* Game::NewItem(Class* item_class) {
  auto* item = Objects().Create<Item>(item_class, item_class->Name() + "_" + std::to_string(next_item_id_));
  item->ItemID = FItemNetID{next_item_id_, 0x5EED0000u + next_item_id_ * 7};
  ++next_item_id_;
  if (item_class == ClassNamed(kVanillaCryopodClass)) {
    item->UploadEarliestValidTime = NowSeconds() + kCryopodUploadDelaySeconds;
  }
  items_.push_back(item);
  return item;
}

void Game::AddItem(Player& player, const ItemSpec& spec) {
  Item* item = nullptr;
  if (!spec.cryopod_of.empty()) {
    Creature* creature = FindCreature(spec.cryopod_of);
    if (creature == nullptr || creature->actor() == nullptr || !Objects().IsLive(creature->actor())) {
      throw std::invalid_argument("player '" + player.id + "' item '" + spec.id + "' holds unknown creature '" +
                                  spec.cryopod_of + "'");
    }
    item = NewItem(ClassNamed(kVanillaCryopodClass));
    item->UploadEarliestValidTime = 0;
    CustomData data = MakeCryoData(creature->id);
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

void Game::DestroyItem(Item* item) {
  if (item == nullptr) return;
  for (const auto& p : players_) {
    if (p->inventory == nullptr) continue;
    p->inventory->Take(item);
    for (Item*& slot : p->inventory->ItemSlots) {
      if (slot == item) slot = nullptr;
    }
    for (int32 i = p->inventory->ArkTributeItems.ArrayNum - 1; i >= 0; --i) {
      if (p->inventory->ArkTributeItems[i] == item) RemoveFromEngineArray(p->inventory->ArkTributeItems, i);
    }
    p->uploaded.erase(std::remove(p->uploaded.begin(), p->uploaded.end(), item), p->uploaded.end());
  }
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  Objects().Destroy(item);
}

// A creature that goes while it rides on a character leaves that
// character's slot empty, and the game empties it with its own slot-clearing
// functions, which hooks see.
void Game::DestroyActor(Actor* actor) {
  if (actor == nullptr) return;
  if (auto* rider = dynamic_cast<Character*>(Objects().Resolve(actor->attach_parent, false))) {
    auto* shooter = dynamic_cast<ShooterCharacter*>(rider);
    const auto holds = [&](const FWeakObjectPtr& slot) { return Objects().Resolve(slot, false) == actor; };
    try {
      if (holds(rider->CarryingDino)) {
        if (shooter != nullptr) ClearCarrying::Call(shooter, false, false);
      } else if (shooter != nullptr && holds(shooter->SecondaryMountedActor)) {
        ClearMounted::Call(rider, true, false);
      } else if (holds(rider->MountedDino) || (shooter != nullptr && holds(shooter->RidingDino))) {
        ClearMounted::Call(rider, false, false);
      }
    } catch (...) {
      // The creature goes all the same.
      Objects().Destroy(actor);
      throw;
    }
  }
  Objects().Destroy(actor);
}

bool Game::IsReadyToUpload(const Item* item) const {
  return item != nullptr && item->UploadEarliestValidTime <= NowSeconds();
}

double Game::NowSeconds() const {
  return static_cast<double>(simfw::Fw().clock.Now() - world_start_ns_) / 1e9;
}

Class* Game::ClassByBlueprint(const std::string& path) const {
  auto it = blueprints_.find(path);
  return it == blueprints_.end() ? nullptr : it->second;
}

std::vector<Actor*> Game::ActorsOfClass(const Class* cls) const {
  std::vector<Actor*> out;
  for (Actor* actor : capture_actors_) {
    if (Objects().IsLive(actor) && actor->IsA(cls)) out.push_back(actor);
  }
  return out;
}

std::vector<Item*> Game::AllItems() const {
  std::vector<Item*> out;
  for (Item* item : items_) {
    if (Objects().IsLive(item)) out.push_back(item);
  }
  return out;
}

std::optional<std::pair<std::string, bool>> Game::HolderOf(const Item* item) const {
  for (const auto& p : players_) {
    if (p->inventory != nullptr && Objects().IsLive(p->inventory)) {
      if (p->inventory->Holds(item)) return std::make_pair(p->id, false);
      for (const Item* tribute : p->inventory->ArkTributeItems) {
        if (tribute == item) return std::make_pair(p->id, false);
      }
    }
    if (std::find(p->uploaded.begin(), p->uploaded.end(), item) != p->uploaded.end()) {
      return std::make_pair(p->id, true);
    }
  }
  return std::nullopt;
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

std::vector<std::string> Game::Lost() const {
  std::vector<std::string> lost;
  for (const auto& c : creatures_) {
    if (PlaceOf(*c).where == "lost") lost.push_back(c->id);
  }
  return lost;
}

std::vector<std::string> Game::LeftBehind() const {
  std::vector<std::string> left;
  for (const auto& p : players_) {
    for (const std::string& id : p->attached_at_departure) {
      for (const auto& c : creatures_) {
        if (c->id == id && PlaceOf(*c).where == "world") left.push_back(id);
      }
    }
  }
  return left;
}

}  // namespace sim
