// Utilities of the framework: the current world and game mode, per-plugin
// messaging, and spatial queries.
#pragma once

#include <memory>

#include "asa/engine_types.h"

namespace AsaApi {

// Sends text to players on behalf of one plugin.
class MessagingManager {
 public:
  virtual ~MessagingManager() = default;
  virtual void SendServerMessage(AShooterPlayerController* player, const FString& sender,
                                 const FString& text) = 0;
};

class IApiUtils {
 public:
  virtual ~IApiUtils() = default;
  // Null while no world exists.
  virtual UWorld* GetWorld() const = 0;
  // Null while no game mode exists.
  virtual AShooterGameMode* GetShooterGameMode() const = 0;
  // The messaging object of the plugin whose module file is `modulePath`.
  virtual std::shared_ptr<MessagingManager> GetMessagingManager(const FString& modulePath) const = 0;
  // Actors of `group` within `radius` of `location`. The caller frees the
  // array's storage with FMemory::Free.
  virtual TArray<AActor*> GetAllActorsInRange(FVector location, float radius,
                                              EServerOctreeGroup group) const = 0;
};

ASAAPI_API IApiUtils& GetApiUtils();

}  // namespace AsaApi
