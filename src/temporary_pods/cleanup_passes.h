// Delayed clean-up passes: after a player uses a temporary pod that still
// holds a creature, fourteen passes over the next 30 seconds remove the pod
// once it is empty, sweep the player's inventory, and clear cooldown and
// sickness. A pass that removes the pod cancels the rest for that player
// and pod. The tick callback "Cradlekeep.TemporaryCryopodCleanup" is
// registered when passes are queued and removes itself when none are left.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <cstddef>

#include "asa/engine_types.h"

namespace ck::temporary_pods {

inline constexpr const char16_t* kCleanupTickId = u"Cradlekeep.TemporaryCryopodCleanup";

// When each pass runs, in milliseconds after the pod was used.
inline constexpr int64 kCleanupPassDelaysMs[] = {500,  1000,  1500,  2000,  3000,  4500,  6000,
                                                 8000, 10000, 12500, 15000, 20000, 25000, 30000};

// Queues the fourteen passes (nothing with AutoRemoveTemporaryVanillaCryopods
// off or a null controller), in place of any still waiting for the same
// player and pod: at most fourteen are ever pending per player and pod. The
// passes hold the controller weakly: a pass whose player has left is dropped
// unrun.
void ScheduleCleanupPasses(AShooterPlayerController* controller, FItemNetID item_id);

// The tick callback: runs every pass that is due, in queue order.
void RunDueCleanupPasses();

// One pass; true when it removed the pod.
bool RunCleanupPass(AShooterPlayerController* controller, int32 pass_number, FItemNetID item_id);

// Removes the tick callback when registered; a failure is a warn line.
void UnregisterCleanupTick();

std::size_t PendingCleanupPassCount();
bool CleanupTickRegistered();

}  // namespace ck::temporary_pods
