#include "plugin/capture_for_transfer.h"

#include "capture/capture_orchestration.h"
#include "config/plugin_config.h"
#include "core/boundary.h"
#include "host/game.h"
#include "core/log.h"
#include "transfer/capture_cooldown.h"
#include "transfer/companion_discovery.h"

namespace ck::plugin {

bool CaptureForTransfer(AShooterPlayerController* controller) {
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
