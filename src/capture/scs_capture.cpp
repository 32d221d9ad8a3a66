#include "capture/scs_capture.h"

#include "host/framework.h"
#include "capture/class_loading.h"
#include "capture/create_item.h"
#include "capture/inventory_insertion.h"
#include "capture/notify_player.h"
#include "capture/shoulder_slot.h"
#include "config/plugin_config.h"
#include "host/engine_array.h"
#include "host/game.h"
#include "host/names.h"
#include "plugin/class_cache.h"
#include "plugin/log.h"

namespace ck::capture {

AActor* FindScsCaptureActor() {
  UWorld* world = host::CurrentWorld();
  if (world == nullptr) return nullptr;
  const config::PluginConfig& settings = config::Current();
  UClass* actor_class = LoadCachedClass(plugin::Classes().ScsCaptureActorClass, settings.ScsCaptureActorBlueprint);
  if (actor_class == nullptr) {
    log::Warn("Cradlekeep failed to load SCS capture actor class: {}", settings.ScsCaptureActorBlueprint);
    return nullptr;
  }
  TArray<AActor*> actors{nullptr, 0, 0};
  game::kGetAllActorsOfClass(reinterpret_cast<UObject*>(world), actor_class, &actors);
  AActor* first = actors.Num() > 0 ? actors[0] : nullptr;
  host::FreeArray(actors);
  return first;
}

bool InvokeCaptureDino(AActor* capture_actor, APrimalDinoCharacter* creature, UPrimalItem* pod) {
  if (capture_actor == nullptr || creature == nullptr || pod == nullptr) return false;
  UClass* actor_class = host::ClassOf(reinterpret_cast<const UObject*>(capture_actor));
  if (actor_class == nullptr) return false;
  const FName name = host::MakeName("CaptureDino", FNAME_Find);
  UFunction* function = game::kClassFindFunctionByName(actor_class, name, EIncludeSuperFlag::ExcludeSuper);
  if (function == nullptr) {
    log::Warn("Cradlekeep SCS capture actor has no CaptureDino function");
    return false;
  }
  CaptureDinoParams params{creature, pod, 0, 1, {0, 0, 0, 0, 0, 0}};
  game::kActorProcessEvent(capture_actor, function, &params);
  return true;
}

bool CaptureWithScsCryopod(AShooterCharacter* pawn, AShooterPlayerController* controller,
                           const transfer::AttachedCompanion& companion) {
  const config::PluginConfig& settings = config::Current();
  AActor* actor = FindScsCaptureActor();

  UPrimalItem* pod = nullptr;
  UClass* pod_class = LoadCachedClass(plugin::Classes().ScsCryopodClass, settings.ScsCryopodBlueprint);
  if (pod_class == nullptr) {
    log::Warn("Cradlekeep failed to load SCS cryopod class: {}", settings.ScsCryopodBlueprint);
  } else {
    pod = CreateItemOfClass(pod_class);
  }

  if (actor != nullptr && pod != nullptr && InvokeCaptureDino(actor, companion.creature, pod)) {
    if (settings.ClearShoulderMountAfterCapture && pawn != nullptr) {
      try {
        ClearShoulderSlot(reinterpret_cast<APrimalCharacter*>(pawn), companion);
      } catch (...) {
        // The creature is in the pod now: the pod must reach the inventory
        // whatever happened to the slot, or the creature would be gone.
        try {
          InsertPodIntoInventory(pawn, controller, pod);
        } catch (...) {
        }
        throw;
      }
    }
    if (InsertPodIntoInventory(pawn, controller, pod) != nullptr) return true;
    NotifyPlayer(controller, settings.Messages.CaptureFailed);
    log::Warn("Cradlekeep captured dino but failed to add SCS pod to player inventory");
    return false;
  }
  NotifyPlayer(controller, settings.Messages.CaptureFailed);
  return false;
}

}  // namespace ck::capture
