// The hooked game functions through which the plugin sees a temporary pod
// being used and a creature being released from it.
#pragma once

#include "asa/engine_types.h"
#include "host/game.h"
#include "plugin/hook_site.h"

namespace ck::temporary_pods {

struct UseItemHook : plugin::HookSite<UseItemHook, game::kServerRequestInventoryUseItem> {
  static void Detour(AShooterPlayerController* controller, UPrimalInventoryComponent* inventory, FItemNetID id,
                     int option);
};

struct UseItemWithActorHook : plugin::HookSite<UseItemWithActorHook, game::kServerRequestInventoryUseItemWithActor> {
  static void Detour(AShooterPlayerController* controller, AActor* actor, UPrimalInventoryComponent* inventory,
                     FItemNetID id, int option);
};

struct MulticastDelegateHook : plugin::HookSite<MulticastDelegateHook, game::kProcessMulticastDelegate> {
  static void Detour(void* delegate, void* params);
};

}  // namespace ck::temporary_pods
