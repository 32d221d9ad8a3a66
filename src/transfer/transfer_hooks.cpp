#include "transfer/transfer_hooks.h"

#include <string>

#include "capture/text_helpers.h"
#include "core/text.h"
#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "host/engine/class_loading.h"
#include "host/game/catalogue.h"
#include "host/engine/names.h"
#include "core/log.h"
#include "transfer/companion_discovery.h"
#include "transfer/trigger.h"

namespace ck::transfer {

namespace {

// The Items+ transfer request: the command names the configured request and
// the sending actor looks like an Items+ actor.
bool ItemsPlusRequest(AActor* actor, const FName& command) {
  const config::PluginConfig& settings = config::Current();
  const std::string text = host::NameToUtf8(command);
  const bool matches = core::ContainsIgnoreCase(text, settings.ItemsPlusTransferNetExecCommand);
  if (matches && log::TraceEnabled()) {
    log::Info("Cradlekeep saw net exec command={} actor={}", text, capture::DescribeActor(actor));
  }
  if (!settings.Enabled || !settings.CaptureOnTransferButton || !settings.ItemsPlusCompatibility || !matches) {
    return false;
  }
  if (settings.ItemsPlusActorNameContains.empty()) return true;
  const std::string description = capture::DescribeActor(actor);
  for (const std::string& part : settings.ItemsPlusActorNameContains) {
    if (core::ContainsIgnoreCase(description, part)) return true;
  }
  return false;
}

}  // namespace

void TransferButtonHook::Before(AShooterPlayerController* controller) {
  TriggerCaptureForController(controller, "ShowTransferCharacterConfirmationDialog", "transferButton", false);
}

void TransferDialogResultHook::Before(AShooterGameMode* /*game_mode*/, bool accepted,
                                      AShooterPlayerController* controller) {
  if (accepted) TriggerCaptureForController(controller, "HandleTransferCharacterDialogResult", "transferDialog", false);
}

void TransferConfirmationHook::Before(AShooterPlayerController* controller, bool accepted) {
  if (accepted) TriggerCaptureForController(controller, "ServerTransferredPlayerConfirmationResult", "transferConfirmation", false);
}

void CharacterUploadHook::Before(AShooterPlayerController* controller, UPrimalInventoryComponent* /*inventory*/,
                                 int /*flags*/) {
  TriggerCaptureForController(controller, "ServerUploadCurrentCharacterAndItems", "characterUpload", true);
}

void ForceUploadHook::Before(AShooterPlayerController* controller) {
  TriggerCaptureForController(controller, "TryToForceUploadCharacter", "forcedUpload", false);
}

void DropNotReadyHook::Before(AShooterPlayerController* controller) {
  TriggerCaptureForController(controller, "ServerDropAllNotReadyForUploadItems", "dropNotReady", false);
}

void ItemsPlusNetExecHook::Before(APrimalPlayerController* controller, AActor* actor, FName command,
                                  FBPNetExecParams* /*params*/) {
  if (ItemsPlusRequest(actor, command)) {
    TriggerCaptureForController(reinterpret_cast<AShooterPlayerController*>(controller),
                                "ItemsPlus EXECTransferRequest", "itemsPlus", false);
  }
}

void ClearCarriedHook::Before(AShooterCharacter* character, bool /*first*/, bool /*second*/) {
  ObserveShoulderDetach(reinterpret_cast<APrimalCharacter*>(character), "AShooterCharacter.ClearCarryingDino", "carriedDetach", false,
                        false);
}

void ClearMountedHook::Before(APrimalCharacter* character, bool first, bool /*second*/) {
  if (host::IsInstanceOf(character, game::kShooterCharacterStaticClass)) {
    ObserveShoulderDetach(character, "APrimalCharacter.ClearMountedDino", "mountedDetach", first, true);
  }
}

void ClearMountedOneFlagHook::Before(APrimalCharacter* character, bool /*from_mounted_dino*/) {
  if (host::IsInstanceOf(character, game::kShooterCharacterStaticClass)) {
    ObserveShoulderDetach(character, "APrimalCharacter.ClearMountedDino", "mountedDetach", false, true);
  }
}

}  // namespace ck::transfer
