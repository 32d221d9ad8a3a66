// The game's custom item data records (sim/game/records.h): copied, freed
// and made the way the game does it, every buffer through the engine
// allocator. An item's custom data is a game-owned array of these records;
// the game frees it, nested arrays included, when the item goes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "asa/engine_types.h"
#include "sim/game/identities.h"
#include "sim/game/records.h"

namespace sim {

using CustomData = rec::FCustomItemData;
using CustomDataArray = rec::TArray<rec::FCustomItemData>;

// A deep copy of `entry` appended to `array`.
void AppendCustomData(CustomDataArray& array, const CustomData& entry);
// Frees every buffer of the record and zeroes it.
void DestroyCustomData(CustomData& entry);
void DestroyCustomDataArray(CustomDataArray& array);

// The name of the cryo data record.
inline constexpr const char* kCryoEntryName = "Dino";

// The game's cryo data record for a creature: an entry named "Dino" whose
// byte array carries the creature's saved state (its id and its two-part
// creature id), with the strings, numbers, soft class references and
// painting maps the game fills beside it.
CustomData MakeCryoData(const std::string& creature_id, DinoId dino_id);
CustomData MakeCryoData(const std::string& creature_id);  // with DefaultDinoId
// The creature whose saved state the record carries, or "".
std::string CreatureOf(const CustomData& entry);
// The two-part creature id the saved state carries; none when the record
// carries no creature.
std::optional<DinoId> DinoIdOf(const CustomData& entry);

// Engine text for a record or a game object, through the engine allocator;
// its owner frees it (FreeEngineArray on its Data).
rec::FString MakeText(std::string_view utf8);

// A string of a record, as UTF-8.
std::string TextOf(const rec::FString& text);

// The record's name as the game's name table has it, and back.
std::string NameOf(const CustomData& entry);
void SetName(CustomData& entry, std::string_view text);

}  // namespace sim
