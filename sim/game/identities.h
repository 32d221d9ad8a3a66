// The game's numeric identities of players and creatures, and the values the
// simulated game gives them when a scenario leaves them out: the same for the
// same player or creature id in every run, so that reports compare.
#pragma once

#include <string>

#include "asa/engine_types.h"

namespace sim {

// A creature's two-part id (APrimalDinoCharacter's DinoID1 and DinoID2). It is
// saved with the creature in its cryo data and comes back out with it.
struct DinoId {
  uint32 id1 = 0;
  uint32 id2 = 0;
  bool operator==(const DinoId&) const = default;
};

// The pair a creature without a "dinoId" gets.
DinoId DefaultDinoId(const std::string& creature_id);
// The numeric id (AShooterPlayerController's LinkedPlayerID) a player without
// a "linkedPlayerId" gets: nine digits, as live servers show them.
int64 DefaultLinkedPlayerId(const std::string& player_id);

}  // namespace sim
