#include "temporary_pods/cryo_sickness.h"

#include <vector>

#include "host/actors_in_range.h"
#include "capture/class_loading.h"
#include "config/plugin_config.h"
#include "host/engine_array.h"
#include "host/game_access.h"
#include "host/names.h"
#include "plugin/class_cache.h"
#include "plugin/log.h"
#include "transfer/companion_discovery.h"

namespace ck::temporary_pods {

namespace {

constexpr float kNearbyRadius = 1500.0f;

bool Enabled() { return config::Current().ClearCryoSicknessFromTemporaryVanillaCryopods; }

bool HasCryoSickness(const void* character) {
  return host::GameFunction<bool(const void*)>("APrimalCharacter.HasCryoSickness()")(character);
}

void ForceNetUpdate(const void* actor) {
  host::GameFunction<void(const void*, bool, bool, bool)>("AActor.ForceNetUpdate(bool,bool,bool)")(actor, false, true,
                                                                                                 false);
}

}  // namespace

int DeactivateConfiguredBuff(APrimalCharacter* character, UClass*& cache, const std::string& blueprint_path,
                             const char* buff_label, const std::string& label) {
  if (character == nullptr) return 0;
  UClass* buff_class = capture::LoadCachedClass(cache, blueprint_path);
  if (buff_class == nullptr) {
    log::Warn("Cradlekeep failed to load {} buff class: {}", buff_label, blueprint_path);
    return 0;
  }
  const bool had = host::GameFunction<bool(APrimalCharacter*, UClass*, bool)>(
      "APrimalCharacter.HasBuff(TSubclassOf<APrimalBuff>,bool)")(character, buff_class, false);
  host::GameFunction<void(APrimalCharacter*, UClass*, UPrimalItem*, bool)>(
      "APrimalCharacter.DeactivateBuffs(TSubclassOf<APrimalBuff>,UPrimalItem*,bool)")(character, buff_class, nullptr,
                                                                                     false);
  if (had) log::Trace("Cradlekeep deactivated {} after {}", buff_label, label);
  return had ? 1 : 0;
}

int ClearCryoSickness(APrimalCharacter* creature, const std::string& label) {
  if (!Enabled() || creature == nullptr) return 0;
  const config::PluginConfig& settings = config::Current();
  const int configured = DeactivateConfiguredBuff(creature, plugin::Classes().CryoSicknessBuffClass,
                                                  settings.CryoSicknessBuffBlueprint, "cryo sickness", label);
  if (!HasCryoSickness(creature)) {
    if (configured > 0) ForceNetUpdate(creature);
    return configured;
  }
  // Collect first: deactivating a buff may change the array.
  std::vector<APrimalBuff*> sickening;
  const auto* buffs = host::FieldPtr<TArray<APrimalBuff*>>(creature, "APrimalCharacter.Buffs");
  for (int32 i = 0; i < buffs->Num(); ++i) {
    APrimalBuff* buff = (*buffs)[i];
    if (buff != nullptr && host::ReadBitField(buff, "APrimalBuff.bCausesCryoSickness")) sickening.push_back(buff);
  }
  for (APrimalBuff* buff : sickening) host::GameFunction<void(APrimalBuff*)>("APrimalBuff.Deactivate()")(buff);
  const int collected = static_cast<int>(sickening.size());
  if (collected == 0 && configured <= 0) {
    log::Warn(
        "Cradlekeep found a nearby same-team dino with cryo sickness after {}, but no removable cryo sickness buff was "
        "identified",
        label);
  } else {
    ForceNetUpdate(creature);
    log::Trace("Cradlekeep cleared {} cryo sickness buff(s) after {}", configured + collected, label);
  }
  return configured + collected;
}

int ClearNearbyCryoSickness(AShooterPlayerController* controller, const std::string& label) {
  if (!Enabled() || controller == nullptr) return 0;
  const int32 team = host::ReadField<int32>(controller, "UPrimalActor.TargetingTeam");
  if (team == 0) return 0;
  FVector centre{0, 0, 0};
  auto* pawn = host::ReadField<APrimalCharacter*>(controller, "AController.Pawn");
  auto* root = host::ReadField<USceneComponent*>(pawn, "AActor.RootComponent");
  if (root != nullptr) {
    centre = host::FieldPtr<FTransform>(root, "USceneComponent.ComponentToWorld")->Translation;
  }
  TArray<AActor*> actors = host::ActorsInRange(centre, kNearbyRadius, EServerOctreeGroup::DINOPAWNS);
  int found = 0;
  int cleared = 0;
  try {
    for (int32 i = 0; i < actors.Num(); ++i) {
      AActor* actor = actors[i];
      if (actor == nullptr) continue;
      if (!transfer::IsInstanceOf(actor, "APrimalDinoCharacter.GetPrivateStaticClass()")) continue;
      if (host::ReadField<int32>(actor, "UPrimalActor.TargetingTeam") != team &&
          host::ReadField<int32>(actor, "APrimalDinoCharacter.TamingTeamID") != team) {
        continue;
      }
      if (!HasCryoSickness(actor)) continue;
      ++found;
      cleared += ClearCryoSickness(reinterpret_cast<APrimalCharacter*>(actor), label);
    }
  } catch (...) {
    host::FreeArray(actors);
    throw;
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
  if (auto* pawn = host::ReadField<APrimalCharacter*>(controller, "AController.Pawn")) {
    DeactivateConfiguredBuff(pawn, plugin::Classes().CryoCooldownBuffClass, settings.CryoCooldownBuffBlueprint,
                             "cryo cooldown", label);
  }
  auto* cheat = host::ReadField<UShooterCheatManager*>(controller, "APlayerController.CheatManager");
  if (cheat == nullptr) {
    log::Warn("Cradlekeep could not clear cryo cooldown after {} because the player cheat manager was unavailable",
              label);
    return;
  }
  FName name = host::MakeName("Buff_CryoCooldown", FNAME_Add);
  host::GameFunction<void(UShooterCheatManager*, FName*, bool)>("UShooterCheatManager.ForceGiveBuff(FName&,bool)")(
      cheat, &name, false);
}

}  // namespace ck::temporary_pods
