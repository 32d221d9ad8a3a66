// The simulated world's creatures and items: adding and spawning them,
// destroying them as the game does, the octree query, and the ledger of
// where each creature is.
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

namespace {

// Fresh vanilla cryopods cannot be uploaded for a while.
constexpr double kCryopodUploadDelaySeconds = 3600;

}  // namespace

DinoCharacter* Creature::actor() const { return dynamic_cast<DinoCharacter*>(Objects().Resolve(actor_ref, false)); }

void Game::AddCreature(const CreatureSpec& spec) {
  if (spec.id.empty()) throw std::invalid_argument("a creature needs an id");
  if (FindCreature(spec.id) != nullptr) throw std::invalid_argument("creature '" + spec.id + "' is defined twice");
  auto creature = std::make_unique<Creature>();
  creature->id = spec.id;
  creature->spec = spec;
  if (!creature->spec.dino_id) creature->spec.dino_id = DefaultDinoId(spec.id);
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
  dino->DinoID1 = spec.dino_id.value_or(DefaultDinoId(spec.id)).id1;
  dino->DinoID2 = spec.dino_id.value_or(DefaultDinoId(spec.id)).id2;
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

Creature* Game::FindCreature(const std::string& id) {
  for (auto& c : creatures_) {
    if (c->id == id) return c.get();
  }
  return nullptr;
}

std::vector<Actor*> Game::ActorsOfClass(const Class* cls) const {
  std::vector<Actor*> out;
  for (Actor* actor : capture_actors_) {
    if (Objects().IsLive(actor) && actor->IsA(cls)) out.push_back(actor);
  }
  return out;
}

Item* Game::NewItem(Class* item_class) {
  auto* item = Objects().Create<Item>(item_class, item_class->Name() + "_" + std::to_string(next_item_id_));
  item->ItemID = ItemIdFor(next_item_id_);
  ++next_item_id_;
  if (item_class->Name() == kVanillaCryopodClass) {
    item->UploadEarliestValidTime = NowSeconds() + kCryopodUploadDelaySeconds;
  }
  items_.push_back(item);
  return item;
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
        ClearMountedThroughGame(rider, true);
      } else if (holds(rider->MountedDino) || (shooter != nullptr && holds(shooter->RidingDino))) {
        ClearMountedThroughGame(rider, false);
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

std::vector<std::string> Game::Lost() const {
  std::vector<std::string> lost;
  for (const auto& c : creatures_) {
    if (PlaceOf(*c).where == "lost") lost.push_back(c->id);
  }
  return lost;
}

std::vector<std::string> Game::Duplicated() const {
  std::vector<std::string> duplicated;
  const std::vector<Item*> items = AllItems();
  for (const auto& c : creatures_) {
    int copies = c->actor() != nullptr && Objects().IsLive(c->actor()) ? 1 : 0;
    for (const Item* item : items) {
      if (PayloadCreature(item) == c->id && HolderOf(item)) ++copies;
    }
    if (copies > 1) duplicated.push_back(c->id);
  }
  return duplicated;
}

std::vector<HeldPod> Game::HeldPods() const {
  std::vector<HeldPod> pods;
  const auto note = [&pods](const Player& p, const Item* item, bool uploaded) {
    if (item == nullptr || !Objects().IsLive(item)) return;
    std::string creature = PayloadCreature(item);
    if (creature.empty()) return;
    pods.push_back(HeldPod{std::move(creature), PayloadDinoId(item), item->ItemID, p.id, p.linked_player_id, uploaded});
  };
  for (const auto& p : players_) {
    if (p->inventory != nullptr && Objects().IsLive(p->inventory)) {
      for (const Item* item : p->inventory->InventoryItems) note(*p, item, false);
      for (const Item* item : p->inventory->ArkTributeItems) note(*p, item, false);
    }
    for (const Item* item : p->uploaded) note(*p, item, true);
  }
  return pods;
}

DinoId Game::DinoIdOf(const Creature& creature) const {
  if (const DinoCharacter* actor = creature.actor(); actor != nullptr && Objects().IsLive(actor)) {
    return DinoId{actor->DinoID1, actor->DinoID2};
  }
  for (const HeldPod& pod : HeldPods()) {
    if (pod.creature == creature.id && pod.dino_id) return *pod.dino_id;
  }
  return creature.spec.dino_id.value_or(DefaultDinoId(creature.id));
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
