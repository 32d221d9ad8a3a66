#include "plugin/capture_for_transfer.h"

#include "core/boundary.h"
#include "core/log.h"
#include "state/plugin_state.h"
#include "transfer/trigger.h"

namespace ck::plugin {

bool CaptureForTransfer(AShooterPlayerController* controller) {
  // Called by another plugin: the plugin may not be running (its start-up
  // failed before its state was made), or the game build may leave it
  // nothing to work with; then nothing can be captured.
  if (!state::Running() || !state::Current().usable_build) return false;
  bool result = false;
  core::Contain([&] { result = transfer::CaptureForUploadCommand(controller); },
                [](const char* what) { log::Error("Cradlekeep external /upload capture failed: {}", what); });
  return result;
}

}  // namespace ck::plugin
