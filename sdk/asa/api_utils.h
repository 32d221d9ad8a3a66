// The framework's utilities (IApiUtils) and the per-plugin messaging object.
//
// IApiUtils virtual slots: 0 destructor, 1 GetWorld, 2 GetShooterGameMode,
// 3 GetStatus, 4 GetCheatManager, 5 FindPlayerFromEOSID_Internal,
// 6 GetMessagingManagerInternal, 7 SetMessagingManagerInternal.
// MessagingManager has no virtual destructor (API 2.01 to 2.03); its virtual
// slots: 0 MeetsRequirementsToWork, 1 SendServerMessage_Impl,
// 2 SendChatMessage_Impl, 3 SendNotification_Impl.
//
// What the framework's headers do inline on top of these (finding the
// messaging object by the calling plugin's own module path, finding actors
// in range through the game's octree query), the plugin does itself.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "asa/engine_types.h"

class UTexture2D;

struct FLinearColor {
  float R;
  float G;
  float B;
  float A;
};

// Sends text to players on behalf of one plugin. The framework hands it out
// through std::shared_ptr, whose control block destroys the object it made:
// nobody deletes it through this class, which has no virtual destructor.
class ARK_API MessagingManager {
 public:
  // Empty when this messaging object can work in the current session.
  virtual std::optional<std::string> MeetsRequirementsToWork() { return {}; }

  // A chat line to one player from `sender_name`.
  void SendChatMessage(AShooterPlayerController* player_controller, const FString& sender_name, const FString& msg) {
    SendChatMessage_Impl(player_controller, sender_name, msg);
  }

  // A server message to one player, in `color`.
  void SendServerMessage(AShooterPlayerController* player_controller, FLinearColor color, const FString& msg) {
    SendServerMessage_Impl(player_controller, color, msg);
  }

 protected:
  virtual void SendServerMessage_Impl(AShooterPlayerController* player_controller, FLinearColor color,
                                      const FString& message) = 0;
  virtual void SendChatMessage_Impl(AShooterPlayerController* player_controller, const FString& sender_name,
                                    const FString& msg) = 0;
  virtual void SendNotification_Impl(AShooterPlayerController* player_controller, FLinearColor color,
                                     float display_scale, float display_time, UTexture2D* icon,
                                     const FString& message) = 0;

  UWorld* WorldContext = nullptr;
};

namespace AsaApi {

enum class ServerStatus { Loading = 0, Ready = 1 };

class ARK_API IApiUtils {
 public:
  virtual ~IApiUtils() = default;
  // Null while no world exists.
  virtual UWorld* GetWorld() const = 0;
  // Null while no game mode exists.
  virtual AShooterGameMode* GetShooterGameMode() const = 0;
  virtual ServerStatus GetStatus() const = 0;
  virtual UShooterCheatManager* GetCheatManager() const = 0;

  // The messaging object of the plugin whose module file is `dll_path`.
  std::shared_ptr<MessagingManager> GetMessagingManager(const FString& dll_path) const {
    return GetMessagingManagerInternal(dll_path);
  }

 private:
  virtual AShooterPlayerController* FindPlayerFromEOSID_Internal(const FString& eos_id) const = 0;
  virtual std::shared_ptr<MessagingManager> GetMessagingManagerInternal(const FString& forPlugin) const = 0;
  virtual void SetMessagingManagerInternal(const FString& forPlugin, std::shared_ptr<MessagingManager> manager) = 0;
};

ARK_API IApiUtils& GetApiUtils();

}  // namespace AsaApi
