#include "temporary_pods/cryo_sickness.h"

#include <vector>

#include "host/engine/actors_in_range.h"
#include "host/engine/class_loading.h"
#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "core/boundary.h"
#include "host/engine/array.h"
#include "host/game/catalogue.h"
#include "journal/identities.h"
#include "journal/journal.h"
#include "host/engine/names.h"
#include "config/class_cache.h"
#include "core/log.h"

namespace ck::temporary_pods {

namespace {

constexpr float kNearbyRadius = 1500.0f;

// Switched on, and the game build has what clearing needs.
bool Enabled() {
  return config::Current().ClearCryoSicknessFromTemporaryVanillaCryopods && state::PartOn(host::Part::kSicknessClearing);
}

bool HasCryoSickness(APrimalCharacter* character) { return game::kCharacterHasCryoSickness(character); }

void ForceNetUpdate(APrimalCharacter* character) {
  game::kActorForceNetUpdate(reinterpret_cast<AActor*>(character), false, true, false);
}

// How many of the buffs the character's buff list still holds (by address:
// no buff is made between the deactivation and this look).
int StillListed(APrimalCharacter* character, const std::vector<APrimalBuff*>& buffs) {
  const auto* list = game::kCharacterBuffs.In(character);
  int still = 0;
  for (APrimalBuff* buff : buffs) {
    for (int32 i = 0; i < list->Num(); ++i) {
      if ((*list)[i] == buff) {
        ++still;
        break;
      }
    }
  }
  return still;
}

}  // namespace

int DeactivateConfiguredBuff(APrimalCharacter* character, FWeakObjectPtr& cache, const std::string& blueprint_path,
                             const char* buff_label, const std::string& label) {
  if (character == nullptr) return 0;
  UClass* buff_class = config::Classes().Load(cache, blueprint_path);
  if (buff_class == nullptr) {
    log::Warn("Cradlekeep failed to load {} buff class: {}", buff_label, blueprint_path);
    return 0;
  }
  TSubclassOf<APrimalBuff> buff{buff_class};
  const bool had = game::kCharacterHasBuff(character, &buff, false);
  TSubclassOf<APrimalBuff> deactivated{buff_class};
  game::kCharacterDeactivateBuffs(character, &deactivated, nullptr, false);
  if (!had) return 0;
  // Only a buff that went counts: the game may keep it.
  TSubclassOf<APrimalBuff> again{buff_class};
  if (game::kCharacterHasBuff(character, &again, false)) return 0;
  log::Trace("Cradlekeep deactivated {} after {}", buff_label, label);
  return 1;
}

int ClearCryoSickness(APrimalCharacter* creature, const std::string& label) {
  if (!Enabled() || creature == nullptr) return 0;
  const config::PluginConfig& settings = config::Current();
  const int configured = DeactivateConfiguredBuff(creature, config::Classes().CryoSicknessBuffClass,
                                                  settings.CryoSicknessBuffBlueprint, "cryo sickness", label);
  if (!HasCryoSickness(creature)) {
    if (configured > 0) ForceNetUpdate(creature);
    return configured;
  }
  // Collect first: deactivating a buff may change the array.
  std::vector<APrimalBuff*> sickening;
  const auto* buffs = game::kCharacterBuffs.In(creature);
  for (int32 i = 0; i < buffs->Num(); ++i) {
    APrimalBuff* buff = (*buffs)[i];
    if (buff != nullptr && game::kBuffCausesCryoSickness.Read(buff)) sickening.push_back(buff);
  }
  for (APrimalBuff* buff : sickening) game::kBuffDeactivate(buff);
  const int collected = static_cast<int>(sickening.size());
  const int ended = collected - StillListed(creature, sickening);
  if (collected == 0 && configured <= 0) {
    log::Warn(
        "Cradlekeep found a nearby same-team dino with cryo sickness after {}, but no removable cryo sickness buff was "
        "identified",
        label);
  } else {
    ForceNetUpdate(creature);
    log::Trace("Cradlekeep cleared {} cryo sickness buff(s) after {}", configured + ended, label);
  }
  return configured + ended;
}

int ClearNearbyCryoSickness(AShooterPlayerController* controller, const std::string& label) {
  if (!Enabled() || controller == nullptr) return 0;
  const int32 team = game::kActorTargetingTeam.Read(controller);
  if (team == 0) return 0;
  FVector centre{0, 0, 0};
  // Any pawn is an actor: its place is where the player is.
  APawn* pawn = game::kControllerPawn.Read(controller);
  auto* root = game::kActorRootComponent.Read(pawn);
  if (root != nullptr) {
    centre = game::kSceneComponentToWorld.In(root)->Translation;
  }
  TArray<AActor*> actors = host::ActorsInRange(centre, kNearbyRadius, EServerOctreeGroup::DINOPAWNS);
  int found = 0;
  int cleared = 0;
  // The array is the engine's: it is freed whatever happens on the way.
  std::exception_ptr failure;
  core::Attempt(
      [&] {
      for (int32 i = 0; i < actors.Num(); ++i) {
        AActor* actor = actors[i];
        if (actor == nullptr) continue;
        if (!host::IsInstanceOf(actor, game::kDinoStaticClass)) continue;
        if (game::kActorTargetingTeam.Read(actor) != team && game::kDinoTamingTeamID.Read(actor) != team) {
          continue;
        }
        auto* creature = reinterpret_cast<APrimalCharacter*>(actor);
        if (!HasCryoSickness(creature)) continue;
        ++found;
        auto* dino = reinterpret_cast<APrimalDinoCharacter*>(creature);
        const journal::CreatureSnapshot snap = journal::SnapCreature(dino, controller, false);
        const int ended = ClearCryoSickness(creature, label);
        cleared += ended;
        if (ended > 0) JournalSicknessCleared(journal::SnapPlayer(controller), snap, ended);
      }
      },
      failure);
  if (failure) {
    host::FreeArray(actors);
    std::rethrow_exception(failure);
  }
  if (found > 0 || cleared > 0) {
    log::Trace("Cradlekeep nearby sickness cleanup after {} found {} sick same-team dino(s), cleared {}", label, found,
               cleared);
  }
  host::FreeArray(actors);
  return cleared;
}

void ClearCryoCooldown(AShooterPlayerController* controller, const std::string& label) {
  if (!Enabled() || controller == nullptr) return;
  const config::PluginConfig& settings = config::Current();
  // The cooldown is a buff on the player's character; a spectator's pawn
  // has no buffs.
  if (AShooterCharacter* pawn = host::PlayerCharacterOf(controller)) {
    DeactivateConfiguredBuff(reinterpret_cast<APrimalCharacter*>(pawn), config::Classes().CryoCooldownBuffClass,
                             settings.CryoCooldownBuffBlueprint, "cryo cooldown", label);
  }
  auto* cheat = game::kPlayerControllerCheatManager.Read(controller);
  if (cheat == nullptr) {
    log::Warn("Cradlekeep could not clear cryo cooldown after {} because the player cheat manager was unavailable",
              label);
    return;
  }
  FName name = host::MakeName("Buff_CryoCooldown", FNAME_Add);
  game::kCheatForceGiveBuff(cheat, &name, false);
}

void JournalSicknessCleared(const journal::PlayerSnapshot& player, const journal::CreatureSnapshot& creature,
                            int cleared) noexcept {
  core::Contain(
      [&] {
        journal::Line line("sicknessCleared");
        journal::Add(line, player);
        journal::Add(line, creature);
        line.Number("cleared", cleared);
        journal::Record(line);
      },
      [](const char*) {});
}

}  // namespace ck::temporary_pods
