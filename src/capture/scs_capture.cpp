#include "capture/scs_capture.h"

#include <string>

#include "host/framework/framework.h"
#include "host/engine/class_loading.h"
#include "capture/create_item.h"
#include "capture/inventory_insertion.h"
#include "capture/pod_take_back.h"
#include "capture/shoulder_slot.h"
#include "config/plugin_config.h"
#include "core/boundary.h"
#include "state/plugin_state.h"
#include "host/engine/array.h"
#include "host/game/catalogue.h"
#include "host/engine/names.h"
#include "host/engine/weak_pointer.h"
#include "config/class_cache.h"
#include "core/log.h"

namespace ck::capture {

AActor* FindScsCaptureActor() {
  UWorld* world = host::CurrentWorld();
  if (world == nullptr) return nullptr;
  const config::PluginConfig& settings = config::Current();
  config::ClassCache& classes = config::Classes();
  UClass* actor_class = classes.Load(classes.ScsCaptureActorClass, settings.ScsCaptureActorBlueprint);
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
  state::TurnOffPart(host::Part::kScsCapture, "the cryopod mod's CaptureDino takes " + std::to_string(size) +
                                                  " bytes of parameters, the plugin lays out " +
                                                  std::to_string(sizeof(CaptureDinoParams)));
  return false;
}

void InvokeCaptureDino(AActor* capture_actor, UFunction* capture_dino, APrimalDinoCharacter* creature,
                       UPrimalItem* pod) {
  CaptureDinoParams params{creature, pod, 0, 1, {0, 0, 0, 0, 0, 0}};
  game::kActorProcessEvent(capture_actor, capture_dino, &params);
}

namespace {

// Empties the podded companion's slot; a failure goes on with the outcome,
// or, when one already does, is told here: only the first goes on.
void ClearPoddedSlot(AShooterCharacter* pawn, const AttachedCompanion& companion, CaptureOutcome& outcome) {
  std::exception_ptr slot_failure;
  core::Attempt([&] { ClearShoulderSlot(reinterpret_cast<APrimalCharacter*>(pawn), companion); }, slot_failure);
  if (!outcome.failure_after) {
    outcome.failure_after = slot_failure;
  } else if (slot_failure) {
    log::Warn("Cradlekeep could not clear the captured companion's slot: {}", core::FailureText(slot_failure));
  }
}

}  // namespace

CaptureOutcome CaptureWithScsCryopod(AShooterCharacter* pawn, AShooterPlayerController* controller,
                                     const AttachedCompanion& companion) {
  const config::PluginConfig& settings = config::Current();
  AActor* actor = FindScsCaptureActor();

  UPrimalItem* pod = nullptr;
  config::ClassCache& classes = config::Classes();
  UClass* pod_class = classes.Load(classes.ScsCryopodClass, settings.ScsCryopodBlueprint);
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
  // The capture must be able to see afterwards whether the mod took the
  // creature out of the world.
  const FWeakObjectPtr creature_ref = host::MakeWeak(companion.creature);
  if (host::ResolveWeak(&creature_ref) != reinterpret_cast<UObject*>(companion.creature)) {
    log::Warn("Cradlekeep could not keep track of the companion through its capture; it was not captured");
    return CaptureOutcome::Left("the capture could not keep track of the creature");
  }
  UPrimalItem* placed = InsertPodIntoInventory(pawn, controller, pod);
  if (placed == nullptr) {
    log::Warn("Cradlekeep could not add SCS pod to player inventory; the companion was not captured");
    return CaptureOutcome::Left("no room in the inventory");
  }
  // The mod takes the creature out of the world as it pods it: whether the
  // creature is still there tells whether it went, also when the mod's
  // capture (or a game function it called) failed on the way.
  std::exception_ptr capture_failure;
  core::Attempt([&] { InvokeCaptureDino(actor, capture_dino, companion.creature, placed); }, capture_failure);
  if (CreatureRemains(std::nullopt, creature_ref)) {
    // Still in the world: the pod holds nothing of it and goes back out.
    TakePodBack(game::kCharacterInventory.Read(pawn), placed);
    if (capture_failure) std::rethrow_exception(capture_failure);
    log::Warn("Cradlekeep the cryopod mod did not take the companion; its empty pod was taken back out");
    return CaptureOutcome::Left("the cryopod mod did not take the creature");
  }
  // The creature is in its pod now: a failure on the way, or one clearing
  // its slot, goes on after the companion's fate is told.
  CaptureOutcome outcome = CaptureOutcome::Podded(PodId(placed));
  outcome.failure_after = capture_failure;
  if (settings.ClearShoulderMountAfterCapture && pawn != nullptr) ClearPoddedSlot(pawn, companion, outcome);
  return outcome;
}

}  // namespace ck::capture
