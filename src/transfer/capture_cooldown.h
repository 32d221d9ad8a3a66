// The per-pawn capture cooldown: one transfer fires several triggers in a
// row; only the first within CaptureCooldownSeconds starts a capture. The
// table is part of the plugin's state. Game thread only.
#pragma once

#include <cstddef>

namespace ck::transfer {

// Past this many pawns the table forgets the ones whose cooldown is over: an
// entry at least CaptureCooldownSeconds old lets its pawn through exactly as
// a missing entry does, so forgetting it changes no answer. Without this the
// table would hold every pawn let through since start-up.
inline constexpr std::size_t kCooldownPruneAbove = 256;

// True when a capture may start for the pawn now; the pawn is then stamped
// with the current time. False while the pawn cools down (not stamped). The
// pawn is a key only: it is never dereferenced.
[[nodiscard]] bool PassesCaptureCooldown(const void* pawn);

// Pawns whose stamp the table holds: those let through since start-up, less
// those it forgot once their cooldown was over.
std::size_t CaptureCooldownTableSize();

}  // namespace ck::transfer
