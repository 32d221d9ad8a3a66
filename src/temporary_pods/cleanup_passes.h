// Delayed clean-up passes: after a player uses a temporary pod that still
// holds a creature, fourteen passes over the next 30 seconds remove the pod
// once it is empty, sweep the player's inventory, and clear cooldown and
// sickness. A pass that removes the pod cancels the rest for that player
// and pod, and so does a pass that finds the pod gone from the player's
// inventory it was used from (another pass, the recurring scan or the
// release removed it). The tick callback "Cradlekeep.TemporaryCryopodCleanup" is
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
// unrun. Notes whether the pod is in the inventory of the player's character
// now, where the passes look for it: only then does a pass that no longer
// finds it there end the series.
void ScheduleCleanupPasses(AShooterPlayerController* controller, FItemNetID item_id);

// The tick callback: runs every pass that is due, in queue order.
void RunDueCleanupPasses();

// Where one pass left the pod: removed by it; absent from the inventory of
// the player's character; or still there, or not looked for (the player
// possesses no character).
enum class PodAfterPass { kRemoved, kAbsent, kThere };

// One pass: clears the cooldown, removes the pod once it is empty, sweeps the
// player's inventory and clears nearby sickness.
PodAfterPass RunCleanupPass(AShooterPlayerController* controller, int32 pass_number, FItemNetID item_id);

// After the settings changed (a reload): when they no longer remove
// temporary pods (Enabled, TemporaryVanillaCryopods or
// AutoRemoveTemporaryVanillaCryopods off), drops every queued pass, as an
// unload would; the tick removes itself on its next run. Returns how many
// were dropped (0 while the removal stays on: the passes are kept).
std::size_t FollowCleanupSettings();

// Removes the tick callback when registered; a failure is a warn line.
void UnregisterCleanupTick();

std::size_t PendingCleanupPassCount();
bool CleanupTickRegistered();

}  // namespace ck::temporary_pods
