// The simulated game server: the world, its players and creatures, the
// classes, and the game's functions published to the framework's key
// registry. One Game at a time; constructing one resets the framework and
// registers the game's keys, destroying it tears the world down and frees
// every engine buffer the game owns.
//
// Its definitions are divided by what they are about: game.cpp (making and
// unmaking, classes), cryopod_mod.cpp (the mod), world.cpp (creatures, items
// and the ledger), players.cpp (players, their slots and inventories),
// flows.cpp (the flows scenario steps start) and time.cpp (ticks, timers).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/game/actors.h"
#include "sim/game/game_builds.h"
#include "sim/game/rcon.h"
#include "sim/game/roster.h"
#include "sim/game/settings.h"

namespace sim {

class Game {
 public:
  static constexpr const char* kSlotNames[] = {"riding", "mounted", "carried", "secondary",
                                               "previousMounted", "previousSecondary"};
  static constexpr const char* kVanillaCryopodClass = "PrimalItem_WeaponEmptyCryopod_C";
  static constexpr const char* kScsCryopodClass = "PrimalItem_SCSCryopod_C";
  static constexpr const char* kScsCaptureActorClass = "CCA_SCS_C";

  // --- making and unmaking, classes (game.cpp, cryopod_mod.cpp) ---------------

  Game(ServerSettings server, ModSettings mods, WorldSettings world = {});
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  static Game* Current();

  // Hands the world and the game mode to the framework (again): the
  // framework's GetWorld and GetShooterGameMode answer them from now on.
  // The world is published when the game is made; a caller that starts a
  // plugin before the game's InitGame hides it first and publishes after.
  void PublishWorld();

  // The class of that name the game holds now; null for none, and for a
  // class loaded by path that the engine collected and nothing loaded again.
  Class* ClassNamed(const std::string& name) const;
  // The class loaded from a blueprint path: the one loaded already, or, when
  // the engine collected it, a new class object made now (at another
  // address). Null for a path the game does not know.
  Class* ClassByBlueprint(const std::string& path);
  // The class of that name as the game's own code reaches it: a class
  // loaded by path is loaded again when it was collected.
  Class* ClassForGame(const std::string& name);
  Class* MakeBuffClass(const std::string& name);
  // A garbage collection of classes: every class loaded by path that no
  // live object uses (no instance, no subclass) leaves the object table
  // (ObjectTable::Retire). Returns the names of the classes collected.
  std::vector<std::string> CollectClasses();
  // True for a class the game may use; for a class the engine collected,
  // notes a defect naming `function`, which was handed it, and answers false.
  static bool Usable(const Class* cls, const char* function);
  World* world() const { return world_; }
  GameMode* game_mode() const { return game_mode_; }
  // The game mode the last ReplaceGameMode replaced; null before any.
  GameMode* replaced_game_mode() const { return replaced_game_mode_; }
  // A new game mode object (at another address) takes the old one's place
  // and is handed to the framework, as after a change of map or game mode;
  // the game's flows use it from now on. The replaced one has ended but stays
  // in memory (a game mode replaced before it goes).
  void ReplaceGameMode();
  const ServerSettings& server() const { return server_; }

  // Where the game tells what it does (the transcript); may be empty.
  std::function<void(const std::string&)> on_event;
  void Event(const std::string& text) const;

  // Arguments of selected game calls, as text, in call order per function.
  void RecordArgs(const std::string& function, std::string args) { call_args_[function].push_back(std::move(args)); }
  const std::vector<std::string>& ArgsOf(const std::string& function) { return call_args_[function]; }

  // --- creatures, items and the ledger (world.cpp) -----------------------------

  // Throws std::invalid_argument naming what is wrong.
  void AddCreature(const CreatureSpec& spec);
  Creature* FindCreature(const std::string& id);
  const std::vector<std::unique_ptr<Creature>>& Creatures() const { return creatures_; }

  Item* NewItem(Class* item_class);
  // The id NewItem gives the next item it makes (to give an item a twin's
  // id before the twin exists, as duplicated ids on live servers come about).
  FItemNetID NextItemId() const { return ItemIdFor(next_item_id_); }
  // Counts an item made outside NewItem (a copy an inventory places) among
  // the game's items, so that the ledger sees what it holds.
  void TrackItem(Item* item) { items_.push_back(item); }
  void DestroyItem(Item* item);
  void DestroyActor(Actor* actor);
  bool IsReadyToUpload(const Item* item) const;
  std::vector<Actor*> ActorsOfClass(const Class* cls) const;
  // Live creatures of `group` within `radius` of `centre`, the game's octree
  // query (only creatures are in the octree here); the caller owns the array.
  TArray<AActor*> ActorsInRange(FVector centre, float radius, EServerOctreeGroup group) const;
  // Every live item, in creation order.
  std::vector<Item*> AllItems() const;
  // Who holds the item: the player whose inventory lists it (or whose
  // upload carried it), and whether it was uploaded.
  std::optional<std::pair<std::string, bool>> HolderOf(const Item* item) const;

  CreaturePlace PlaceOf(const Creature& creature) const;
  std::vector<std::string> Lost() const;
  // The creatures whose data a player can reach twice: alive (in the world
  // or a slot) and in a pod, or in two pods, each pod held by an inventory
  // on this server or carried by an upload.
  std::vector<std::string> Duplicated() const;
  std::vector<std::string> LeftBehind() const;
  // Every pod holding a creature's data that a player can reach, players in
  // order, each one's inventory, tribute items, then upload.
  std::vector<HeldPod> HeldPods() const;
  // The creature's two-part id as the game has it now: its actor's while it
  // is in the world, else the one its pod's data carries, else its own.
  DinoId DinoIdOf(const Creature& creature) const;

  // --- players and their slots (players.cpp) ------------------------------------

  // Throws std::invalid_argument naming what is wrong.
  void AddPlayer(const PlayerSpec& spec);
  void AddItem(Player& player, const ItemSpec& spec);
  Player* FindPlayer(const std::string& id);
  const std::vector<std::unique_ptr<Player>>& Players() const { return players_; }
  std::string PlayerIdOf(const AShooterPlayerController* controller) const;

  // The creature held by a slot of a player's pawn, or null.
  DinoCharacter* SlotCreature(const Player& player, const std::string& slot) const;
  void SetSlot(Player& player, const std::string& slot, DinoCharacter* creature);

  // Online players whose transfer lock fields differ from what the game set.
  std::vector<std::string> LockViolations() const;

  // --- the game's flows (flows.cpp) ------------------------------------------------

  // As scenario steps start them. Each throws std::runtime_error when the
  // player cannot take part (not online).
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
  // release stops after the try broadcast, as when there is no room; with
  // `through_replaced` its broadcasts go through the replaced game mode's
  // fields (throws std::runtime_error when no game mode was replaced).
  // `from`: the inventory the request names and the item lies in (null:
  // the player's own).
  void UseItem(Player& player, Item* item, bool with_actor, bool release_fails, bool through_replaced = false,
               Inventory* from = nullptr);
  // The character arrives back with everything it uploaded.
  void Download(Player& player);

  // The game's side of using an item: the release from a cryopod.
  void UseItemInGame(ShooterPlayerController* controller, Inventory* inventory, FItemNetID id);
  // The game's side of an upload: the slots are emptied through the hooked
  // slot-clearing functions, ready items go with the character, the rest
  // stays behind with the body, and the character leaves the server.
  void DepartWithUpload(ShooterPlayerController* controller);
  // The game's side of dropping the items not ready for upload.
  void DropItemsNotReady(ShooterPlayerController* controller);
  // Empties every companion slot of the pawn through the hooked functions.
  void EmptySlotsThroughGame(ShooterCharacter* pawn);
  // Empties the primary or the secondary mounted slot the way this game
  // build does: through the hookable function of its form, or for the
  // secondary slot on a build whose form takes one flag, by itself.
  void ClearMountedThroughGame(Character* character, bool secondary);
  Player* PlayerOf(const Object* controller_or_pawn);
  Item* FindPlayerItem(Player& player, const std::string& entry_id, const std::string& pod_of);
  MulticastDelegate& other_delegate() { return other_delegate_; }

  // An RCON client sends an exec-command packet with this body (the next
  // packet id) on a connection that is or is not authenticated (rcon.cpp).
  void ReceiveRconPacket(const std::string& body, bool authenticated);
  // A console line typed by the player as admin, or at the server console
  // for none (the framework's commands first). Throws std::runtime_error when
  // the player cannot type it (not online, or no admin).
  void TypeConsoleLine(const std::string& line, Player* player);
  void AddRconReply(RconReply reply) { rcon_replies_.push_back(std::move(reply)); }
  const std::vector<RconReply>& RconReplies() const { return rcon_replies_; }

  // --- time (time.cpp) -------------------------------------------------------------

  // Lets `seconds` of simulated time pass, one server tick at a time; every
  // tick runs the framework's tick callbacks.
  void Advance(double seconds);
  double NowSeconds() const;

 private:
  Class* MakeClass(const std::string& name, Class* super);
  void RegisterKeys();
  // The cryopod mod's classes, capture actors and CaptureDino function.
  void MakeCryopodMod(Class* item, Class* actor);
  DinoCharacter* SpawnCreatureActor(Creature& creature, const FVector& at);
  Item* EmptyReleasedPod(Item* pod, Inventory* inventory);
  void SpawnPlayer(Player& player);

  ServerSettings server_;
  ModSettings mods_;
  const GameBuildNames* build_;
  // A class the game loads by its blueprint path: what makes it, and the
  // class object loaded now (null once the engine collected it).
  struct Blueprint {
    std::string class_name;
    Class* super = nullptr;
    std::function<void(Class*)> furnish;  // what the class carries besides its name
    Class* loaded = nullptr;
  };
  Class* AddBlueprint(const std::string& path, const std::string& class_name, Class* super,
                      std::function<void(Class*)> furnish = {});
  Class* Load(Blueprint& blueprint);
  bool UsedByLiveObject(const Class* cls) const;

  std::map<std::string, Class*> classes_;
  std::map<std::string, Blueprint> blueprints_;
  World* world_ = nullptr;
  GameMode* game_mode_ = nullptr;
  GameMode* replaced_game_mode_ = nullptr;
  int game_modes_made_ = 1;
  GameMode* release_game_mode_ = nullptr;  // the game mode a release broadcasts through
  std::vector<std::unique_ptr<Player>> players_;
  std::vector<std::unique_ptr<Creature>> creatures_;
  std::vector<Item*> items_;
  uint32 next_item_id_ = 1;
  static FItemNetID ItemIdFor(uint32 serial) { return FItemNetID{serial, 0x5EED0000u + serial * 7}; }
  std::vector<Actor*> capture_actors_;
  // The player whose controller was made last at each address.
  std::map<const void*, std::string> controller_addresses_;
  std::map<std::string, std::vector<std::string>> call_args_;
  MulticastDelegate other_delegate_;
  std::vector<RconReply> rcon_replies_;
  int32 next_rcon_id_ = 1;
  bool release_fails_ = false;
  struct Timer {
    int64 due;
    std::function<void()> run;
  };
  std::vector<Timer> timers_;
  int64 world_start_ns_ = 0;
  int64 ticks_run_ = 0;
};

// The game being played, for the game's own free functions.
inline Game& G() { return *Game::Current(); }

}  // namespace sim
