#include "plugin/capture_for_transfer.h"

#include "core/boundary.h"
#include "core/log.h"
#include "state/plugin_state.h"
#include "transfer/trigger.h"

namespace ck::plugin {

bool CaptureForTransfer(AShooterPlayerController* controller) {
  // Called by another plugin: the plugin may not be running, or its
  // start-up may have failed (a bad config file: the settings are not the
  // admin's, and the game build was never checked) or found a game build
  // that leaves it nothing to work with. Then nothing is touched.
  if (!state::Running() || !state::Current().started) return false;
  bool result = false;
  core::Contain([&] { result = transfer::CaptureForUploadCommand(controller); },
                [](const char* what) { log::Error("Cradlekeep external /upload capture failed: {}", what); });
  return result;
}

}  // namespace ck::plugin
