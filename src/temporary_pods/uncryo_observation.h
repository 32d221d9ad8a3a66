// Watching a player release a creature from one of the plugin's temporary
// pods, and starting the clean-up around it.
#pragma once

#include <cstddef>
#include <string>

#include "asa/engine_types.h"

namespace ck::temporary_pods {

// What a use-item request targeted, for one hooked call.
struct PodUseObservation {
  bool used;
  FItemNetID item_id;
  bool has_id;
};

// For a use of a temporary pod: fills the observation; when the pod still
// holds a creature, clears the player's cooldown and queues the delayed
// passes. Game thread only.
void ObserveTemporaryPodUse(AShooterPlayerController* controller, UPrimalInventoryComponent* inventory, FItemNetID id,
                            const std::string& label, PodUseObservation& observation);

// Drops try records older than 10 seconds.
void PruneRecentUnCryoTries();

// The try broadcast: remembers a filled temporary pod's id for the player
// and clears the cooldown.
void HandleTryUnCryo(const void* params);

// The post broadcast: clears cooldown and sickness, removes the emptied pod
// by its remembered and its current identity (never a pod that still holds
// creature data), and sweeps the player's inventory.
void HandlePostUnCryo(const void* params);

std::size_t RecentUnCryoTryCount();

}  // namespace ck::temporary_pods
