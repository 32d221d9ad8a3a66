// The framework's utilities, fed by the simulated game.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "asa/api_utils.h"

namespace simfw {

// One message a plugin sent to a player.
struct SentMessage {
  std::string player;  // the game's id of the player, as the game names it
  // The messaging object's member the plugin's call reached:
  // "SendChatMessage_Impl", "SendServerMessage_Impl" or "SendNotification_Impl".
  std::string member;
  std::string sender;
  std::string text;
  std::string module_path;  // the plugin module the messaging object belongs to
  uint64_t sequence = 0;    // place among everything the framework recorded
};

class ASAAPI_API SimApiUtils final : public AsaApi::IApiUtils {
 public:
  using PlayerName = std::function<std::string(AShooterPlayerController*)>;

  UWorld* GetWorld() const override { return world_; }
  AShooterGameMode* GetShooterGameMode() const override { return game_mode_; }
  AsaApi::ServerStatus GetStatus() const override { return AsaApi::ServerStatus::Ready; }
  UShooterCheatManager* GetCheatManager() const override { return nullptr; }

  void SetWorld(UWorld* world) { world_ = world; }
  void SetGameMode(AShooterGameMode* game_mode) { game_mode_ = game_mode; }
  void SetPlayerName(PlayerName name) { player_name_ = std::move(name); }
  // Called with every message as it is sent (the simulator's transcript).
  void SetOnMessage(std::function<void(const SentMessage&)> on_message) { on_message_ = std::move(on_message); }

  // Records a message sent to `player` through `member` of the messaging
  // object of the plugin module `module_path`.
  void RecordMessage(AShooterPlayerController* player, std::string member, std::string sender, std::string text,
                     std::string module_path) const;

  const std::vector<SentMessage>& Messages() const { return messages_; }
  int MessagingRequests() const { return messaging_requests_; }
  void Clear();

 private:
  friend class SimMessagingManager;
  AShooterPlayerController* FindPlayerFromEOSID_Internal(const FString& eos_id) const override;
  // A fresh messaging object that records what it sends under `forPlugin`.
  std::shared_ptr<MessagingManager> GetMessagingManagerInternal(const FString& forPlugin) const override;
  void SetMessagingManagerInternal(const FString& forPlugin, std::shared_ptr<MessagingManager> manager) override;

  UWorld* world_ = nullptr;
  AShooterGameMode* game_mode_ = nullptr;
  PlayerName player_name_;
  std::function<void(const SentMessage&)> on_message_;
  mutable std::vector<SentMessage> messages_;
  mutable int messaging_requests_ = 0;
};

}  // namespace simfw
