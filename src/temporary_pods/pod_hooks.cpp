#include "temporary_pods/pod_hooks.h"

namespace ck::temporary_pods {

// The use and release observation hooks into these callbacks; until then
// they hand every call straight to the game.

void UseItemHook::Detour(AShooterPlayerController* controller, UPrimalInventoryComponent* inventory, FItemNetID id,
                         int option) {
  original(controller, inventory, id, option);
}

void UseItemWithActorHook::Detour(AShooterPlayerController* controller, AActor* actor,
                                  UPrimalInventoryComponent* inventory, FItemNetID id, int option) {
  original(controller, actor, inventory, id, option);
}

void MulticastDelegateHook::Detour(void* delegate, void* params) { original(delegate, params); }

}  // namespace ck::temporary_pods
