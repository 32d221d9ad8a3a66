// Classes: loading one once from a blueprint path setting, asking whether
// an object is of one, and a controller's pawn checked to be a player
// character.
// Game thread only: the engine allocator and the game's objects are not thread-safe.
#pragma once

#include <string>

#include "asa/engine_types.h"
#include "host/game/members.h"

namespace ck::host {

// The cached class while the engine still has it; otherwise (an empty cache,
// a class that did not load, or one the engine collected since) the class the
// game resolves for the path (the path widened byte by byte), kept in the
// cache as a weak pointer. Null when the path resolves to nothing; the next
// use then tries again. Logs nothing.
[[nodiscard]] UClass* LoadCachedClass(FWeakObjectPtr& cache, const std::string& blueprint_path);

// Whether an object's class derives from the class `static_class` (a
// GetPrivateStaticClass function) reports. False for null.
[[nodiscard]] bool IsInstanceOf(const void* object, const Function<UClass*()>& static_class);

// The pawn the controller possesses when it is a player character; null when
// it possesses none or a pawn of another class (a spectator's), which has
// none of a character's members. Asks the game two questions at most; logs
// nothing.
[[nodiscard]] AShooterCharacter* PlayerCharacterOf(const void* controller);

// The same with the player character class (AShooterCharacter's static
// class) already asked for, for a loop over many players: one question each.
[[nodiscard]] AShooterCharacter* PlayerCharacterOf(const void* controller, UClass* player_character_class);

}  // namespace ck::host
