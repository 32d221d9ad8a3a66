// The simulated game server: the world, its players and creatures, the
// classes, and the game's functions published to the framework's key
// registry. One Game at a time; constructing one resets the framework and
// registers the game's keys, destroying it tears the world down and frees
// every engine buffer the game owns.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/game/actors.h"

namespace sim {

struct ServerSettings {
  int tick_rate = 30;
  bool clear_slots_on_confirm = false;
  std::string uncryo = "emptyInPlace";
  int broadcasts_per_tick = 0;
  // Whether the item's forced add-to-inventory still adds to an inventory
  // at its item limit (the plain and extended adds never do).
  bool forced_add_ignores_limit = false;
  // The game build: keys its offsets dump lacks, the framework's cache of
  // the dump on disk ("present", "absent", "corrupt") and the framework's
  // HooksDoNotThrow setting (see sim/framework/game_build.h).
  std::vector<std::string> missing_keys;
  std::string offsets_cache = "present";
  bool hooks_do_not_throw = false;
  // Fields whose offset this build's dump gives differently from the
  // simulated game's own layout: a game update that moved a member.
  std::map<std::string, int64> field_offsets;
};

struct ModSettings {
  bool cryopod_mod = false;
  int capture_actors = 1;
  // The size of the parameter block the mod's CaptureDino takes; 24 is the
  // version the plugin knows.
  int capture_dino_parms_size = 24;
};

struct CreatureSpec {
  std::string id;
  std::string class_name = "Dodo_Character_BP_C";
  std::string name;
  std::string descriptive_name;
  std::optional<int32> team;
  FVector at{0, 0, 0};
  std::vector<std::string> buffs;
  bool cryo_sickness = false;
};

struct ItemSpec {
  std::string id;
  std::string class_name = "PrimalItem_ResourceStone_C";
  bool ready_for_upload = true;
  std::string cryopod_of;  // a vanilla cryopod holding this creature
  bool temporary_pod = false;
  // The id of an earlier entry of the same inventory whose item id this item
  // carries too (item ids are not always unique on a live server).
  std::string same_id_as;
  // The game's RemoveItem answers true for this item but leaves it listed.
  bool removal_ignored = false;
};

struct PlayerSpec {
  std::string id;
  int32 team = 1001;
  FVector at{0, 0, 0};
  std::map<std::string, std::string> slots;  // slot name -> creature id
  std::vector<std::string> buffs;
  bool cheat_manager = true;
  std::vector<ItemSpec> inventory;
  std::optional<int32> inventory_limit;  // the most items the inventory takes; none when empty
  // What the controller possesses: "character" (the player's character),
  // "spectator" (a spectator's pawn, no character) or "none".
  std::string pawn = "character";
};

class Item;
class Inventory;

struct Player {
  std::string id;
  int32 team = 1001;
  FVector at{0, 0, 0};
  bool cheat_manager = true;
  std::optional<int32> inventory_limit;
  ShooterPlayerController* controller = nullptr;
  // The player's character, possessed by the controller unless `possesses`
  // says otherwise; it keeps the slots and the inventory either way.
  ShooterCharacter* pawn = nullptr;
  std::string possesses = "character";
  SpectatorPawn* spectator = nullptr;  // the pawn possessed instead, if any
  bool online = false;
  Inventory* inventory = nullptr;
  // What the game itself last set: the transferring flag and the inventory's
  // flags. Anyone who changes them for one call must put them back.
  uint8 expected_transferring = 0;
  uint32 expected_inventory_flags = 0;
  // Items that left with the character's upload.
  std::vector<Item*> uploaded;
  // Creatures attached when the character left with an upload.
  std::vector<std::string> attached_at_departure;
};

struct Creature {
  std::string id;
  CreatureSpec spec;
  FWeakObjectPtr actor_ref{0, 0};  // its actor while it is in the world

  // The creature's actor in the world, or null while it is not there.
  DinoCharacter* actor() const;
};

// Where a creature's data is, for the report.
struct CreaturePlace {
  std::string where;               // world, slot, pod, uploaded, lost
  std::optional<std::string> player;
};

class Game {
 public:
  static constexpr const char* kSlotNames[] = {"riding", "mounted", "carried", "secondary",
                                               "previousMounted", "previousSecondary"};

  Game(ServerSettings server, ModSettings mods);
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // World building; throw std::invalid_argument naming what is wrong.
  void AddCreature(const CreatureSpec& spec);
  void AddPlayer(const PlayerSpec& spec);

  // Hands the world and the game mode to the framework (again): the
  // framework's GetWorld and GetShooterGameMode answer them from now on.
  // The world is published when the game is made; a caller that starts a
  // plugin before the game's InitGame hides it first and publishes after.
  void PublishWorld();

  // Lets `seconds` of simulated time pass, one server tick at a time; every
  // tick runs the framework's tick callbacks.
  void Advance(double seconds);

  Player* FindPlayer(const std::string& id);
  Creature* FindCreature(const std::string& id);
  const std::vector<std::unique_ptr<Player>>& Players() const { return players_; }
  const std::vector<std::unique_ptr<Creature>>& Creatures() const { return creatures_; }

  // The creature held by a slot of a player's pawn, or null.
  DinoCharacter* SlotCreature(const Player& player, const std::string& slot) const;
  void SetSlot(Player& player, const std::string& slot, DinoCharacter* creature);

  CreaturePlace PlaceOf(const Creature& creature) const;

  // The game's flows, as scenario steps start them. Each throws
  // std::runtime_error when the player cannot take part (not online).
  void TransferButton(Player& player);
  void DialogResult(Player& player, bool accept);
  void ConfirmTransfer(Player& player, bool accept);
  void Upload(Player& player);
  void ForceUpload(Player& player);
  void DropNotReady(Player& player);
  void NetExec(Player& player, const std::string& command, const std::optional<std::string>& actor);
  void ClearSlot(Player& player, const std::string& slot);
  void Attach(Player& player, const std::string& slot, Creature& creature);
  void SetUploadTerminal(Player& player, bool viewing);
  void SetTransferring(Player& player, bool value);
  void Leave(Player& player);
  // Uses an inventory item through the use-item request (or the with-actor
  // one). A cryopod holding a creature releases it; with `release_fails` the
  // release stops after the try broadcast, as when there is no room.
  void UseItem(Player& player, Item* item, bool with_actor, bool release_fails);
  // The character arrives back with everything it uploaded.
  void Download(Player& player);
  // The game's side of using an item: the release from a cryopod.
  void UseItemInGame(ShooterPlayerController* controller, Inventory* inventory, FItemNetID id);
  Item* FindPlayerItem(Player& player, const std::string& entry_id, const std::string& pod_of);
  Class* MakeBuffClass(const std::string& name);
  MulticastDelegate& other_delegate() { return other_delegate_; }

  // The game's side of an upload: the slots are emptied through the hooked
  // slot-clearing functions, ready items go with the character, the rest
  // stays behind with the body, and the character leaves the server.
  void DepartWithUpload(ShooterPlayerController* controller);
  // The game's side of dropping the items not ready for upload.
  void DropItemsNotReady(ShooterPlayerController* controller);
  // Empties every companion slot of the pawn through the hooked functions.
  void EmptySlotsThroughGame(ShooterCharacter* pawn);
  Player* PlayerOf(const Object* controller_or_pawn);
  // Online players whose transfer lock fields differ from what the game set.
  std::vector<std::string> LockViolations() const;
  std::vector<std::string> Lost() const;
  std::vector<std::string> LeftBehind() const;

  std::string PlayerIdOf(const AShooterPlayerController* controller) const;

  // Items and classes.
  static constexpr const char* kVanillaCryopodClass = "PrimalItem_WeaponEmptyCryopod_C";
  static constexpr const char* kScsCryopodClass = "PrimalItem_SCSCryopod_C";
  static constexpr const char* kScsCaptureActorClass = "CCA_SCS_C";
  Item* NewItem(Class* item_class);
  // Counts an item made outside NewItem (a copy an inventory places) among
  // the game's items, so that the ledger sees what it holds.
  void TrackItem(Item* item) { items_.push_back(item); }
  void AddItem(Player& player, const ItemSpec& spec);
  void DestroyItem(Item* item);
  void DestroyActor(Actor* actor);
  bool IsReadyToUpload(const Item* item) const;
  double NowSeconds() const;
  Class* ClassByBlueprint(const std::string& path) const;
  std::vector<Actor*> ActorsOfClass(const Class* cls) const;
  // Every live item, in creation order.
  std::vector<Item*> AllItems() const;
  // Who holds the item: the player whose inventory lists it (or whose
  // upload carried it), and whether it was uploaded.
  std::optional<std::pair<std::string, bool>> HolderOf(const Item* item) const;

  // Arguments of selected game calls, as text, in call order per function.
  void RecordArgs(const std::string& function, std::string args) { call_args_[function].push_back(std::move(args)); }
  const std::vector<std::string>& ArgsOf(const std::string& function) { return call_args_[function]; }
  Class* ClassNamed(const std::string& name) const;
  World* world() const { return world_; }
  GameMode* game_mode() const { return game_mode_; }
  const ServerSettings& server() const { return server_; }

  // Where the game tells what it does (the transcript); may be empty.
  std::function<void(const std::string&)> on_event;
  void Event(const std::string& text) const;

  static Game* Current();

 // Live creatures of `group` within `radius` of `centre`, the game's octree
  // query (only creatures are in the octree here); the caller owns the array.
  TArray<AActor*> ActorsInRange(FVector centre, float radius, EServerOctreeGroup group) const;

 private:
  Class* MakeClass(const std::string& name, Class* super);
  void RegisterKeys();
  void SpawnPlayer(Player& player);

  ServerSettings server_;
  ModSettings mods_;
  std::map<std::string, Class*> classes_;
  World* world_ = nullptr;
  GameMode* game_mode_ = nullptr;
  std::vector<std::unique_ptr<Player>> players_;
  std::vector<std::unique_ptr<Creature>> creatures_;
  std::map<std::string, Class*> blueprints_;
  std::map<std::string, std::vector<std::string>> call_args_;
  std::vector<Actor*> capture_actors_;
  struct Timer {
    int64 due;
    std::function<void()> run;
  };
  std::vector<Timer> timers_;
  MulticastDelegate other_delegate_;
  bool release_fails_ = false;
  DinoCharacter* SpawnCreatureActor(Creature& creature, const FVector& at);
  std::vector<Item*> items_;
  uint32 next_item_id_ = 1;
  int64 world_start_ns_ = 0;
  int64 ticks_run_ = 0;
};

}  // namespace sim
