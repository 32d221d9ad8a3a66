#include "capture/scs_capture.h"

#include "host/framework/framework.h"
#include "host/engine/class_loading.h"
#include "capture/create_item.h"
#include "capture/inventory_insertion.h"
#include "capture/shoulder_slot.h"
#include "config/plugin_config.h"
#include "core/boundary.h"
#include "state/plugin_state.h"
#include "host/engine/array.h"
#include "host/game/catalogue.h"
#include "host/engine/names.h"
#include "config/class_cache.h"
#include "core/log.h"

namespace ck::capture {

AActor* FindScsCaptureActor() {
  UWorld* world = host::CurrentWorld();
  if (world == nullptr) return nullptr;
  const config::PluginConfig& settings = config::Current();
  UClass* actor_class = host::LoadCachedClass(config::Classes().ScsCaptureActorClass, settings.ScsCaptureActorBlueprint);
  if (actor_class == nullptr) {
    log::Warn("Cradlekeep failed to load SCS capture actor class: {}", settings.ScsCaptureActorBlueprint);
    return nullptr;
  }
  TArray<AActor*> actors{nullptr, 0, 0};
  TSubclassOf<AActor> filter{actor_class};
  game::kGetAllActorsOfClass(reinterpret_cast<UObject*>(world), &filter, &actors);
  AActor* first = actors.Num() > 0 ? actors[0] : nullptr;
  host::FreeArray(actors);
  return first;
}

UFunction* FindCaptureDino(AActor* capture_actor) {
  if (capture_actor == nullptr) return nullptr;
  UClass* actor_class = host::ClassOf(reinterpret_cast<const UObject*>(capture_actor));
  if (actor_class == nullptr) return nullptr;
  const FName name = host::MakeName("CaptureDino", FNAME_Find);
  UFunction* function = game::kClassFindFunctionByName(actor_class, name, EIncludeSuperFlag::ExcludeSuper);
  if (function == nullptr) log::Warn("Cradlekeep SCS capture actor has no CaptureDino function");
  return function;
}

bool CaptureDinoTakesKnownBlock(UFunction* capture_dino) {
  const uint16 size = game::kFunctionParmsSize.Read(capture_dino);
  if (size == sizeof(CaptureDinoParams)) return true;
  log::Error(
      "Cradlekeep SCS capture is off until the plugin is loaded again: the cryopod mod's CaptureDino takes {} bytes "
      "of parameters, the plugin lays out {}",
      size, sizeof(CaptureDinoParams));
  state::Current().parts_on.Remove(host::Part::kScsCapture);
  return false;
}

void InvokeCaptureDino(AActor* capture_actor, UFunction* capture_dino, APrimalDinoCharacter* creature,
                       UPrimalItem* pod) {
  CaptureDinoParams params{creature, pod, 0, 1, {0, 0, 0, 0, 0, 0}};
  game::kActorProcessEvent(capture_actor, capture_dino, &params);
}

CaptureOutcome CaptureWithScsCryopod(AShooterCharacter* pawn, AShooterPlayerController* controller,
                                     const AttachedCompanion& companion) {
  const config::PluginConfig& settings = config::Current();
  AActor* actor = FindScsCaptureActor();

  UPrimalItem* pod = nullptr;
  UClass* pod_class = host::LoadCachedClass(config::Classes().ScsCryopodClass, settings.ScsCryopodBlueprint);
  if (pod_class == nullptr) {
    log::Warn("Cradlekeep failed to load SCS cryopod class: {}", settings.ScsCryopodBlueprint);
    return CaptureOutcome::Left("the SCS cryopod class did not load");
  }
  pod = CreateItemOfClass(pod_class);
  if (actor == nullptr) return CaptureOutcome::Left("no capture actor of the cryopod mod in the world");
  UFunction* capture_dino = pod != nullptr && companion.creature != nullptr ? FindCaptureDino(actor) : nullptr;
  if (capture_dino == nullptr || !CaptureDinoTakesKnownBlock(capture_dino)) {
    return CaptureOutcome::Left("the cryopod mod's capture is not available");
  }

  // The mod takes the creature out of the world into the pod, and nothing
  // but the pod holds it afterwards. So the pod goes into the inventory
  // first, while it is still empty, and the creature follows only into a pod
  // that has its place: a full inventory, or any other failure to place the
  // pod, leaves the companion on its shoulder.
  UPrimalItem* placed = InsertPodIntoInventory(pawn, controller, pod);
  if (placed == nullptr) {
    log::Warn("Cradlekeep could not add SCS pod to player inventory; the companion was not captured");
    return CaptureOutcome::Left("no room in the inventory");
  }
  InvokeCaptureDino(actor, capture_dino, companion.creature, placed);
  // The creature is in its pod now: a failure to clear its slot goes on
  // after the companion's fate is told.
  CaptureOutcome outcome = CaptureOutcome::Podded(PodId(placed));
  if (settings.ClearShoulderMountAfterCapture && pawn != nullptr) {
    core::Attempt([&] { ClearShoulderSlot(reinterpret_cast<APrimalCharacter*>(pawn), companion); },
                  outcome.failure_after);
  }
  return outcome;
}

}  // namespace ck::capture
