// The hooked game functions through which the plugin sees a temporary pod
// being used and a creature being released from it.
#pragma once

#include "asa/engine_types.h"
#include "plugin/hook_site.h"

namespace ck::temporary_pods {

struct UseItemHook
    : plugin::HookSite<UseItemHook, void(AShooterPlayerController*, UPrimalInventoryComponent*, FItemNetID, int)> {
  static constexpr const char* kKey =
      "AShooterPlayerController.ServerRequestInventoryUseItem_Implementation(UPrimalInventoryComponent*,FItemNetID,int)";
  static void Detour(AShooterPlayerController* controller, UPrimalInventoryComponent* inventory, FItemNetID id,
                     int option);
};

struct UseItemWithActorHook
    : plugin::HookSite<UseItemWithActorHook,
                       void(AShooterPlayerController*, AActor*, UPrimalInventoryComponent*, FItemNetID, int)> {
  static constexpr const char* kKey =
      "AShooterPlayerController.ServerRequestInventoryUseItemWithActor_Implementation(AActor*,"
      "UPrimalInventoryComponent*,FItemNetID,int)";
  static void Detour(AShooterPlayerController* controller, AActor* actor, UPrimalInventoryComponent* inventory,
                     FItemNetID id, int option);
};

struct MulticastDelegateHook : plugin::HookSite<MulticastDelegateHook, void(void*, void*)> {
  static constexpr const char* kKey =
      "TMulticastScriptDelegate<FNotThreadSafeDelegateMode>.ProcessMulticastDelegate<UObject>(void*)";
  static void Detour(void* delegate, void* params);
};

}  // namespace ck::temporary_pods
