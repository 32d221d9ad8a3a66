#include "capture/vanilla_capture.h"

#include "host/framework/framework.h"
#include "host/engine/class_loading.h"
#include "capture/create_item.h"
#include "capture/inventory_insertion.h"
#include "capture/notify_player.h"
#include "capture/shoulder_slot.h"
#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "core/boundary.h"
#include "host/engine/custom_item_record.h"
#include "host/engine/array.h"
#include "host/framework/engine_text.h"
#include "host/game/catalogue.h"
#include "host/engine/names.h"
#include "config/class_cache.h"
#include "core/log.h"
#include "temporary_pods/custom_item_data.h"

namespace ck::capture {

namespace {

void UpdatedItem(UPrimalItem* item, bool a, bool b) { game::kItemUpdatedItem(item, a, b); }

void NotifyFailed(AShooterPlayerController* controller) {
  NotifyPlayer(controller, config::Current().Messages.CaptureFailed);
}

}  // namespace

bool CaptureWithVanillaCryopod(AShooterCharacter* pawn, AShooterPlayerController* controller,
                               const AttachedCompanion& companion) {
  const config::PluginConfig& settings = config::Current();
  APrimalDinoCharacter* creature = companion.creature;

  UClass* pod_class = host::LoadCachedClass(config::Classes().VanillaCryopodClass, settings.VanillaCryopodBlueprint);
  if (pod_class == nullptr) {
    log::Warn("Cradlekeep failed to load vanilla cryopod class: {}", settings.VanillaCryopodBlueprint);
    NotifyFailed(controller);
    return false;
  }

  UPrimalItem* new_item = CreateItemOfClass(pod_class);
  if (new_item == nullptr) {
    NotifyFailed(controller);
    return false;
  }

  host::OwnedCustomItemData cryo_data;
  FCustomItemData* filled = game::kGetCryoDinoData(cryo_data.get(), reinterpret_cast<UObject*>(creature), creature);
  if (filled == nullptr) {
    NotifyFailed(controller);
    log::Warn("Cradlekeep failed to build vanilla cryopod dino data");
    return false;
  }

  game::kItemSetCustomItemData(new_item, cryo_data.get());
  // The creature is destroyed further down: make sure its data really is in
  // the pod first, or it would be gone for good.
  if (!temporary_pods::HasCreaturePayload(new_item)) {
    NotifyFailed(controller);
    log::Warn("Cradlekeep failed to build vanilla cryopod dino data");
    return false;
  }
  temporary_pods::MarkTemporaryPod(new_item);

  UPrimalItem* placed = InsertPodIntoInventory(pawn, controller, new_item);
  if (placed == nullptr) {
    NotifyFailed(controller);
    log::Warn("Cradlekeep captured dino data but failed to add vanilla cryopod to player inventory");
    return false;
  }

  game::kItemUploadEarliestValidTime.Write(placed, 0.0);
  UpdatedItem(placed, false, false);

  if (UWorld* world = host::CurrentWorld()) {
    const float remaining = game::kItemGetTimeUntilUploadAllowed(placed, world);
    const bool ready = game::kItemIsReadyToUpload(placed, world);
    log::Trace("Cradlekeep prepared temporary vanilla cryopod for immediate upload ready={} remaining={}", ready,
               remaining);
  }

  // The pod with the creature's data is in the inventory: the creature goes
  // even when clearing its slot fails, or the player would keep it twice.
  std::exception_ptr slot_failure;
  if (settings.ClearShoulderMountAfterCapture && pawn != nullptr) {
    core::Attempt([&] { ClearShoulderSlot(reinterpret_cast<APrimalCharacter*>(pawn), companion); }, slot_failure);
  }
  game::kDinoDestroy(creature, true, false);
  if (slot_failure) std::rethrow_exception(slot_failure);
  return true;
}

}  // namespace ck::capture
