#include "plugin/capture_for_transfer.h"

#include "capture/capture_orchestration.h"
#include "config/plugin_config.h"
#include "core/boundary.h"
#include "state/plugin_state.h"
#include "host/game.h"
#include "core/log.h"
#include "transfer/capture_cooldown.h"
#include "transfer/companion_discovery.h"

namespace ck::plugin {

bool CaptureForTransfer(AShooterPlayerController* controller) {
  // Called by another plugin: the plugin may not be running (its start-up
  // failed before its state was made); then nothing can be captured.
  if (!state::Running()) return false;
  const config::PluginConfig& settings = config::Current();
  if (!settings.Enabled || !settings.CaptureOnTransferButton || controller == nullptr) return true;
  bool result = false;
  core::Contain(
      [&] {
        auto* pawn = game::kControllerPawn.Read(controller);
        if (pawn == nullptr) return;
        const capture::CompanionList list = transfer::CollectAttachedCompanions(pawn);
        if (list.empty()) {
          result = true;
          return;
        }
        if (!transfer::PassesCaptureCooldown(pawn)) {
          result = transfer::CollectAttachedCompanions(pawn).empty();
          return;
        }
        log::Info("Cradlekeep transfer trigger fired: external /upload command");
        result = capture::CaptureAttachedCompanions(pawn, controller, list);
      },
      [](const char* what) { log::Error("Cradlekeep external /upload capture failed: {}", what); });
  return result;
}

}  // namespace ck::plugin
