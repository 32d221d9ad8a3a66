// What a scenario gives to build a simulated game: the server's and the
// mods' settings, the world's map, and the creatures, items and players to
// put in the world.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "asa/engine_types.h"
#include "sim/game/identities.h"

namespace sim {

struct ServerSettings {
  int tick_rate = 30;
  bool clear_slots_on_confirm = false;
  std::string uncryo = "emptyInPlace";
  int broadcasts_per_tick = 0;
  // Whether the item's forced add-to-inventory still adds to an inventory
  // at its item limit (the plain and extended adds never do).
  bool forced_add_ignores_limit = false;
  // Items the game makes during play (through UPrimalItem.AddNewItem: the
  // pods a capture makes) answer a removal as a removal-ignored entry does:
  // reported removed, kept all the same.
  bool new_items_ignore_removal = false;
  // A player controller made after another was freed takes the freed one's
  // memory (see ShooterPlayerController::ReuseFreedMemory).
  bool reuse_controller_memory = false;
  // The game build: keys its offsets dump lacks, the framework's cache of
  // the dump on disk ("present", "absent", "corrupt") and the framework's
  // HooksDoNotThrow setting (see sim/framework/game_build.h).
  std::vector<std::string> missing_keys;
  std::string offsets_cache = "present";
  bool hooks_do_not_throw = false;
  // The game build the server runs (sim/game/game_builds.h); missing_keys
  // applies on top of it.
  std::string game_build = "current";
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

// The world itself, besides what stands in it.
struct WorldSettings {
  // The map the server runs, as UWorld.GetMapName() answers it.
  std::string map_name = "TheIsland_WP";
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
  // The game's two-part id; none: DefaultDinoId(id).
  std::optional<DinoId> dino_id;
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
  int filler_items = 0;  // plain items placed after the listed ones
  // What the controller possesses: "character" (the player's character),
  // "spectator" (a spectator's pawn, no character) or "none".
  std::string pawn = "character";
  // The character's name; none: the id.
  std::optional<std::string> name;
  // The game's numeric id of the player; none: DefaultLinkedPlayerId(id).
  std::optional<int64> linked_player_id;
};

}  // namespace sim
