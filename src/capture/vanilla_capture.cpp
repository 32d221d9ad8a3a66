#include "capture/vanilla_capture.h"

#include <exception>
#include <optional>
#include <string>

#include "host/framework/framework.h"
#include "host/engine/class_loading.h"
#include "capture/create_item.h"
#include "capture/inventory_insertion.h"
#include "capture/pod_take_back.h"
#include "capture/shoulder_slot.h"
#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "core/boundary.h"
#include "host/engine/custom_item_record.h"
#include "host/engine/array.h"
#include "host/framework/engine_text.h"
#include "host/game/catalogue.h"
#include "host/engine/names.h"
#include "host/engine/weak_pointer.h"
#include "config/class_cache.h"
#include "core/log.h"
#include "temporary_pods/custom_item_data.h"

namespace ck::capture {

namespace {

void UpdatedItem(UPrimalItem* item, bool a, bool b) { game::kItemUpdatedItem(item, a, b); }

// A new vanilla cryopod holding the creature's data, marked temporary; null
// (a warn line written, `why` saying what failed) when any step fails. The
// game fills `cryo_data` for it; the caller releases that record when the
// whole capture is done.
UPrimalItem* FilledTemporaryPod(APrimalDinoCharacter* creature, host::OwnedCustomItemData& cryo_data,
                                std::string& why) {
  const config::PluginConfig& settings = config::Current();
  config::ClassCache& classes = config::Classes();
  UClass* pod_class = classes.Load(classes.VanillaCryopodClass, settings.VanillaCryopodBlueprint);
  if (pod_class == nullptr) {
    log::Warn("Cradlekeep failed to load vanilla cryopod class: {}", settings.VanillaCryopodBlueprint);
    why = "the vanilla cryopod class did not load";
    return nullptr;
  }

  UPrimalItem* new_item = CreateItemOfClass(pod_class);
  if (new_item == nullptr) {
    why = "the game made no cryopod";
    return nullptr;
  }

  FCustomItemData* filled = game::kGetCryoDinoData(cryo_data.get(), reinterpret_cast<UObject*>(creature), creature);
  if (filled == nullptr) {
    log::Warn("Cradlekeep failed to build vanilla cryopod dino data");
    why = "the game gave no cryo data for the creature";
    return nullptr;
  }

  game::kItemSetCustomItemData(new_item, cryo_data.get());
  // The creature is destroyed once the pod is placed: make sure its data
  // really is in the pod first, or it would be gone for good.
  if (!temporary_pods::HasCreaturePayload(new_item)) {
    log::Warn("Cradlekeep failed to build vanilla cryopod dino data");
    why = "the game gave no cryo data for the creature";
    return nullptr;
  }
  temporary_pods::MarkTemporaryPod(new_item);
  return new_item;
}

// Makes a placed pod uploadable at once and traces its readiness. Neither
// decides where the creature is: a failure of either is told and the
// capture goes on (a pod whose upload time was not reset waits for it, with
// the creature inside all the same). The readiness is asked for whatever the
// debug switch says.
void ReadyForUpload(UPrimalItem* placed) {
  core::Contain(
      [&] {
        game::kItemUploadEarliestValidTime.Write(placed, 0.0);
        UpdatedItem(placed, false, false);
      },
      [](const char* what) { log::Warn("Cradlekeep could not make the vanilla cryopod uploadable at once: {}", what); });
  core::Contain(
      [&] {
        UWorld* world = host::CurrentWorld();
        if (world == nullptr) return;
        const float remaining = game::kItemGetTimeUntilUploadAllowed(placed, world);
        const bool ready = game::kItemIsReadyToUpload(placed, world);
        log::Trace("Cradlekeep prepared temporary vanilla cryopod for immediate upload ready={} remaining={}", ready,
                   remaining);
      },
      [](const char* what) { log::Warn("Cradlekeep could not read the vanilla cryopod's upload readiness: {}", what); });
}

// The pod with the creature's data is in the inventory: the creature goes,
// also when clearing its slot failed. A creature that stays gets its pod
// taken back out (false; a failure of the destroy then goes on to the
// caller). When the capture stands, a failure of the destroy, else of the
// slot clearing, is handed back in `after`; a slot clearing's failure that
// does not go on is told here, or it would pass without a line.
bool DestroyPoddedCreature(AShooterCharacter* pawn, APrimalDinoCharacter* creature,
                           const FWeakObjectPtr& creature_ref, UPrimalItem* placed,
                           const std::exception_ptr& slot_failure, std::exception_ptr& after) {
  std::optional<bool> destroyed;
  std::exception_ptr destroy_failure;
  core::Attempt([&] { destroyed = game::kDinoDestroy(creature, true, false); }, destroy_failure);
  const bool remains = CreatureRemains(destroyed, creature_ref);
  if (slot_failure && (destroy_failure || remains)) {
    log::Warn("Cradlekeep could not clear the captured companion's slot: {}", core::FailureText(slot_failure));
  }
  if (remains) {
    TakePodBack(game::kCharacterInventory.Read(pawn), placed);
    if (destroy_failure) std::rethrow_exception(destroy_failure);
    log::Warn("Cradlekeep could not take the podded companion out of the world; its pod was taken back out");
    return false;
  }
  // The creature is in its pod: a failure on the way goes on after the
  // companion's fate is told.
  after = destroy_failure ? destroy_failure : slot_failure;
  return true;
}

}  // namespace

CaptureOutcome CaptureWithVanillaCryopod(AShooterCharacter* pawn, AShooterPlayerController* controller,
                                         const AttachedCompanion& companion) {
  APrimalDinoCharacter* creature = companion.creature;
  // The capture must be able to see afterwards whether the creature left
  // the world, or a creature that stayed could be in its pod as well.
  const FWeakObjectPtr creature_ref = host::MakeWeak(creature);
  if (host::ResolveWeak(&creature_ref) != reinterpret_cast<UObject*>(creature)) {
    log::Warn("Cradlekeep could not keep track of the companion through its capture; it was not captured");
    return CaptureOutcome::Left("the capture could not keep track of the creature");
  }
  host::OwnedCustomItemData cryo_data;
  std::string why;
  UPrimalItem* new_item = FilledTemporaryPod(creature, cryo_data, why);
  if (new_item == nullptr) return CaptureOutcome::Left(why);

  UPrimalItem* placed = InsertPodIntoInventory(pawn, controller, new_item);
  if (placed == nullptr) {
    log::Warn("Cradlekeep captured dino data but failed to add vanilla cryopod to player inventory");
    return CaptureOutcome::Left("no room in the inventory");
  }
  // A pod counts as made once it reached the inventory.
  if (config::Current().TemporaryVanillaCryopods) ++state::Current().counters.pods_made;
  ReadyForUpload(placed);

  std::exception_ptr slot_failure;
  if (config::Current().ClearShoulderMountAfterCapture && pawn != nullptr) {
    core::Attempt([&] { ClearShoulderSlot(reinterpret_cast<APrimalCharacter*>(pawn), companion); }, slot_failure);
  }
  std::exception_ptr after;
  if (!DestroyPoddedCreature(pawn, creature, creature_ref, placed, slot_failure, after)) {
    return CaptureOutcome::Left("the creature stayed in the world; its pod was taken back out");
  }
  CaptureOutcome outcome = CaptureOutcome::Podded(PodId(placed));
  outcome.failure_after = after;
  return outcome;
}

}  // namespace ck::capture
