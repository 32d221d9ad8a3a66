#include "transfer/companion_discovery.h"

#include "host/game_access.h"
#include "host/names.h"
#include "host/weak_pointer.h"

namespace ck::transfer {

namespace {

void Merge(CompanionList& list, APrimalDinoCharacter* creature, bool mounted, bool carried, bool secondary) {
  if (creature == nullptr) return;
  for (AttachedCompanion& record : list) {
    if (record.creature != creature) continue;
    record.mounted = record.mounted || mounted;
    record.carried = record.carried || carried;
    record.secondary = record.secondary || secondary;
    return;
  }
  list.push_back(AttachedCompanion{creature, mounted, carried, secondary});
}

}  // namespace

bool IsInstanceOf(const void* object, const char* static_class_key) {
  if (object == nullptr) return false;
  UClass* cls = host::ClassOf(static_cast<const UObject*>(object));
  if (cls == nullptr) return false;
  UClass* base = host::GameFunction<UClass*()>(static_class_key)();
  return host::GameFunction<bool(UClass*, UClass*)>("UStruct.IsChildOf(UStruct*)")(cls, base);
}

bool ListHolds(const CompanionList& list, const APrimalDinoCharacter* creature) {
  for (const AttachedCompanion& record : list) {
    if (record.creature == creature) return true;
  }
  return false;
}

CompanionList CollectAttachedCompanions(AShooterCharacter* pawn) {
  CompanionList list;
  if (pawn == nullptr) return list;
  Merge(list, host::ResolveWeakField<APrimalDinoCharacter>(pawn, "AShooterCharacter.RidingDino"), true, false, false);
  Merge(list, host::ResolveWeakField<APrimalDinoCharacter>(pawn, "APrimalCharacter.MountedDino"), true, false, false);
  Merge(list,
        host::GameFunction<APrimalDinoCharacter*(AShooterCharacter*)>("AShooterCharacter.GetRidingDino()")(pawn),
        true, false, false);
  Merge(list, host::ResolveWeakField<APrimalDinoCharacter>(pawn, "APrimalCharacter.CarryingDino"), false, true, false);
  AActor* secondary =
      host::GameFunction<AActor*(AShooterCharacter*)>("AShooterCharacter.GetSecondaryMountedActor()")(pawn);
  if (secondary != nullptr && IsInstanceOf(secondary, "APrimalDinoCharacter.GetPrivateStaticClass()")) {
    Merge(list, reinterpret_cast<APrimalDinoCharacter*>(secondary), true, false, true);
  }
  return list;
}

APrimalDinoCharacter* GetPreviousCompanion(APrimalCharacter* pawn, bool secondary) {
  if (pawn == nullptr) return nullptr;
  return host::ResolveWeakField<APrimalDinoCharacter>(
      pawn, secondary ? "APrimalCharacter.PreviousSecondaryMountedDino" : "APrimalCharacter.PreviousMountedDino");
}

}  // namespace ck::transfer
