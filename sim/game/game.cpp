// The simulated game's making and unmaking: its classes and blueprints, the
// world and game mode handed to the framework, and its transcript.
#include "sim/game/game.h"

#include <stdexcept>

#include "sim/framework/framework.h"
#include "sim/game/buffs.h"
#include "sim/game/custom_data.h"
#include "sim/game/engine_arrays.h"
#include "sim/game/hooked_functions.h"
#include "sim/game/items.h"
#include "sim/game/layout.h"
#include "sim/game/names.h"

namespace sim {

namespace {

Game* g_current = nullptr;

constexpr const char* kVanillaCryopodBlueprint =
    "Blueprint'/Game/Extinction/CoreBlueprints/Weapons/PrimalItem_WeaponEmptyCryopod.PrimalItem_WeaponEmptyCryopod'";

}  // namespace

Game* Game::Current() { return g_current; }

Game::Game(ServerSettings server, ModSettings mods, WorldSettings world)
    : server_(std::move(server)), mods_(mods), build_(&GameBuildNamed(server_.game_build)) {
  if (server_.tick_rate <= 0) throw std::invalid_argument("server.tickRate must be above 0");
  g_current = this;
  ShooterPlayerController::ReuseFreedMemory(server_.reuse_controller_memory);
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
  Class* buff = MakeClass("PrimalBuff", actor);
  AddBlueprint("Blueprint'/Game/Extinction/CoreBlueprints/Buffs/Buff_CryoCooldown.Buff_CryoCooldown'",
               kCryoCooldownBuff, buff);
  AddBlueprint("Blueprint'/Game/Extinction/CoreBlueprints/Buffs/Buff_CryoSickness.Buff_CryoSickness'",
               kCryoSicknessBuff, buff);
  AddBlueprint(kVanillaCryopodBlueprint, kVanillaCryopodClass, item);
  if (mods_.cryopod_mod) MakeCryopodMod(item, actor);

  world_ = Objects().Create<World>(ClassNamed("World"), "World");
  world_->map_name = std::move(world.map_name);
  game_mode_ = Objects().Create<GameMode>(ClassNamed("ShooterGameMode"), "ShooterGameMode_0");
  PublishWorld();
  simfw::Fw().utils.SetPlayerName(
      [this](AShooterPlayerController* pc) { return PlayerIdOf(pc); });
}

void Game::PublishWorld() {
  simfw::Fw().utils.SetWorld(reinterpret_cast<UWorld*>(world_));
  simfw::Fw().utils.SetGameMode(reinterpret_cast<AShooterGameMode*>(game_mode_));
}

void Game::ReplaceGameMode() {
  if (replaced_game_mode_ != nullptr) Objects().Destroy(replaced_game_mode_);
  replaced_game_mode_ = game_mode_;
  game_mode_ = Objects().Create<GameMode>(ClassNamed("ShooterGameMode"),
                                          "ShooterGameMode_" + std::to_string(game_modes_made_++));
  simfw::Fw().utils.SetGameMode(reinterpret_cast<AShooterGameMode*>(game_mode_));
  Event("the game mode is replaced: " + game_mode_->Name() + " takes the place of " + replaced_game_mode_->Name() +
        ", which has ended");
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
  ShooterPlayerController::ReuseFreedMemory(false);
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

Class* Game::AddBlueprint(const std::string& path, const std::string& class_name, Class* super,
                          std::function<void(Class*)> furnish) {
  Blueprint& blueprint = blueprints_[path];
  blueprint = Blueprint{class_name, super, std::move(furnish), nullptr};
  return Load(blueprint);
}

Class* Game::Load(Blueprint& blueprint) {
  if (blueprint.loaded != nullptr) return blueprint.loaded;
  blueprint.loaded = MakeClass(blueprint.class_name, blueprint.super);
  if (blueprint.furnish) blueprint.furnish(blueprint.loaded);
  return blueprint.loaded;
}

Class* Game::ClassByBlueprint(const std::string& path) {
  auto it = blueprints_.find(path);
  return it == blueprints_.end() ? nullptr : Load(it->second);
}

Class* Game::ClassForGame(const std::string& name) {
  if (Class* held = ClassNamed(name)) return held;
  for (auto& [path, blueprint] : blueprints_) {
    if (blueprint.class_name == name) return Load(blueprint);
  }
  return nullptr;
}

bool Game::UsedByLiveObject(const Class* cls) const {
  bool used = false;
  Objects().ForEachLive([&](const Object* object) {
    if (object == cls) return;
    const auto* as_class = dynamic_cast<const Class*>(object);
    if ((object->ClassPrivate != nullptr && object->ClassPrivate->IsChildOf(cls)) ||
        (as_class != nullptr && as_class->IsChildOf(cls))) {
      used = true;
    }
  });
  return used;
}

std::vector<std::string> Game::CollectClasses() {
  std::vector<std::string> collected;
  for (auto& [path, blueprint] : blueprints_) {
    Class* cls = blueprint.loaded;
    if (cls == nullptr || UsedByLiveObject(cls)) continue;
    for (Function* function : cls->functions) Objects().Destroy(function);
    if (ClassNamed(blueprint.class_name) == cls) classes_.erase(blueprint.class_name);
    Objects().Retire(cls);
    blueprint.loaded = nullptr;
    collected.push_back(blueprint.class_name);
  }
  return collected;
}

bool Game::Usable(const Class* cls, const char* function) {
  if (cls == nullptr || !cls->collected) return true;
  simfw::Fw().modules.NoteDefect(std::string("the game's ") + function + " is handed class " + cls->Name() +
                                 ", which the engine collected");
  return false;
}

void Game::Event(const std::string& text) const {
  if (on_event) on_event(text);
}

}  // namespace sim
