// The SCS path: the cryopod mod's capture actor captures the creature into
// a new SCS cryopod that is already in the player's inventory.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <cstddef>

#include "asa/engine_types.h"
#include "capture/attached_companion.h"
#include "capture/capture_outcome.h"

namespace ck::capture {

// The parameter block of the mod's CaptureDino function.
struct CaptureDinoParams {
  APrimalDinoCharacter* creature;
  UPrimalItem* pod;
  uint8 flag_a;  // passed as false
  uint8 flag_b;  // passed as true
  uint8 zero[6];
};
static_assert(sizeof(CaptureDinoParams) == 24);
static_assert(offsetof(CaptureDinoParams, pod) == 8);
static_assert(offsetof(CaptureDinoParams, flag_a) == 16);

// True when the function takes the parameter block CaptureDinoParams lays
// out (the engine's own record of its size). Otherwise one error line names
// both sizes and SCS capture is off until the plugin is loaded again: a call
// with another block would hand the mod wrong values.
[[nodiscard]] bool CaptureDinoTakesKnownBlock(UFunction* capture_dino);

// Podded (with the pod's id) when the pod is in the player's inventory and
// CaptureDino was invoked on it; otherwise left, with why. The empty pod is
// placed before the creature is captured into it, so that a pod which cannot
// be placed never holds a creature. Every failure leaves the companion where
// it was. Exceptions of the game pass through; one raised after the capture
// leaves the filled pod in the inventory, one raised before it at most an
// empty pod.
[[nodiscard]] CaptureOutcome CaptureWithScsCryopod(AShooterCharacter* pawn, AShooterPlayerController* controller,
                                                   const AttachedCompanion& companion);

// The first actor of the capture actor class in the world, or null (no
// world, no class, or no actor). Looked up anew at every call.
[[nodiscard]] AActor* FindScsCaptureActor();

// The CaptureDino function declared by the capture actor's own class, or
// null: silently without an actor or its class, with a warn line when the
// class has no such function.
UFunction* FindCaptureDino(AActor* capture_actor);

// Calls CaptureDino on the capture actor with the creature and the pod.
void InvokeCaptureDino(AActor* capture_actor, UFunction* capture_dino, APrimalDinoCharacter* creature,
                       UPrimalItem* pod);

}  // namespace ck::capture
