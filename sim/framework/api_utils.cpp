#include "sim/framework/api_utils.h"

#include "sim/framework/engine_text.h"
#include "sim/framework/log_sinks.h"

namespace simfw {

class SimMessagingManager final : public MessagingManager {
 public:
  SimMessagingManager(const SimApiUtils& owner, std::string module_path)
      : owner_(owner), module_path_(std::move(module_path)) {}

 protected:
  // Chat lines are what a plugin sends; the other two kinds are recorded the
  // same way, with the sender the framework would show.
  void SendChatMessage_Impl(AShooterPlayerController* player, const FString& sender, const FString& text) override {
    Record(player, "SendChatMessage_Impl", ToUtf8(sender), ToUtf8(text));
  }
  void SendServerMessage_Impl(AShooterPlayerController* player, FLinearColor /*color*/,
                              const FString& text) override {
    Record(player, "SendServerMessage_Impl", "Server", ToUtf8(text));
  }
  void SendNotification_Impl(AShooterPlayerController* player, FLinearColor /*color*/, float /*scale*/,
                             float /*time*/, UTexture2D* /*icon*/, const FString& text) override {
    Record(player, "SendNotification_Impl", "Server", ToUtf8(text));
  }

 private:
  void Record(AShooterPlayerController* player, std::string member, std::string sender, std::string text) {
    owner_.RecordMessage(player, std::move(member), std::move(sender), std::move(text), module_path_);
  }

  const SimApiUtils& owner_;
  std::string module_path_;
};

void SimApiUtils::RecordMessage(AShooterPlayerController* player, std::string member, std::string sender,
                                std::string text, std::string module_path) const {
  std::string name = player_name_ ? player_name_(player) : std::string();
  messages_.push_back(SentMessage{std::move(name), std::move(member), std::move(sender), std::move(text),
                                  std::move(module_path), NextSequence()});
  if (on_message_) on_message_(messages_.back());
}

AShooterPlayerController* SimApiUtils::FindPlayerFromEOSID_Internal(const FString& /*eos_id*/) const {
  return nullptr;
}

std::shared_ptr<MessagingManager> SimApiUtils::GetMessagingManagerInternal(const FString& forPlugin) const {
  ++messaging_requests_;
  return std::make_shared<SimMessagingManager>(*this, ToUtf8(forPlugin));
}

void SimApiUtils::SetMessagingManagerInternal(const FString& /*forPlugin*/,
                                              std::shared_ptr<MessagingManager> /*manager*/) {}

void SimApiUtils::Clear() {
  world_ = nullptr;
  game_mode_ = nullptr;
  player_name_ = nullptr;
  on_message_ = nullptr;
  messages_.clear();
  messaging_requests_ = 0;
}

}  // namespace simfw
