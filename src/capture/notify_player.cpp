#include "capture/notify_player.h"

#include "host/framework/engine_text.h"
#include "host/framework/framework.h"
#include "host/framework/module_path.h"

namespace ck::capture {

void NotifyPlayer(AShooterPlayerController* controller, const std::string& message) {
  if (controller == nullptr || message.empty()) return;
  const std::u16string text = host::Utf8ToUtf16(message);
  host::SendChatMessage(controller, host::OwnModulePath(), kSenderName, text);
}

}  // namespace ck::capture
