// Reading the player's and the creature's identities for the journal.
#include "journal/identities.h"

#include <string>

#include "core/boundary.h"
#include "core/log.h"
#include "host/engine/class_loading.h"
#include "host/engine/names.h"
#include "host/framework/engine_text.h"
#include "host/game/catalogue.h"
#include "journal/creature_name.h"
#include "state/plugin_state.h"

namespace ck::journal {

namespace {

// Runs one field's read; a failure leaves the field out, with a warn line.
template <typename Read>
void Field(const char* field, Read read) noexcept {
  core::Contain(read, [&](const char* what) {
    log::Warn("Cradlekeep journal could not read the {}: {}", field, what);
  });
}

// A member only the journal uses, on a build where asking for it is safe.
bool Usable(const host::GameKey& member) { return member.Present() && MayAskForIds(); }

std::string PairText(const FItemNetID& id) { return std::to_string(id.ItemID1) + "," + std::to_string(id.ItemID2); }

std::optional<std::string> PlayerName(AShooterPlayerController* controller, AShooterCharacter* pawn) {
  if (pawn == nullptr) pawn = host::PlayerCharacterOf(controller);
  if (pawn != nullptr) {
    if (!Usable(game::kShooterCharacterPlayerName)) return std::nullopt;
    return host::FStringToUtf8(game::kShooterCharacterPlayerName.In(pawn));
  }
  if (!Usable(game::kPlayerControllerGetPlayerCharacterName)) return std::nullopt;
  host::EngineString result;
  game::kPlayerControllerGetPlayerCharacterName(controller, result.get());
  return host::FStringToUtf8(*result);
}

}  // namespace

bool MayAskForIds() { return state::Running() && state::Current().build.checked; }

PlayerSnapshot SnapPlayer(AShooterPlayerController* controller, AShooterCharacter* pawn) noexcept {
  PlayerSnapshot player;
  if (controller == nullptr) return player;
  Field("player's name", [&] { player.name = PlayerName(controller, pawn); });
  if (Usable(game::kPlayerControllerLinkedPlayerID)) {
    Field("player's id", [&] { player.id = game::kPlayerControllerLinkedPlayerID.Read(controller); });
  }
  return player;
}

CreatureSnapshot SnapCreature(APrimalDinoCharacter* creature, AShooterPlayerController* controller,
                              bool with_class, std::string_view told_name) noexcept {
  CreatureSnapshot snap;
  if (creature == nullptr) return snap;
  Field("creature's name", [&] {
    snap.name = told_name.empty() ? CompanionDisplayName(creature, controller) : std::string(told_name);
  });
  if (with_class) {
    Field("creature's class", [&] {
      const UClass* cls = host::ClassOf(reinterpret_cast<const UObject*>(creature));
      if (cls != nullptr) snap.class_name = host::ObjectName(reinterpret_cast<const UObject*>(cls));
    });
  }
  if (Usable(game::kDinoID1) && Usable(game::kDinoID2)) {
    Field("creature's id", [&] { snap.id = FItemNetID{game::kDinoID1.Read(creature), game::kDinoID2.Read(creature)}; });
  }
  return snap;
}

void Add(Line& line, const PlayerSnapshot& player) {
  if (player.id) line.Number("playerId", *player.id).SearchableId(std::to_string(*player.id));
  if (player.name) line.Text("player", *player.name).SearchableText(*player.name);
}

void Add(Line& line, const CreatureSnapshot& creature) {
  if (creature.id) line.Pair("creatureId", creature.id->ItemID1, creature.id->ItemID2).SearchableId(PairText(*creature.id));
  if (creature.name) line.Text("creature", *creature.name).SearchableText(*creature.name);
  if (creature.class_name) line.Text("class", *creature.class_name);
}

void AddItem(Line& line, std::string_view key, const FItemNetID& id) {
  line.Pair(key, id.ItemID1, id.ItemID2).SearchableId(PairText(id));
}

std::string MissingFields() {
  if (!MayAskForIds()) return "the game build could not be checked, so the journal leaves out player, playerId, creatureId";
  std::string fields;
  const auto Note = [&](bool present, const char* field) {
    if (present) return;
    if (!fields.empty()) fields += ", ";
    fields += field;
  };
  Note(game::kShooterCharacterPlayerName.Present(), "player");
  Note(game::kPlayerControllerLinkedPlayerID.Present(), "playerId");
  Note(game::kDinoID1.Present() && game::kDinoID2.Present(), "creatureId");
  return fields.empty() ? fields : "this game build lacks " + fields;
}

}  // namespace ck::journal
