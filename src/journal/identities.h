// Who and what a journal line names: the player (character name and the
// game's id of the player) and the creature (its name, class and the game's
// two-part creature id, which survives a transfer and a cryopod).
//
// Both are read into a snapshot before the capture or the release changes
// anything, and written into the line afterwards: a creature the capture
// destroyed, or the cryopod mod took, still has its name, class and id in
// the line. Each field is read through its own game member; one the running
// build lacks is left out and never asked for, and a read that fails leaves
// its field out with a warn line. On a game build the plugin could not check
// at start-up the journal asks for none of its own members (each first
// request could stall the game thread): the player's name and both ids are
// left out, and the status says why. Never throws. Game thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "asa/engine_types.h"
#include "journal/journal_line.h"

namespace ck::journal {

struct PlayerSnapshot {
  std::optional<std::string> name;
  std::optional<std::int64_t> id;
};

struct CreatureSnapshot {
  std::optional<std::string> name;
  std::optional<std::string> class_name;
  std::optional<FItemNetID> id;  // the creature's DinoID1, DinoID2
};

// The player: the name from `pawn` (the capture's own pawn; null: the
// controller's character), or, without a character, the controller's
// GetPlayerCharacterName(); the id from the controller.
PlayerSnapshot SnapPlayer(AShooterPlayerController* controller, AShooterCharacter* pawn = nullptr) noexcept;

// The creature: `told_name` when the player was told one, else the name the
// player's messages use (CompanionDisplayName with the controller); its
// class with `with_class`; its id.
CreatureSnapshot SnapCreature(APrimalDinoCharacter* creature, AShooterPlayerController* controller,
                              bool with_class, std::string_view told_name = {}) noexcept;

// playerId=<n> player="<name>"; creatureId=<a>,<b> creature="<name>"
// [class="<class>"]: the snapshot's fields that were read. Each id and name
// becomes searchable.
void Add(Line& line, const PlayerSnapshot& player);
void Add(Line& line, const CreatureSnapshot& creature);

// <key>=<a>,<b> for an item id, searchable as a whole.
void AddItem(Line& line, std::string_view key, const FItemNetID& id);

// Why the journal leaves fields out on this game build, for the status:
// "this game build lacks playerId, creatureId", or that the build could not
// be checked; empty when every field is written.
std::string MissingFields();

// Whether the journal may ask for its own members: only on a build start-up
// checked. (The journal says once at start-up when it may not.)
bool MayAskForIds();

}  // namespace ck::journal
