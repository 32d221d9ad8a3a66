#include "plugin/capture_for_transfer.h"

#include <exception>

#include "capture/capture_orchestration.h"
#include "config/plugin_config.h"
#include "host/game.h"
#include "plugin/log.h"
#include "transfer/capture_cooldown.h"
#include "transfer/companion_discovery.h"

namespace ck::plugin {

bool CaptureForTransfer(AShooterPlayerController* controller) {
  const config::PluginConfig& settings = config::Current();
  if (!settings.Enabled || !settings.CaptureOnTransferButton || controller == nullptr) return true;
  try {
    auto* pawn = game::kControllerPawn.Read(controller);
    if (pawn == nullptr) return false;
    const transfer::CompanionList list = transfer::CollectAttachedCompanions(pawn);
    if (list.empty()) return true;
    if (!transfer::PassesCaptureCooldown(pawn)) return transfer::CollectAttachedCompanions(pawn).empty();
    log::Info("Cradlekeep transfer trigger fired: external /upload command");
    return capture::CaptureAttachedCompanions(pawn, controller, list);
  } catch (const std::exception& e) {
    log::Error("Cradlekeep external /upload capture failed: {}", e.what());
  } catch (...) {
    log::Error("Cradlekeep external /upload capture failed: unknown exception");
  }
  return false;
}

}  // namespace ck::plugin
