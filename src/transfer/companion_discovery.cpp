#include "transfer/companion_discovery.h"

#include "host/engine/class_loading.h"
#include "host/game/catalogue.h"
#include "host/engine/names.h"
#include "host/engine/weak_pointer.h"
#include "state/part_step.h"
#include "state/plugin_state.h"

namespace ck::transfer {

namespace {

void Merge(capture::CompanionList& list, APrimalDinoCharacter* creature, bool mounted, bool carried, bool secondary,
           bool ridden = false) {
  if (creature == nullptr) return;
  for (capture::AttachedCompanion& record : list) {
    if (record.creature != creature) continue;
    record.mounted = record.mounted || mounted;
    record.carried = record.carried || carried;
    record.secondary = record.secondary || secondary;
    record.ridden = record.ridden || ridden;
    return;
  }
  list.push_back(capture::AttachedCompanion{creature, mounted, carried, secondary, ridden});
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
  const auto Look = [&](host::Part part, auto read, bool mounted, bool carried, bool secondary) {
    if (!state::PartOn(part)) return;
    Merge(list, state::UnlessPartGoesOff(part, read), mounted, carried, secondary, part == host::Part::kRiddenSlot);
  };
  Look(host::Part::kRiddenSlot, [&] { return host::ResolveWeak(game::kShooterCharacterRidingDino.In(pawn)); },
       true, false, false);
  Look(host::Part::kMountedSlot, [&] { return host::ResolveWeak(game::kCharacterMountedDino.In(pawn)); },
       true, false, false);
  Look(host::Part::kRiddenSlot, [&] { return game::kShooterCharacterGetRidingDino(pawn); }, true, false, false);
  Look(host::Part::kCarriedSlot, [&] { return host::ResolveWeak(game::kCharacterCarryingDino.In(pawn)); },
       false, true, false);
  Look(host::Part::kSecondarySlot, [&]() -> APrimalDinoCharacter* {
    AActor* secondary = game::kShooterCharacterGetSecondaryMountedActor(pawn);
    if (secondary == nullptr || !host::IsInstanceOf(secondary, game::kDinoStaticClass)) return nullptr;
    return reinterpret_cast<APrimalDinoCharacter*>(secondary);
  }, true, false, true);
  return list;
}

APrimalDinoCharacter* GetPreviousCompanion(APrimalCharacter* pawn, bool secondary) {
  const host::Part part = secondary ? host::Part::kPreviousSecondary : host::Part::kPreviousMounted;
  if (pawn == nullptr || !state::PartOn(part)) return nullptr;
  return state::UnlessPartGoesOff(part, [&]() -> APrimalDinoCharacter* {
    APrimalDinoCharacter* previous = host::ResolveWeak(
        (secondary ? game::kCharacterPreviousSecondaryMountedDino : game::kCharacterPreviousMountedDino).In(pawn));
    // A secondary slot may hold an actor that is no creature, as the live one may.
    if (secondary && previous != nullptr && !host::IsInstanceOf(previous, game::kDinoStaticClass)) return nullptr;
    return previous;
  });
}

}  // namespace ck::transfer
