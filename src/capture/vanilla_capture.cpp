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

// A new vanilla cryopod holding the creature's data, marked temporary; null
// (the player told, a warn line written) when any step fails. The game
// fills `cryo_data` for it; the caller releases that record when the whole
// capture is done.
UPrimalItem* FilledTemporaryPod(APrimalDinoCharacter* creature, AShooterPlayerController* controller,
                                host::OwnedCustomItemData& cryo_data) {
  const config::PluginConfig& settings = config::Current();
  UClass* pod_class = host::LoadCachedClass(config::Classes().VanillaCryopodClass, settings.VanillaCryopodBlueprint);
  if (pod_class == nullptr) {
    log::Warn("Cradlekeep failed to load vanilla cryopod class: {}", settings.VanillaCryopodBlueprint);
    NotifyFailed(controller);
    return nullptr;
  }

  UPrimalItem* new_item = CreateItemOfClass(pod_class);
  if (new_item == nullptr) {
    NotifyFailed(controller);
    return nullptr;
  }

  FCustomItemData* filled = game::kGetCryoDinoData(cryo_data.get(), reinterpret_cast<UObject*>(creature), creature);
  if (filled == nullptr) {
    NotifyFailed(controller);
    log::Warn("Cradlekeep failed to build vanilla cryopod dino data");
    return nullptr;
  }

  game::kItemSetCustomItemData(new_item, cryo_data.get());
  // The creature is destroyed once the pod is placed: make sure its data
  // really is in the pod first, or it would be gone for good.
  if (!temporary_pods::HasCreaturePayload(new_item)) {
    NotifyFailed(controller);
    log::Warn("Cradlekeep failed to build vanilla cryopod dino data");
    return nullptr;
  }
  temporary_pods::MarkTemporaryPod(new_item);
  return new_item;
}

// Makes a placed pod uploadable at once.
void ReadyForUpload(UPrimalItem* placed) {
  game::kItemUploadEarliestValidTime.Write(placed, 0.0);
  UpdatedItem(placed, false, false);
  if (UWorld* world = host::CurrentWorld()) {
    const float remaining = game::kItemGetTimeUntilUploadAllowed(placed, world);
    const bool ready = game::kItemIsReadyToUpload(placed, world);
    log::Trace("Cradlekeep prepared temporary vanilla cryopod for immediate upload ready={} remaining={}", ready,
               remaining);
  }
}

}  // namespace

bool CaptureWithVanillaCryopod(AShooterCharacter* pawn, AShooterPlayerController* controller,
                               const AttachedCompanion& companion) {
  APrimalDinoCharacter* creature = companion.creature;
  host::OwnedCustomItemData cryo_data;
  UPrimalItem* new_item = FilledTemporaryPod(creature, controller, cryo_data);
  if (new_item == nullptr) return false;

  UPrimalItem* placed = InsertPodIntoInventory(pawn, controller, new_item);
  if (placed == nullptr) {
    NotifyFailed(controller);
    log::Warn("Cradlekeep captured dino data but failed to add vanilla cryopod to player inventory");
    return false;
  }
  ReadyForUpload(placed);

  // The pod with the creature's data is in the inventory: the creature goes
  // even when clearing its slot fails, or the player would keep it twice.
  std::exception_ptr slot_failure;
  if (config::Current().ClearShoulderMountAfterCapture && pawn != nullptr) {
    core::Attempt([&] { ClearShoulderSlot(reinterpret_cast<APrimalCharacter*>(pawn), companion); }, slot_failure);
  }
  game::kDinoDestroy(creature, true, false);
  if (slot_failure) std::rethrow_exception(slot_failure);
  return true;
}

}  // namespace ck::capture
