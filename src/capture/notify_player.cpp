#include "capture/notify_player.h"

#include "asa/api_utils.h"
#include "host/engine_text.h"
#include "host/module_path.h"

namespace ck::capture {

void NotifyPlayer(AShooterPlayerController* controller, const std::string& message) {
  if (controller == nullptr || message.empty()) return;
  const std::u16string wide = host::Utf8ToUtf16(message);
  const FString module_path = host::MakeFString(host::OwnModulePath());
  const std::shared_ptr<AsaApi::MessagingManager> messaging = AsaApi::GetApiUtils().GetMessagingManager(module_path);
  if (!messaging) return;
  const FString sender(kSenderName);
  const FString text = host::MakeFString(wide);
  messaging->SendServerMessage(controller, sender, text);
}

}  // namespace ck::capture
