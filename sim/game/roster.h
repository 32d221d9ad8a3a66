// The players and creatures of a simulated world as the game keeps them,
// and where a creature's data is, for the report.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/game/actors.h"
#include "sim/game/settings.h"

namespace sim {

class Item;
class Inventory;

struct Player {
  std::string id;
  std::string name;             // the character's name
  int64 linked_player_id = 0;  // the game's numeric id of the player
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

// A pod holding a creature's data that a player can reach: in the player's
// inventory (or its tribute items) or carried by the player's upload.
struct HeldPod {
  std::string creature;            // whose data it holds
  std::optional<DinoId> dino_id;   // the creature id its data carries
  FItemNetID item{0, 0};
  std::string player;
  int64 linked_player_id = 0;      // the holder's
  bool uploaded = false;
};

}  // namespace sim
