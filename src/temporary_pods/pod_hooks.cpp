#include "temporary_pods/pod_hooks.h"

#include "temporary_pods/cryo_sickness.h"
#include "temporary_pods/uncryo_delegates.h"

namespace ck::temporary_pods {

void UseItemHook::Before(Note& note, AShooterPlayerController* controller, UPrimalInventoryComponent* inventory,
                         FItemNetID id, int /*option*/) {
  RefreshUnCryoDelegates();
  ObserveTemporaryPodUse(controller, inventory, id, "ServerRequestInventoryUseItem", note);
}

void UseItemHook::After(const Note& note, AShooterPlayerController* controller, UPrimalInventoryComponent* /*inventory*/,
                        FItemNetID /*id*/, int /*option*/) {
  if (note.used) ClearNearbyCryoSickness(controller, "temporary vanilla cryopod use");
}

void UseItemWithActorHook::Before(Note& note, AShooterPlayerController* controller, AActor* /*actor*/,
                                  UPrimalInventoryComponent* inventory, FItemNetID id, int /*option*/) {
  RefreshUnCryoDelegates();
  ObserveTemporaryPodUse(controller, inventory, id, "ServerRequestInventoryUseItemWithActor", note);
}

void UseItemWithActorHook::After(const Note& note, AShooterPlayerController* controller, AActor* /*actor*/,
                                 UPrimalInventoryComponent* /*inventory*/, FItemNetID /*id*/, int /*option*/) {
  if (note.used) ClearNearbyCryoSickness(controller, "temporary vanilla cryopod use");
}

void MulticastDelegateHook::Before(Note& note, void* delegate, void* params) {
  const UnCryoDelegateFields& fields = DelegateFields();
  if (delegate == nullptr || !ResolveUnCryoDelegates()) return;
  if (delegate != fields.try_field && delegate != fields.post_field) return;
  // Only a match pays for the comparison with the current game mode; it may
  // resolve the fields again, so the delegate is compared anew below.
  if (!FollowCurrentGameMode()) return;
  if (delegate == fields.try_field) {
    note = Note::kTry;
    if (params != nullptr) HandleTryUnCryo(params);
  } else if (delegate == fields.post_field) {
    note = Note::kPost;
  }
}

void MulticastDelegateHook::After(const Note& note, void* /*delegate*/, void* params) {
  if (note == Note::kPost && params != nullptr) HandlePostUnCryo(params);
}

}  // namespace ck::temporary_pods
