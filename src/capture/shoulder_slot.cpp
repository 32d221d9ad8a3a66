#include "capture/shoulder_slot.h"

#include "host/game/catalogue.h"

namespace ck::capture {

namespace {

// Game thread only, like every capture.
bool g_capture_in_progress = false;

}  // namespace

bool CaptureInProgress() { return g_capture_in_progress; }

CaptureScope::CaptureScope() : previous_(g_capture_in_progress) { g_capture_in_progress = true; }

CaptureScope::~CaptureScope() { g_capture_in_progress = previous_; }

void ClearShoulderSlot(APrimalCharacter* pawn, const AttachedCompanion& companion) {
  if (pawn == nullptr) return;
  CaptureScope scope;
  if (companion.mounted) {
    game::kCharacterClearMountedDino(pawn, companion.secondary, false);
  }
  if (companion.carried) {
    game::kCharacterClearCarryingDino(pawn, false, false);
  }
}

}  // namespace ck::capture
