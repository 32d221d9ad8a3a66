// Reading the player's and the creature's ids for the journal.
#include "journal/identities.h"

#include <string>

#include "core/boundary.h"
#include "core/log.h"
#include "host/engine/class_loading.h"
#include "host/engine/names.h"
#include "host/framework/engine_text.h"
#include "host/game/catalogue.h"
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

std::string OwnName(APrimalDinoCharacter* creature) {
  if (!state::PartOn(host::Part::kCompanionNames)) return "";
  host::EngineString result;
  game::kDinoGetCurrentDinoName(creature, result.get(), nullptr);
  return host::FStringToUtf8(*result);
}

}  // namespace

void AddPlayer(Line& line, AShooterPlayerController* controller) noexcept {
  if (controller == nullptr) return;
  if (game::kShooterCharacterPlayerName.Present()) {
    Field("player's name", [&] {
      AShooterCharacter* pawn = host::PlayerCharacterOf(controller);
      if (pawn == nullptr) return;
      const std::string name = host::FStringToUtf8(game::kShooterCharacterPlayerName.In(pawn));
      line.Text("player", name).Searchable(name);
    });
  }
  if (game::kPlayerControllerLinkedPlayerID.Present()) {
    Field("player's id", [&] {
      const int64 id = game::kPlayerControllerLinkedPlayerID.Read(controller);
      line.Number("playerId", id).Searchable(std::to_string(id));
    });
  }
}

void AddCreature(Line& line, APrimalDinoCharacter* creature, std::string_view name, bool with_class) noexcept {
  if (creature == nullptr) return;
  Field("creature's name", [&] {
    const std::string own = name.empty() ? OwnName(creature) : std::string(name);
    line.Text("creature", own).Searchable(own);
  });
  if (with_class) {
    Field("creature's class", [&] {
      const UClass* cls = host::ClassOf(reinterpret_cast<const UObject*>(creature));
      if (cls != nullptr) line.Text("class", host::ObjectName(reinterpret_cast<const UObject*>(cls)));
    });
  }
  if (game::kDinoID1.Present() && game::kDinoID2.Present()) {
    Field("creature's id", [&] {
      const uint32 a = game::kDinoID1.Read(creature);
      const uint32 b = game::kDinoID2.Read(creature);
      line.Pair("creatureId", a, b).Searchable(std::to_string(a) + "," + std::to_string(b));
    });
  }
}

void AddItem(Line& line, std::string_view key, const FItemNetID& id) noexcept {
  Field("item's id", [&] { line.Pair(key, id.ItemID1, id.ItemID2); });
}

std::string MissingFields() {
  std::string fields;
  const auto Note = [&](bool present, const char* field) {
    if (present) return;
    if (!fields.empty()) fields += ", ";
    fields += field;
  };
  Note(game::kShooterCharacterPlayerName.Present(), "player");
  Note(game::kPlayerControllerLinkedPlayerID.Present(), "playerId");
  Note(game::kDinoID1.Present() && game::kDinoID2.Present(), "creatureId");
  return fields;
}

}  // namespace ck::journal
