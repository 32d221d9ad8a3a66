// The SCS path: the cryopod mod's capture actor captures the creature into
// a new SCS cryopod, which is then placed in the player's inventory.
#pragma once

#include <cstddef>

#include "asa/engine_types.h"
#include "transfer/attached_companion.h"

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

// True when CaptureDino was invoked and the pod is in the player's
// inventory. Every failure sends the player CaptureFailed. Exceptions of the
// game pass through.
bool CaptureWithScsCryopod(AShooterCharacter* pawn, AShooterPlayerController* controller,
                           const transfer::AttachedCompanion& companion);

// The first actor of the capture actor class in the world, or null (no
// world, no class, or no actor). Looked up anew at every call.
AActor* FindScsCaptureActor();

// True when the capture actor's class declares CaptureDino and it was called
// with the creature and the pod.
bool InvokeCaptureDino(AActor* capture_actor, APrimalDinoCharacter* creature, UPrimalItem* pod);

}  // namespace ck::capture
