#include "transfer/trigger.h"

#include "capture/capture_orchestration.h"
#include "capture/shoulder_slot.h"
#include "capture/text_helpers.h"
#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "host/engine/class_loading.h"
#include "host/game/catalogue.h"
#include "core/log.h"
#include "transfer/capture_cooldown.h"
#include "transfer/companion_discovery.h"

namespace ck::transfer {

void TriggerCaptureForController(AShooterPlayerController* controller, const std::string& label,
                                 std::string_view trigger, bool retrieve_previous_secondary) {
  const config::PluginConfig& settings = config::Current();
  if (!settings.Enabled || !settings.CaptureOnTransferButton || controller == nullptr) return;
  log::Trace("Cradlekeep transfer trigger fired: {}", label);
  // Only a player character has companion slots: a spectator's pawn, or
  // none, has nothing to capture.
  AShooterCharacter* pawn = host::PlayerCharacterOf(controller);
  if (pawn == nullptr) return;
  capture::CompanionList list = CollectAttachedCompanions(pawn);
  if (retrieve_previous_secondary) {
    APrimalDinoCharacter* previous = GetPreviousCompanion(reinterpret_cast<APrimalCharacter*>(pawn), true);
    if (previous != nullptr && !ListHolds(list, previous)) {
      list.push_back(capture::AttachedCompanion{previous, false, false, true, false});
      AActor* parent = game::kActorGetAttachParentActor(reinterpret_cast<AActor*>(previous));
      if (log::TraceEnabled()) {
        log::Info("Cradlekeep recovered previous secondary shoulder pet before upload pet={} parent={}",
                  capture::DescribeActor(previous), capture::DescribeActor(parent));
      }
    }
  }
  if (!list.empty() && PassesCaptureCooldown(pawn)) capture::CaptureAttachedCompanions(pawn, controller, list, trigger);
}

void ObserveShoulderDetach(APrimalCharacter* pawn, const std::string& label, std::string_view trigger, bool secondary,
                           bool check_previous) {
  if (pawn == nullptr || capture::CaptureInProgress()) return;
  auto* controller = game::kPawnGetOwnerController(pawn);
  const bool transferring =
      controller != nullptr && game::kPlayerControllerIsTransferringCharacter.Read(controller) != 0;
  const bool upload_terminal =
      controller != nullptr && game::kViewingAnUploadTerminal(reinterpret_cast<AShooterPlayerController*>(controller));

  auto* shooter = reinterpret_cast<AShooterCharacter*>(pawn);
  capture::CompanionList list = CollectAttachedCompanions(shooter);
  APrimalDinoCharacter* previous = nullptr;
  if (check_previous) {
    previous = GetPreviousCompanion(pawn, secondary);
    if (previous != nullptr && !ListHolds(list, previous)) {
      list.push_back(capture::AttachedCompanion{previous, false, false, secondary, false});
    }
  }
  if (log::TraceEnabled()) {
    log::Info(
        "Cradlekeep shoulder detach observed: {} transferring={} uploadTerminal={} secondary={} companions={} "
        "previous={}",
        label, transferring, upload_terminal, secondary, list.size(), capture::DescribeActor(previous));
  }
  if (!transferring && !upload_terminal) return;
  log::Trace("Cradlekeep transfer trigger fired: {}", label);
  if (!list.empty() && PassesCaptureCooldown(pawn)) {
    capture::CaptureAttachedCompanions(shooter, reinterpret_cast<AShooterPlayerController*>(controller), list, trigger);
  }
}

bool CaptureForUploadCommand(AShooterPlayerController* controller) {
  const config::PluginConfig& settings = config::Current();
  if (!settings.Enabled || !settings.CaptureOnTransferButton || controller == nullptr) return true;
  AShooterCharacter* pawn = host::PlayerCharacterOf(controller);
  if (pawn == nullptr) return false;
  const capture::CompanionList list = CollectAttachedCompanions(pawn);
  if (list.empty()) return true;
  if (!PassesCaptureCooldown(pawn)) return CollectAttachedCompanions(pawn).empty();
  log::Info("Cradlekeep transfer trigger fired: external /upload command");
  return capture::CaptureAttachedCompanions(pawn, controller, list, "externalCapture");
}

}  // namespace ck::transfer
