// One companion found on a player's pawn, and the ordered list of them that
// travels through one capture.
#pragma once

#include <vector>

#include "asa/engine_types.h"

namespace ck::capture {

struct AttachedCompanion {
  APrimalDinoCharacter* creature;  // borrowed, never null in a list
  bool mounted;    // ridden, mounted, or the secondary mounted actor
  bool carried;    // in the carried slot
  bool secondary;  // the secondary mounted actor, or taken from the previous-secondary slot
  bool ridden = false;  // the creature the player rides
};

// The slot the journal names for the companion: "ridden", "secondary",
// "shoulder" or "carried".
inline const char* SlotWord(const AttachedCompanion& companion) {
  if (companion.ridden) return "ridden";
  if (companion.secondary) return "secondary";
  if (companion.mounted) return "shoulder";
  return "carried";
}

// At most one record per creature, in the order creatures were first found.
using CompanionList = std::vector<AttachedCompanion>;

}  // namespace ck::capture
