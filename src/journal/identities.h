// Who and what a journal line names: the player (character name and the
// game's id of the player) and the creature (its name, class and the game's
// two-part creature id, which survives a transfer and a cryopod). Each field
// is read through its own game member; one the running build lacks is left
// out of the line and never asked for, and a read that fails leaves its
// field out too. Never throws. Game thread only.
#pragma once

#include <string_view>

#include "asa/engine_types.h"
#include "journal/journal_line.h"

namespace ck::journal {

// player="<character name>" playerId=<n>
void AddPlayer(Line& line, AShooterPlayerController* controller) noexcept;

// creature="<name>" [class="<class>"] creatureId=<a>,<b>. `name` is the name
// the player was told; empty: the creature's own name is read.
void AddCreature(Line& line, APrimalDinoCharacter* creature, std::string_view name, bool with_class) noexcept;

// <key>=<a>,<b> for an item id.
void AddItem(Line& line, std::string_view key, const FItemNetID& id) noexcept;

// Which of the journal's fields the running build lacks ("playerId,
// creatureId"); empty when it has them all.
std::string MissingFields();

}  // namespace ck::journal
