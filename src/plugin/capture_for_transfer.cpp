#include "plugin/capture_for_transfer.h"

#include <exception>

#include "config/plugin_config.h"
#include "host/game_access.h"
#include "plugin/log.h"

namespace ck::plugin {

bool CaptureForTransfer(AShooterPlayerController* controller) {
  const config::PluginConfig& settings = config::Current();
  if (!settings.Enabled || !settings.CaptureOnTransferButton || controller == nullptr) return true;
  try {
    auto* pawn = host::ReadField<AShooterCharacter*>(controller, "AController.Pawn");
    if (pawn == nullptr) return false;
    // Companion discovery and capture are not part of the plugin yet: a pawn
    // is reported as possibly still carrying companions.
    return false;
  } catch (const std::exception& e) {
    log::Error("Cradlekeep external /upload capture failed: {}", e.what());
    return false;
  } catch (...) {
    log::Error("Cradlekeep external /upload capture failed: unknown exception");
    return false;
  }
}

}  // namespace ck::plugin
