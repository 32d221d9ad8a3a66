#include "transfer/companion_discovery.h"

#include "host/engine/class_loading.h"
#include "host/game/catalogue.h"
#include "host/engine/names.h"
#include "host/engine/weak_pointer.h"
#include "state/plugin_state.h"

namespace ck::transfer {

namespace {

void Merge(capture::CompanionList& list, APrimalDinoCharacter* creature, bool mounted, bool carried, bool secondary) {
  if (creature == nullptr) return;
  for (capture::AttachedCompanion& record : list) {
    if (record.creature != creature) continue;
    record.mounted = record.mounted || mounted;
    record.carried = record.carried || carried;
    record.secondary = record.secondary || secondary;
    return;
  }
  list.push_back(capture::AttachedCompanion{creature, mounted, carried, secondary});
}

}  // namespace

bool ListHolds(const capture::CompanionList& list, const APrimalDinoCharacter* creature) {
  for (const capture::AttachedCompanion& record : list) {
    if (record.creature == creature) return true;
  }
  return false;
}

capture::CompanionList CollectAttachedCompanions(AShooterCharacter* pawn) {
  capture::CompanionList list;
  if (pawn == nullptr) return list;
  // A slot whose keys the game build lacks is not looked at.
  const bool ridden = state::PartOn(host::Part::kRiddenSlot);
  if (ridden) Merge(list, host::ResolveWeak(game::kShooterCharacterRidingDino.In(pawn)), true, false, false);
  if (state::PartOn(host::Part::kMountedSlot)) {
    Merge(list, host::ResolveWeak(game::kCharacterMountedDino.In(pawn)), true, false, false);
  }
  if (ridden) Merge(list, game::kShooterCharacterGetRidingDino(pawn), true, false, false);
  if (state::PartOn(host::Part::kCarriedSlot)) {
    Merge(list, host::ResolveWeak(game::kCharacterCarryingDino.In(pawn)), false, true, false);
  }
  if (state::PartOn(host::Part::kSecondarySlot)) {
    AActor* secondary = game::kShooterCharacterGetSecondaryMountedActor(pawn);
    if (secondary != nullptr && host::IsInstanceOf(secondary, game::kDinoStaticClass)) {
      Merge(list, reinterpret_cast<APrimalDinoCharacter*>(secondary), true, false, true);
    }
  }
  return list;
}

APrimalDinoCharacter* GetPreviousCompanion(APrimalCharacter* pawn, bool secondary) {
  if (pawn == nullptr || !state::PartOn(secondary ? host::Part::kPreviousSecondary : host::Part::kPreviousMounted)) {
    return nullptr;
  }
  APrimalDinoCharacter* previous = host::ResolveWeak(
      (secondary ? game::kCharacterPreviousSecondaryMountedDino : game::kCharacterPreviousMountedDino).In(pawn));
  // A secondary slot may hold an actor that is no creature, as the live one may.
  if (secondary && previous != nullptr &&
      !host::IsInstanceOf(previous, game::kDinoStaticClass)) {
    return nullptr;
  }
  return previous;
}

}  // namespace ck::transfer
