// Clearing a captured companion's slot on the pawn with the game's own
// slot-clearing functions, without the plugin observing its own clearing.
#pragma once

#include "asa/engine_types.h"
#include "capture/attached_companion.h"

namespace ck::capture {

// True while the plugin captures companions or clears a slot itself. The
// game empties a creature's slot when the plugin destroys it (vanilla
// capture) or the cryopod mod takes it (SCS capture), through the same
// slot-clearing functions the plugin watches: what the plugin's own work
// makes the game do must never start another capture.
bool CaptureInProgress();

// Marks a capture in progress for its lifetime; nests, and restores the
// previous mark on every way out.
class CaptureScope {
 public:
  CaptureScope();
  ~CaptureScope();
  CaptureScope(const CaptureScope&) = delete;
  CaptureScope& operator=(const CaptureScope&) = delete;

 private:
  bool previous_;
};

// For a mounted companion: APrimalCharacter.ClearMountedDino(secondary,
// false); for a carried one: APrimalCharacter.ClearCarryingDino(false, false);
// both, mounted first, when both flags are set; nothing for a null pawn.
// Each in the form the running build has it (a build with only the one-flag
// ClearMountedDino gets (false) for the primary slot). A slot whose clearing
// the build lacks (no form of the function, or a secondary slot and only
// the one-flag form) is left as it is, with one warn line.
// CaptureInProgress is set meanwhile and restored to its previous value on
// every way out; exceptions of the game pass through.
void ClearShoulderSlot(APrimalCharacter* pawn, const AttachedCompanion& companion);

}  // namespace ck::capture
