#include "sim/framework/api_utils.h"

#include "sim/framework/engine_text.h"
#include "sim/framework/log_sinks.h"

namespace simfw {

class SimMessagingManager final : public AsaApi::MessagingManager {
 public:
  SimMessagingManager(const SimApiUtils& owner, std::string module_path)
      : owner_(owner), module_path_(std::move(module_path)) {}

  void SendServerMessage(AShooterPlayerController* player, const FString& sender,
                         const FString& text) override {
    std::string name = owner_.player_name_ ? owner_.player_name_(player) : std::string();
    owner_.messages_.push_back(SentMessage{std::move(name), ToUtf8(sender), ToUtf8(text), module_path_,
                                          NextSequence()});
    if (owner_.on_message_) owner_.on_message_(owner_.messages_.back());
  }

 private:
  const SimApiUtils& owner_;
  std::string module_path_;
};

std::shared_ptr<AsaApi::MessagingManager> SimApiUtils::GetMessagingManager(
    const FString& modulePath) const {
  ++messaging_requests_;
  return std::make_shared<SimMessagingManager>(*this, ToUtf8(modulePath));
}

TArray<AActor*> SimApiUtils::GetAllActorsInRange(FVector location, float radius,
                                                 EServerOctreeGroup group) const {
  if (!actors_in_range_) return TArray<AActor*>{nullptr, 0, 0};
  return actors_in_range_(location, radius, group);
}

void SimApiUtils::Clear() {
  world_ = nullptr;
  game_mode_ = nullptr;
  actors_in_range_ = nullptr;
  player_name_ = nullptr;
  on_message_ = nullptr;
  messages_.clear();
  messaging_requests_ = 0;
}

}  // namespace simfw
