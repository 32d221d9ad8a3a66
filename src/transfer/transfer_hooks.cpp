#include "transfer/transfer_hooks.h"

#include <string>

#include "capture/text_helpers.h"
#include "config/plugin_config.h"
#include "host/game.h"
#include "host/names.h"
#include "plugin/catch_all.h"
#include "plugin/log.h"
#include "transfer/companion_discovery.h"
#include "transfer/trigger.h"

namespace ck::transfer {

namespace {

// Runs a hook's own work; a failure is logged at error level as
// "Cradlekeep <hook name> hook failed: ..." and goes no further.
template <typename Work>
void Guarded(const char* hook_name, Work work) {
  plugin::CatchAll(work, [&](const char* what) { log::Error("Cradlekeep {} hook failed: {}", hook_name, what); });
}

// The Items+ transfer request: the command names the configured request and
// the sending actor looks like an Items+ actor.
bool ItemsPlusRequest(AActor* actor, const FName& command) {
  const config::PluginConfig& settings = config::Current();
  const std::string text = host::NameToUtf8(command);
  const bool matches = capture::ContainsIgnoreCase(text, settings.ItemsPlusTransferNetExecCommand);
  if (matches && log::TraceEnabled()) {
    log::Info("Cradlekeep saw net exec command={} actor={}", text, capture::DescribeActor(actor));
  }
  if (!settings.Enabled || !settings.CaptureOnTransferButton || !settings.ItemsPlusCompatibility || !matches) {
    return false;
  }
  if (settings.ItemsPlusActorNameContains.empty()) return true;
  const std::string description = capture::DescribeActor(actor);
  for (const std::string& part : settings.ItemsPlusActorNameContains) {
    if (capture::ContainsIgnoreCase(description, part)) return true;
  }
  return false;
}

}  // namespace

void TransferButtonHook::Detour(AShooterPlayerController* controller) {
  Guarded("transfer button",
          [&] { TriggerCaptureForController(controller, "ShowTransferCharacterConfirmationDialog", false); });
  original(controller);
}

void TransferDialogResultHook::Detour(AShooterGameMode* game_mode, bool accepted,
                                      AShooterPlayerController* controller) {
  if (accepted) {
    Guarded("transfer dialog result",
            [&] { TriggerCaptureForController(controller, "HandleTransferCharacterDialogResult", false); });
  }
  original(game_mode, accepted, controller);
}

void TransferConfirmationHook::Detour(AShooterPlayerController* controller, bool accepted) {
  if (accepted) {
    Guarded("transfer confirmation result",
            [&] { TriggerCaptureForController(controller, "ServerTransferredPlayerConfirmationResult", false); });
  }
  original(controller, accepted);
}

void CharacterUploadHook::Detour(AShooterPlayerController* controller, UPrimalInventoryComponent* inventory,
                                 int flags) {
  Guarded("character upload",
          [&] { TriggerCaptureForController(controller, "ServerUploadCurrentCharacterAndItems", true); });
  original(controller, inventory, flags);
}

void ForceUploadHook::Detour(AShooterPlayerController* controller) {
  Guarded("force upload", [&] { TriggerCaptureForController(controller, "TryToForceUploadCharacter", false); });
  original(controller);
}

void DropNotReadyHook::Detour(AShooterPlayerController* controller) {
  Guarded("drop not-ready upload",
          [&] { TriggerCaptureForController(controller, "ServerDropAllNotReadyForUploadItems", false); });
  original(controller);
}

void ItemsPlusNetExecHook::Detour(APrimalPlayerController* controller, AActor* actor, FName command,
                                  FBPNetExecParams* params) {
  Guarded("Items+ net exec", [&] {
    if (ItemsPlusRequest(actor, command)) {
      TriggerCaptureForController(reinterpret_cast<AShooterPlayerController*>(controller),
                                  "ItemsPlus EXECTransferRequest", false);
    }
  });
  original(controller, actor, command, params);
}

void ClearCarriedHook::Detour(AShooterCharacter* character, bool first, bool second) {
  Guarded("carried-slot detach", [&] {
    ObserveShoulderDetach(reinterpret_cast<APrimalCharacter*>(character), "AShooterCharacter.ClearCarryingDino", false,
                          false);
  });
  original(character, first, second);
}

void ClearMountedHook::Detour(APrimalCharacter* character, bool first, bool second) {
  Guarded("mounted-slot detach", [&] {
    if (IsInstanceOf(character, game::kShooterCharacterStaticClass)) {
      ObserveShoulderDetach(character, "APrimalCharacter.ClearMountedDino", first, true);
    }
  });
  original(character, first, second);
}

}  // namespace ck::transfer
